#include "items/ItemTableOps.h"

#include "shell/Locale.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace plu {
namespace {

std::string WithSerial(const char* prefix, int n)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%3.3d", n);
    return prefix + std::string(digits);
}

std::int32_t ParseInt32Or0(const std::string& text)
{
    auto value = ParseInt64(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(*value);
}

} // namespace

void ResetSelection(GridKind kind, CellTable& table, const CellRect& block)
{
    const int left = std::max(block.Left, 0);
    const int right = std::min(block.Right, table.ColCount() - 1);
    const int top = std::max(block.Top, 1);
    const int bottom = std::min(block.Bottom, table.RowCount() - 1);
    for (int col = left; col <= right; ++col) {
        const std::string text = ColumnDefault(kind, col);
        for (int row = top; row <= bottom; ++row)
            table.SetCell(col, row, text);
    }
}

void ClearGrid(GridKind kind, CellTable& table)
{
    ResetSelection(kind, table, {0, 1, table.ColCount() - 1, table.RowCount() - 1});
}

TRecy DefaultRecy()
{
    TRecy recy;
    recy.PackagePrice = FormatFixed(0.0, 2);
    return recy;
}

void ResetRecyTable(std::vector<TRecy>& recyTable) { recyTable.assign(kRecyEntries, DefaultRecy()); }

void MoveRow(CellTable& table, int from, int to)
{
    if (from == to || from < 1 || to < 1 || from >= table.RowCount() || to >= table.RowCount())
        return;
    std::vector<std::string> moved;
    for (int col = 0; col < table.ColCount(); ++col)
        moved.push_back(table.Cell(col, from));
    const int step = from < to ? 1 : -1;
    for (int row = from; row != to; row += step)
        for (int col = 0; col < table.ColCount(); ++col)
            table.SetCell(col, row, table.Cell(col, row + step));
    for (int col = 0; col < table.ColCount(); ++col)
        table.SetCell(col, to, std::move(moved[static_cast<std::size_t>(col)]));
}

CellTable MakeRecyGrid() { return CellTable(kRecyCols, kRecyEntries + 1); }

void FillRecyGrid(const std::vector<TRecy>& recyTable, CellTable& grid)
{
    const int rows = std::min<int>(static_cast<int>(recyTable.size()), grid.RowCount() - 1);
    for (int i = 0; i < rows; ++i) {
        const TRecy& recy = recyTable[static_cast<std::size_t>(i)];
        const int row = i + 1;
        grid.SetCell(0, row, recy.PluNumber);
        grid.SetCell(1, row, recy.PackagePrice);
        grid.SetCell(2, row, recy.Barcode);
        grid.SetCell(3, row, std::to_string(recy.SoldQuantity));
        grid.SetCell(4, row, FormatFixed(recy.SoldTotal, 2));
        grid.SetCell(5, row, std::to_string(recy.ReturnedQuantity));
        grid.SetCell(6, row, FormatFixed(recy.ReturnedTotal, 2));
    }
}

void StoreRecyGrid(const CellTable& grid, std::vector<TRecy>& recyTable)
{
    const int rows = std::min<int>(static_cast<int>(recyTable.size()), grid.RowCount() - 1);
    for (int i = 0; i < rows; ++i) {
        TRecy& recy = recyTable[static_cast<std::size_t>(i)];
        const int row = i + 1;
        recy.PluNumber = grid.Cell(0, row);
        recy.PackagePrice = grid.Cell(1, row);
        recy.Barcode = grid.Cell(2, row);
        recy.SoldQuantity = ParseInt32Or0(grid.Cell(3, row));
        recy.SoldTotal = ParseReal(grid.Cell(4, row)).value_or(0.0);
        recy.ReturnedQuantity = ParseInt32Or0(grid.Cell(5, row));
        recy.ReturnedTotal = ParseReal(grid.Cell(6, row)).value_or(0.0);
    }
}

void FillSampleData(ItemTables& tables)
{
    for (int i = 1; i < tables.Plu.RowCount(); ++i) {
        tables.Plu.SetCell(1, i, "PLU-" + std::to_string(i));
        tables.Plu.SetCell(2, i, std::to_string(i % 8 + 1));
        tables.Plu.SetCell(3, i, FormatFixed(i * 10.0, 2));
        tables.Plu.SetCell(4, i, WithSerial("1234567890", i));
        tables.Plu.SetCell(5, i, "0");
    }
    for (int i = 1; i < tables.Dept.RowCount(); ++i) {
        tables.Dept.SetCell(1, i, "Deptment-" + std::to_string(i));
        tables.Dept.SetCell(2, i, std::to_string(i % 8));
        tables.Dept.SetCell(3, i, std::to_string(i % 9 + 1));
        tables.Dept.SetCell(4, i, "0");
        tables.Dept.SetCell(5, i, FormatFixed(i * 10.0, 2));
    }
    for (std::size_t e = 0; e < tables.RecyTable.size(); ++e) {
        const int n = static_cast<int>(e) + 1;
        tables.RecyTable[e].PluNumber = std::to_string(n);
        tables.RecyTable[e].PackagePrice = FormatFixed(n * 9.0, 2);
        tables.RecyTable[e].Barcode = WithSerial("1234567890", n);
    }
}

} // namespace plu
