#pragma once
// Operations on whole item tables: resetting a block or a table to the column
// defaults, moving a row, the recycling dialog's grid, and the sample fill.
#include "items/CellTable.h"
#include "items/ItemColumns.h"

#include <vector>

namespace plu {

// A block of cells in table coordinates, corners included.
struct CellRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Every cell of the block takes the default of its column.
void ResetSelection(GridKind kind, CellTable& table, const CellRect& block);
// Every data row of a PLU or department table takes the column defaults;
// column 0 is emptied (the row number is drawn, not stored).
void ClearGrid(GridKind kind, CellTable& table);

// A recycling record as it is before anything was filled in.
TRecy DefaultRecy();
void ResetRecyTable(std::vector<TRecy>& recyTable);

// Moves the texts of data row from to row to, shifting the rows between: item
// numbers are positions, so the moved row takes the number of its new place.
void MoveRow(CellTable& table, int from, int to);

// The recycling dialog's grid: 7 columns, the title row and one row per record.
CellTable MakeRecyGrid();
// Shows the records in the grid: the texts as stored, quantities as plain
// integers, totals with two decimals.
void FillRecyGrid(const std::vector<TRecy>& recyTable, CellTable& grid);
// Stores every grid row back into its record: texts as they stand, quantities
// and totals parsed, 0 for a text that does not parse.
void StoreRecyGrid(const CellTable& grid, std::vector<TRecy>& recyTable);

// The hidden sample fill: names, departments, prices and barcodes of every PLU,
// department and recycling entry; nothing is committed and Modified is untouched.
void FillSampleData(ItemTables& tables);

} // namespace plu
