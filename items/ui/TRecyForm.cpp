#include "items/ui/TRecyForm.h"

#include "items/ItemTableOps.h"
#include "items/ui/ItemGridView.h"
#include "items/ui/ItemTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plu {
namespace {

constexpr int kColumnWidths[kRecyCols] = {60, 134, 198, 160, 160, 160, 160};
constexpr int kRowHeight = 20;

} // namespace

TRecyForm::TRecyForm(std::vector<TRecy>& recyTable, const CodePage& codePage, UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_recyTable(recyTable), m_cells(MakeRecyGrid())
{
    setObjectName(QStringLiteral("RecyForm"));
    setWindowTitle(tr("Recycling"));
    setFixedSize(634, 477);

    m_grid = new ItemGridView(GridKind::Recy, m_cells, codePage, ui, nullptr, this);
    m_grid->setObjectName(QStringLiteral("RecyGrid"));
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->horizontalHeader()->setFixedHeight(kRowHeight);
    for (int col = 0; col < kRecyCols; ++col)
        m_grid->horizontalHeader()->resizeSection(col, kColumnWidths[col]);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TRecyForm::accept);
    connect(cancel, &QPushButton::clicked, this, &TRecyForm::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 8);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    ResetRecyTable(m_recyTable);
}

void TRecyForm::SetTitles(const std::vector<std::string>& titles) { m_grid->Model()->SetTitles(titles); }

void TRecyForm::FillGrid()
{
    m_grid->DropEditor();
    FillRecyGrid(m_recyTable, m_cells);
    m_grid->Model()->RefreshAll();
    m_grid->SetCurrentCell(0, 1);
    m_grid->setFocus();
}

bool TRecyForm::ShowRecyDialog()
{
    FillGrid();
    return exec() == QDialog::Accepted;
}

void TRecyForm::accept()
{
    if (!m_grid->LeaveCell()) {
        m_grid->setFocus();
        if (m_grid->Editor() != nullptr)
            m_grid->Editor()->setFocus();
        return;
    }
    StoreRecyGrid(m_cells, m_recyTable);
    QDialog::accept();
}

} // namespace plu
