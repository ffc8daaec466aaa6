#include "items/ItemFileCommands.h"

#include "items/ItemFiles.h"
#include "items/ItemTableOps.h"

#include <filesystem>

namespace plu {
namespace {

std::string FullPath(const std::string& path)
{
    std::error_code ec;
    auto full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

class BusyScope {
public:
    explicit BusyScope(UserInterface& ui) : m_ui(ui) { m_ui.SetBusy(true); }
    ~BusyScope() { m_ui.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    UserInterface& m_ui;
};

} // namespace

ItemFileCommands::ItemFileCommands(ItemTables& tables, UserInterface& ui, ItemFileDialogs& dialogs, Hooks hooks,
                                   std::string titleText)
    : m_tables(tables), m_ui(ui), m_dialogs(&dialogs), m_hooks(std::move(hooks)), m_titleText(std::move(titleText))
{
}

std::string ItemFileCommands::TitleFor(const std::string& path) const { return m_titleText + "~[" + path + "]"; }

bool ItemFileCommands::SettleUnsavedChanges()
{
    if (!m_tables.Modified)
        return true;
    switch (m_ui.Ask(Question::YesNoCancel, MessageKind::Warning, kSaveQuestionText)) {
    case Answer::No:
        return true;
    case Answer::Yes:
        if (m_hooks.CheckActiveGrid && !m_hooks.CheckActiveGrid())
            return false;
        // A cancelled Save as dialog still lets the command go on; a failed write stops it.
        return SaveChecked() != SaveResult::Failed;
    default:
        return false;
    }
}

void ItemFileCommands::ClearTables()
{
    BusyScope busy(m_ui);
    ClearGrid(GridKind::Plu, m_tables.Plu);
    ClearGrid(GridKind::Dept, m_tables.Dept);
    ResetRecyTable(m_tables.RecyTable);
    m_tables.CurrentFileName.clear();
    if (m_hooks.SetTitle)
        m_hooks.SetTitle(m_titleText);
    m_tables.Modified = false;
}

bool ItemFileCommands::New()
{
    if (!SettleUnsavedChanges())
        return false;
    ClearTables();
    return true;
}

bool ItemFileCommands::Open()
{
    if (!SettleUnsavedChanges())
        return false;
    auto chosen = m_dialogs->ChooseOpenPath();
    if (!chosen)
        return false;
    const std::string path = FullPath(*chosen);
    // A set that cannot be read leaves the tables and the file name as they
    // were, rather than empty tables bound to that name, which the next Save
    // would write over the file.
    std::string error;
    bool ok;
    {
        BusyScope busy(m_ui);
        ok = LoadItemFileSet(m_tables, path, error);
    }
    if (!ok) {
        m_ui.ShowMessage(MessageKind::Error, kCannotReadText + error);
        return false;
    }
    m_tables.CurrentFileName = path;
    m_tables.Modified = false;
    if (m_hooks.SetTitle)
        m_hooks.SetTitle(TitleFor(path));
    return true;
}

void ItemFileCommands::Save()
{
    if (m_hooks.CheckActiveGrid && !m_hooks.CheckActiveGrid())
        return;
    SaveChecked();
}

void ItemFileCommands::SaveAs()
{
    if (m_hooks.CheckActiveGrid && !m_hooks.CheckActiveGrid())
        return;
    SaveAsChecked();
}

ItemFileCommands::SaveResult ItemFileCommands::SaveChecked()
{
    if (m_tables.CurrentFileName.empty())
        return SaveAsChecked();
    return WriteSet(m_tables.CurrentFileName) ? SaveResult::Saved : SaveResult::Failed;
}

ItemFileCommands::SaveResult ItemFileCommands::SaveAsChecked()
{
    auto chosen = m_dialogs->ChooseSavePath();
    if (!chosen)
        return SaveResult::Cancelled;
    const std::string path = FullPath(*chosen);
    // The name is taken over only once the set is written, so the title and
    // the file a later Save writes always agree.
    if (!WriteSet(path))
        return SaveResult::Failed;
    m_tables.CurrentFileName = path;
    if (m_hooks.SetTitle)
        m_hooks.SetTitle(TitleFor(path));
    return SaveResult::Saved;
}

bool ItemFileCommands::WriteSet(const std::string& path)
{
    std::string error;
    bool ok;
    {
        BusyScope busy(m_ui);
        ok = WriteItemFileSet(m_tables, path, error);
    }
    if (!ok) {
        m_ui.ShowMessage(MessageKind::Error, kCannotSaveText + error);
        return false;
    }
    m_tables.Modified = false;
    return true;
}

} // namespace plu
