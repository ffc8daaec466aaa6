#include "items/ui/ItemsArea.h"

#include "items/ItemColumns.h"
#include "items/ItemFileCommands.h"
#include "items/ItemTableOps.h"
#include "items/ui/GridLook.h"
#include "items/ui/ItemGridView.h"
#include "items/ui/ItemTableModel.h"
#include "items/ui/QtItemFileDialogs.h"
#include "items/ui/RaisedLabel.h"
#include "items/ui/TRecyForm.h"
#include "shell/AppContext.h"
#include "shell/CodePage.h"
#include "shell/IniFile.h"
#include "shell/SystemConfig.h"

#include <QApplication>
#include <QFontDialog>
#include <QSplitter>
#include <QVBoxLayout>

namespace plu {
namespace {

constexpr int kDeptPanelWidth = 400;

template <std::size_t N>
std::vector<std::string> ToVector(const std::array<std::string, N>& texts)
{
    return {texts.begin(), texts.end()};
}

QWidget* Column(QWidget* caption, QWidget* grid, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(caption);
    layout->addWidget(grid, 1);
    return panel;
}

} // namespace

ItemsArea::ItemsArea(AppContext& ctx, ItemTables& tables, UserInterface& ui, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_tables(tables), m_ui(ui),
      m_codePage(std::make_unique<CodePage>(ReadCodePage(IniFile(ctx.Dirs.SystemCfg())))),
      m_qtDialogs(std::make_unique<QtItemFileDialogs>(this))
{
    m_commands = std::make_unique<ItemFileCommands>(
        m_tables, m_ui, *m_qtDialogs,
        ItemFileCommands::Hooks{[this] { return CheckActiveGrid(); },
                                [this](const std::string& title) { emit titleChanged(QString::fromStdString(title)); }},
        kTitleText);

    ClearGrid(GridKind::Plu, m_tables.Plu);
    ClearGrid(GridKind::Dept, m_tables.Dept);

    m_pluLabel = new RaisedLabel(QStringLiteral("PLU"));
    m_pluLabel->setObjectName(QStringLiteral("PLULBL"));
    m_deptLabel = new RaisedLabel(QStringLiteral("Department"));
    m_deptLabel->setObjectName(QStringLiteral("DeptLBL"));
    m_pluGrid = new ItemGridView(GridKind::Plu, m_tables.Plu, *m_codePage, m_ui, &m_tables.Modified);
    m_pluGrid->setObjectName(QStringLiteral("PLUGrid"));
    m_deptGrid = new ItemGridView(GridKind::Dept, m_tables.Dept, *m_codePage, m_ui, &m_tables.Modified);
    m_deptGrid->setObjectName(QStringLiteral("DeptmentGrid"));

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setHandleWidth(2);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(Column(m_pluLabel, m_pluGrid, m_splitter));
    m_splitter->addWidget(Column(m_deptLabel, m_deptGrid, m_splitter));
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    m_recyForm = new TRecyForm(m_tables.RecyTable, *m_codePage, m_ui, this);

    SetGridFont(QApplication::font());
    ApplyTitles();
}

ItemsArea::~ItemsArea() = default;

void ItemsArea::SetFileDialogs(ItemFileDialogs& dialogs) { m_commands->SetDialogs(dialogs); }

QFont ItemsArea::GridFont() const { return m_pluGrid->font(); }

void ItemsArea::SetGridFont(const QFont& font)
{
    m_pluGrid->setFont(font);
    m_deptGrid->setFont(font);
    SizeGrids();
}

void ItemsArea::ApplyTitles()
{
    m_pluGrid->Model()->SetTitles(ToVector(m_ctx.UiTexts.PluTitles));
    m_deptGrid->Model()->SetTitles(ToVector(m_ctx.UiTexts.DeptTitles));
    m_recyForm->SetTitles(ToVector(m_ctx.UiTexts.RecyTitles));
    SizeGrids();
}

void ItemsArea::SizeGrids()
{
    SizeGridColumns(*m_pluGrid, PluMaxLen, m_pluGrid->Model()->Titles(), 1);
    SizeGridColumns(*m_deptGrid, DeptMaxLen, m_deptGrid->Model()->Titles(), 1);
}

void ItemsArea::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    ApplyTitles();
    const int total = m_splitter->width();
    m_splitter->setSizes({std::max(total - kDeptPanelWidth - m_splitter->handleWidth(), 1), kDeptPanelWidth});
}

void ItemsArea::NewItemClick()
{
    if (m_commands->New())
        RefreshFromTables();
}

void ItemsArea::OpenItemClick()
{
    if (m_commands->Open())
        RefreshFromTables();
}

void ItemsArea::SaveItemClick() { m_commands->Save(); }

void ItemsArea::SaveasItemClick() { m_commands->SaveAs(); }

void ItemsArea::RecyItemClick()
{
    const std::vector<TRecy> before = m_tables.RecyTable;
    // Edits confirmed with OK are unsaved changes like those in the grids.
    if (m_recyForm->ShowRecyDialog() && m_tables.RecyTable != before)
        m_tables.Modified = true;
}

void ItemsArea::FontItemClick()
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, GridFont(), window());
    if (ok)
        SetGridFont(chosen);
}

void ItemsArea::FillSampleData()
{
    plu::FillSampleData(m_tables);
    RefreshFromTables();
}

bool ItemsArea::CheckActiveGrid()
{
    QWidget* focus = QApplication::focusWidget();
    for (ItemGridView* grid : {m_pluGrid, m_deptGrid})
        if (focus != nullptr && (focus == grid || grid->isAncestorOf(focus)))
            return grid->LeaveCell();
    return true;
}

void ItemsArea::RefreshFromTables()
{
    // An open editor would write its old text back into the new table.
    m_pluGrid->DropEditor();
    m_deptGrid->DropEditor();
    m_pluGrid->Model()->RefreshAll();
    m_deptGrid->Model()->RefreshAll();
}

} // namespace plu
