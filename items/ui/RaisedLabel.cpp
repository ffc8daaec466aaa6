#include "items/ui/RaisedLabel.h"

#include "shell/ui/DrawText3D.h"

#include <QPainter>

namespace plu {

RaisedLabel::RaisedLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    QFont serif(QStringLiteral("Times New Roman"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(16);
    setFont(serif);
    setAlignment(Qt::AlignCenter);
}

QSize RaisedLabel::sizeHint() const
{
    const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
    return {text.width() + 8, text.height() + 6};
}

void RaisedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(QColor(0, 128, 128));
    DrawText3D(painter, text(), contentsRect(), Qt::AlignCenter | Qt::TextSingleLine, QColor(0, 255, 255), 1, 1,
               QColor(0, 0, 128), 1, 1);
}

} // namespace plu
