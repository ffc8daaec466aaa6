#pragma once
// A grid of cell texts addressed as (column, row), row 0 being the title row.
// The PLU and department tables keep their data only here: the grids show these
// texts, the item files store them, and the transfers read and write them.
// Texts are single-byte strings in the configured code page.
#include <cassert>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plu {

class CellTable {
public:
    CellTable(int colCount, int rowCount)
        : m_colCount(colCount), m_rowCount(rowCount),
          m_cells(static_cast<std::size_t>(colCount) * static_cast<std::size_t>(rowCount))
    {
    }

    int ColCount() const { return m_colCount; }
    int RowCount() const { return m_rowCount; }

    const std::string& Cell(int col, int row) const { return m_cells[Index(col, row)]; }
    void SetCell(int col, int row, std::string text)
    {
        auto& cell = m_cells[Index(col, row)];
        if (cell == text)
            return;
        cell = std::move(text);
        if (OnCellChanged)
            OnCellChanged(col, row);
    }

    // Told about every change, so a view can repaint the cell.
    std::function<void(int col, int row)> OnCellChanged;

private:
    std::size_t Index(int col, int row) const
    {
        assert(col >= 0 && col < m_colCount && row >= 0 && row < m_rowCount);
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_colCount) + static_cast<std::size_t>(col);
    }

    int m_colCount;
    int m_rowCount;
    std::vector<std::string> m_cells;
};

inline constexpr int kPluRows = 3000;
inline constexpr int kDeptRows = 8;
inline constexpr int kRecyEntries = 50;
inline constexpr int kPluCols = 9;
inline constexpr int kDeptCols = 8;

// One recycling entry: the three texts as the user typed them, the counts as numbers.
struct TRecy {
    std::string PluNumber;          // "PLU #", 1..50, empty when unused
    std::string PackagePrice = "0.00";
    std::string Barcode = "0";
    std::int32_t SoldQuantity = 0;
    double SoldTotal = 0.0;
    std::int32_t ReturnedQuantity = 0;
    double ReturnedTotal = 0.0;

    bool operator==(const TRecy&) const = default;
};

// The three item tables the user edits, with the file state around them.
struct ItemTables {
    CellTable Plu{kPluCols, kPluRows + 1};
    CellTable Dept{kDeptCols, kDeptRows + 1};
    std::vector<TRecy> RecyTable = std::vector<TRecy>(kRecyEntries);
    bool Modified = false;
    std::string CurrentFileName;
};

} // namespace plu
