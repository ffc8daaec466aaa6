#include "link/ui/CommDlg.h"

#include "link/CommSetting.h"
#include "link/KodoIBusComm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace plu {
namespace {

// A radio group laid out in columns filled top to bottom; the first item is checked.
QGroupBox* RadioGroup(QWidget* parent, const QString& caption, const QStringList& items, int columns, QButtonGroup* group)
{
    auto* box = new QGroupBox(caption, parent);
    auto* grid = new QGridLayout(box);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        grid->addWidget(button, i % rows, i / rows);
        group->addButton(button, i);
    }
    group->button(0)->setChecked(true);
    return box;
}

} // namespace

TCommDlg::TCommDlg(AppContext& context, UserInterface& ui, TKodoIBusComm::DeviceResolver resolver, QWidget* parent)
    : QDialog(parent), m_context(context), m_ui(ui), m_resolver(std::move(resolver))
{
    setObjectName("CommDlg");
    setWindowTitle(tr("Communication setting"));

    m_baudRateRG = new QButtonGroup(this);
    QStringList speeds;
    for (int speed : BaudRateTable)
        speeds << QString::number(speed);
    auto* baudBox = RadioGroup(this, tr("&Baud rate"), speeds, 2, m_baudRateRG);
    baudBox->setObjectName("BaudRateRG");

    auto* parityGroup = new QButtonGroup(this);
    m_parityRG = RadioGroup(this, tr("&Parity"), {tr("None"), tr("Odd"), tr("Even"), tr("Mark"), tr("Space")}, 1, parityGroup);
    m_parityRG->setObjectName("ParityRG");
    m_parityRG->setEnabled(false);
    auto* stopGroup = new QButtonGroup(this);
    m_stopBitsRG = RadioGroup(this, tr("&StopBits"), {"1", "1.5", "2"}, 3, stopGroup);
    m_stopBitsRG->setObjectName("StopBitsRG");
    m_stopBitsRG->setEnabled(false);

    m_portCB = new QComboBox(this);
    m_portCB->setObjectName("PortCB");
    auto* portLabel = new QLabel(tr("P&ort:"), this);
    portLabel->setBuddy(m_portCB);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(portLabel);
    portRow->addWidget(m_portCB, 1);
    auto* groups = new QGridLayout;
    groups->addWidget(baudBox, 0, 0);
    groups->addWidget(m_parityRG, 0, 1, 2, 1);
    groups->addWidget(m_stopBitsRG, 1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(portRow);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

bool TCommDlg::Execute()
{
    ReloadCommSettings(m_context);

    m_portCB->clear();
    for (const PortChoice& choice : PortChoices(m_resolver, m_context.PortNumber))
        m_portCB->addItem(QString::fromStdString(choice.Label), choice.Number);
    m_portCB->setCurrentIndex(m_portCB->findData(m_context.PortNumber));
    if (QAbstractButton* speed = m_baudRateRG->button(m_context.BaudRateIndex))
        speed->setChecked(true);

    if (exec() != QDialog::Accepted)
        return false;

    std::string error;
    if (!ApplyCommSettings(m_context, m_portCB->currentData().toInt(), m_baudRateRG->checkedId(), error))
        m_ui.ShowMessage(MessageKind::Error, std::string(kCommSettingNotSavedText) + "\n" + error);
    return true;
}

} // namespace plu
