#pragma once
// How the item grids look: the painting of the fixed cells (titles and row
// numbers) and the sizing of rows and columns after the grid font.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <span>
#include <string>

class QPainter;
class QPalette;
class QTableView;

namespace plu {

inline constexpr QColor kFixedCellTextColor{0, 0, 128}; // navy

// A fixed cell's text: single line, vertically centred, horizontally centred,
// or left-aligned and clipped when wider than the cell; navy, drawn with
// DrawText3D at zero offsets.
void PLUGridDrawCell(QPainter& painter, const QRect& rect, const QString& text, const QPalette& palette);

// (avgCharWidth x maxLength x 3) / 2, or the title width + 4 when that is wider.
int GridColumnWidth(int avgCharWidth, int maxLength, int titleWidth);

// Sets the default row height (character height + external leading + 4) and
// every column width of grid from its font. Column 0 of a grid with a row
// number column (firstDataColumn 1) is the width of its vertical header.
void SizeGridColumns(QTableView& grid, std::span<const int> maxLengths, std::span<const std::string> titles,
                     int firstDataColumn);

} // namespace plu
