#include "shell/ui/AboutBox.h"

#include "shell/AppContext.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace plu {

QPixmap ProgramLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A register seen from the front: display on top, keys below.
    painter.setPen(QPen(QColor(0, 0, 128), s / 24));
    painter.setBrush(QColor(0, 128, 128));
    painter.drawRoundedRect(QRectF(s * 0.08, s * 0.30, s * 0.84, s * 0.62), s * 0.08, s * 0.08);
    painter.setBrush(QColor(200, 255, 255));
    painter.drawRoundedRect(QRectF(s * 0.22, s * 0.08, s * 0.56, s * 0.26), s * 0.05, s * 0.05);
    painter.setBrush(Qt::white);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            painter.drawRect(QRectF(s * (0.18 + col * 0.17), s * (0.42 + row * 0.15), s * 0.11, s * 0.09));
    painter.setPen(QColor(0, 0, 128));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(6, size / 6));
    painter.setFont(font);
    painter.drawText(QRectF(s * 0.22, s * 0.08, s * 0.56, s * 0.26), Qt::AlignCenter, "PLU");
    return pixmap;
}

TAboutBox::TAboutBox(const QString& companyNameText, QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle(tr("About..."));
    setModal(true);
    auto* picture = new QLabel(this);
    picture->setObjectName("ProgramIcon");
    picture->setPixmap(ProgramLogo(64));
    auto* company = new QLabel(companyNameText, this);
    company->setObjectName("CompanyNameText");
    auto* product = new QLabel(QString::fromUtf8(kTitleText), this);
    product->setObjectName("ProductName");
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    auto* version = new QLabel("Version 2.81", this);
    version->setObjectName("Version");
    auto* copyright = new QLabel("2006", this);
    copyright->setObjectName("Copyright");
    auto* build = new QLabel("Build 20060303", this);
    build->setObjectName("Comments");

    auto* grid = new QGridLayout;
    grid->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(copyright, 2, 1);
    grid->addWidget(build, 3, 1);
    grid->addWidget(company, 4, 0, 1, 2);
    grid->setHorizontalSpacing(16);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

} // namespace plu
