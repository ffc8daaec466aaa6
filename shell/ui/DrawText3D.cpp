#include "shell/ui/DrawText3D.h"

#include <QPainter>

namespace plu {

void DrawText3D(QPainter& painter, const QString& text, const QRect& rect, int flags, const QColor& highlight,
                int highlightX, int highlightY, const QColor& shadow, int shadowX, int shadowY)
{
    const QPen pen = painter.pen();
    const Qt::BGMode mode = painter.backgroundMode();
    painter.setBackgroundMode(Qt::TransparentMode);
    if (highlightX + highlightY > 0) {
        painter.setPen(highlight);
        painter.drawText(rect.translated(-highlightX, -highlightY), flags, text);
    }
    if (shadowX + shadowY > 0) {
        painter.setPen(shadow);
        painter.drawText(rect.translated(shadowX, shadowY), flags, text);
    }
    painter.setPen(pen);
    painter.drawText(rect, flags, text);
    painter.setBackgroundMode(mode);
}

} // namespace plu
