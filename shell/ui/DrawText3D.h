#pragma once
// Raised text: the text in a highlight colour moved up and left, in a shadow
// colour moved down and right, then in the painter's pen colour on top. The
// background shows through. With zero offsets only the last step draws.
#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace plu {

void DrawText3D(QPainter& painter, const QString& text, const QRect& rect, int flags, const QColor& highlight,
                int highlightX, int highlightY, const QColor& shadow, int shadowX, int shadowY);

} // namespace plu
