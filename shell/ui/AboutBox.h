#pragma once
// TAboutBox: the product's name, version and build, and the company name from SYSTEM.CFG.
#include <QDialog>

namespace plu {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const QString& companyNameText, QWidget* parent = nullptr);
};

// The program's picture, drawn so it needs no image file.
QPixmap ProgramLogo(int size);

} // namespace plu
