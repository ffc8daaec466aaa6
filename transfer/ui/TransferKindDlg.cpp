#include "transfer/ui/TransferKindDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plu {
namespace {

constexpr int kPluKindRow = 0;

QSpinBox* RangeSpin(QWidget* parent, const char* name, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(kFirstPlu, kLastPlu); // four characters at most
    spin->setValue(value);
    return spin;
}

} // namespace

TTransferKindDlg::TTransferKindDlg(AppContext& context, UserInterface& ui, bool oneKindOnly, const QString& caption,
                                   const QString& rangeLabel, QWidget* parent)
    : QDialog(parent), m_context(context), m_ui(ui), m_oneKindOnly(oneKindOnly)
{
    setWindowTitle(caption);

    m_checkList = new QListWidget(this);
    m_checkList->setObjectName("CheckListBox1");
    connect(m_checkList, &QListWidget::itemChanged, this, &TTransferKindDlg::CheckListBox1ClickCheck);

    m_rangeGroup = new QGroupBox(tr("PLU range"), this);
    m_rangeGroup->setObjectName("PLURangeGroupBox");
    m_rangeBegin = RangeSpin(m_rangeGroup, "RangeBeginEdit", kFirstPlu);
    m_rangeEnd = RangeSpin(m_rangeGroup, "RangeEndEdit", kLastPlu);
    auto* range = new QGridLayout(m_rangeGroup);
    range->addWidget(new QLabel(rangeLabel, m_rangeGroup), 0, 0, 1, 2);
    range->addWidget(new QLabel(tr("From:"), m_rangeGroup), 1, 0);
    range->addWidget(m_rangeBegin, 1, 1);
    range->addWidget(new QLabel(tr("To:"), m_rangeGroup), 2, 0);
    range->addWidget(m_rangeEnd, 2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TTransferKindDlg::FormCloseQuery);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_checkList);
    layout->addWidget(m_rangeGroup);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TTransferKindDlg::From() const { return m_rangeBegin->value(); }

int TTransferKindDlg::To() const { return m_rangeEnd->value(); }

bool TTransferKindDlg::Execute()
{
    m_kinds = 0;
    m_filling = true;
    m_checkList->clear();
    for (const std::string& name : KindNames()) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), m_checkList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_filling = false;
    m_rangeGroup->setVisible(false);
    return exec() == QDialog::Accepted;
}

void TTransferKindDlg::CheckListBox1ClickCheck(QListWidgetItem* item)
{
    if (m_filling)
        return;
    if (m_oneKindOnly && item->checkState() == Qt::Checked) {
        m_filling = true;
        for (int row = 0; row < m_checkList->count(); ++row)
            if (m_checkList->item(row) != item)
                m_checkList->item(row)->setCheckState(Qt::Unchecked);
        m_filling = false;
    }
    m_rangeGroup->setVisible(m_checkList->item(kPluKindRow)->checkState() == Qt::Checked);
}

void TTransferKindDlg::FormCloseQuery()
{
    // A number typed but not yet taken counts as it stands.
    m_rangeBegin->interpretText();
    m_rangeEnd->interpretText();
    // The range is checked whether or not PLUs are chosen.
    if (!IsValidPluRange(From(), To())) {
        m_ui.ShowMessage(MessageKind::Information, kInvalidPluRangeText);
        return;
    }
    m_kinds = 0;
    for (int row = 0; row < m_checkList->count(); ++row)
        if (m_checkList->item(row)->checkState() == Qt::Checked)
            m_kinds |= static_cast<std::uint8_t>(1u << row);
    accept();
}

} // namespace plu
