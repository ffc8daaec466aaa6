#pragma once
// A Qt table model over a core CellTable: model row r is table row r + 1 (row 0
// holds the titles), model column c is table column c + FirstDataColumn. The
// cell texts stay in the table; the model converts them through the code page.
#include "items/CellTable.h"
#include "items/ItemColumns.h"

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

namespace plu {

class CodePage;

class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ItemTableModel(GridKind kind, CellTable& table, const CodePage& codePage, QObject* parent = nullptr);
    ~ItemTableModel() override;

    GridKind Kind() const { return m_kind; }
    CellTable& Table() { return m_table; }
    const CodePage& Codes() const { return m_codePage; }
    int FirstCol() const { return FirstDataColumn(m_kind); }
    int TableCol(const QModelIndex& index) const { return index.column() + FirstCol(); }
    int TableRow(const QModelIndex& index) const { return index.row() + 1; }

    // Titles of table columns 0..last (UTF-8).
    void SetTitles(std::vector<std::string> titles);
    const std::vector<std::string>& Titles() const { return m_titles; }
    QString Title(int tableCol) const;

    QString CellText(const QModelIndex& index) const;
    // Stores text in the cell; false when the code page cannot hold it.
    bool SetCellText(const QModelIndex& index, const QString& text);
    std::optional<std::string> ToBytes(const QString& text) const;

    // Repaints every cell (after the table was written around the model).
    void RefreshAll();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void CellChanged(int col, int row);
    void Flush();

    GridKind m_kind;
    CellTable& m_table;
    const CodePage& m_codePage;
    std::vector<std::string> m_titles;
    // Changes are gathered and announced once per event-loop turn, so a load of
    // thousands of cells costs one repaint.
    bool m_flushPending = false;
    int m_dirtyTop = 0, m_dirtyBottom = -1, m_dirtyLeft = 0, m_dirtyRight = -1;
};

} // namespace plu
