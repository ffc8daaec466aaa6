#pragma once
// A caption drawn as raised text: teal with an aqua highlight and a navy
// shadow, in a large serif font, centred.
#include <QLabel>

namespace plu {

class RaisedLabel : public QLabel {
    Q_OBJECT
public:
    explicit RaisedLabel(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plu
