#include "items/ui/GridLook.h"

#include "shell/ui/DrawText3D.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPalette>
#include <QTableView>

namespace plu {

void PLUGridDrawCell(QPainter& painter, const QRect& rect, const QString& text, const QPalette& palette)
{
    const int width = painter.fontMetrics().horizontalAdvance(text);
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | (width > rect.width() ? Qt::AlignLeft : Qt::AlignHCenter);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(kFixedCellTextColor);
    DrawText3D(painter, text, rect, flags, palette.color(QPalette::Light), 0, 0, palette.color(QPalette::Dark), 0, 0);
    painter.restore();
}

int GridColumnWidth(int avgCharWidth, int maxLength, int titleWidth)
{
    const int width = avgCharWidth * maxLength * 3 / 2;
    return width < titleWidth + 4 ? titleWidth + 4 : width;
}

void SizeGridColumns(QTableView& grid, std::span<const int> maxLengths, std::span<const std::string> titles,
                     int firstDataColumn)
{
    const QFontMetrics metrics(grid.font());
    const int rowHeight = metrics.height() + metrics.leading() + 4;
    QHeaderView* rows = grid.verticalHeader();
    QHeaderView* cols = grid.horizontalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(rowHeight);
    cols->setFixedHeight(rowHeight);
    for (std::size_t c = 0; c < maxLengths.size(); ++c) {
        const QString title = c < titles.size() ? QString::fromStdString(titles[c]) : QString();
        const int width = GridColumnWidth(metrics.averageCharWidth(), maxLengths[c], metrics.horizontalAdvance(title));
        const int section = static_cast<int>(c) - firstDataColumn;
        if (section < 0)
            rows->setFixedWidth(width);
        else
            cols->resizeSection(section, width);
    }
}

} // namespace plu
