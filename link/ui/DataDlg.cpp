#include "link/ui/DataDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace plu {

TDataDlg::TDataDlg(UserInterface& ui, QWidget* parent) : QDialog(parent), m_ui(ui)
{
    setObjectName("DataDlg");

    m_edit1 = new QLineEdit("0", this);
    m_edit1->setObjectName("Edit1");
    // Only hexadecimal digits get in (editing keys still work), and no more than a
    // 16-bit page number takes.
    m_edit1->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString("[0-9A-Fa-f]{0,%1}").arg(kBaseAddressDigits)), m_edit1));
    m_edit1->setMaxLength(kBaseAddressDigits);
    m_edit2 = new QLineEdit("8", this);
    m_edit2->setObjectName("Edit2");

    auto* memoryBox = new QGroupBox(this);
    memoryBox->setObjectName("RadioGroup1");
    auto* memoryLayout = new QHBoxLayout(memoryBox);
    m_radioGroup1 = new QButtonGroup(this);
    auto* rom = new QRadioButton(tr("ROM"), memoryBox);
    auto* ram = new QRadioButton(tr("RAM"), memoryBox);
    m_radioGroup1->addButton(rom, static_cast<int>(MemoryKind::Rom));
    m_radioGroup1->addButton(ram, static_cast<int>(MemoryKind::Ram));
    rom->setChecked(true);
    memoryLayout->addWidget(rom);
    memoryLayout->addWidget(ram);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("Base addr(hex):"), m_edit1);
    form->addRow(tr("Package count::"), m_edit2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(memoryBox);
    layout->addWidget(buttons);
}

bool TDataDlg::Execute(const QString& caption)
{
    setWindowTitle(caption);
    m_edit1->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    auto range = ParseDataRange(m_edit1->text().toStdString(), m_edit2->text().toStdString(),
                                static_cast<MemoryKind>(m_radioGroup1->checkedId()));
    if (!range) {
        m_ui.Beep();
        return false;
    }
    Range = *range;
    return true;
}

} // namespace plu
