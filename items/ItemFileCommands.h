#pragma once
// The File commands New, Open, Save and Save as on the item tables. They talk
// to the user only through UserInterface and ItemFileDialogs, so the windows
// merely forward their menu items here.
#include "items/CellTable.h"
#include "shell/UserInterface.h"

#include <functional>
#include <optional>
#include <string>

namespace plu {

// The file dialogs of Open and Save as (filter "PLU files(*.PLU)", default
// extension "PLU", starting in the current directory).
class ItemFileDialogs {
public:
    virtual ~ItemFileDialogs() = default;
    // An existing file, or nullopt when the user cancelled.
    virtual std::optional<std::string> ChooseOpenPath() = 0;
    // A name in an existing directory, overwriting confirmed; nullopt when cancelled.
    virtual std::optional<std::string> ChooseSavePath() = 0;
};

inline constexpr const char* kSaveQuestionText = "File has not been saved,save it now?";
// Followed by "<file>: <system reason>".
inline constexpr const char* kCannotReadText = "Cannot read ";
inline constexpr const char* kCannotSaveText = "Cannot save ";

class ItemFileCommands {
public:
    struct Hooks {
        // Commits the cell being edited when a grid has the focus; false when refused.
        std::function<bool()> CheckActiveGrid;
        std::function<void(const std::string& title)> SetTitle;
    };

    ItemFileCommands(ItemTables& tables, UserInterface& ui, ItemFileDialogs& dialogs, Hooks hooks,
                     std::string titleText);

    void SetDialogs(ItemFileDialogs& dialogs) { m_dialogs = &dialogs; }
    const std::string& TitleText() const { return m_titleText; }
    // TitleText + "~[" + path + "]".
    std::string TitleFor(const std::string& path) const;

    // New and Open return true when they replaced the tables.
    bool New();
    bool Open();
    void Save();
    void SaveAs();

private:
    enum class SaveResult { Saved, Cancelled, Failed };

    // The unsaved-changes question; false when the command must stop.
    bool SettleUnsavedChanges();
    void ClearTables();
    SaveResult SaveChecked();
    SaveResult SaveAsChecked();
    bool WriteSet(const std::string& path);

    ItemTables& m_tables;
    UserInterface& m_ui;
    ItemFileDialogs* m_dialogs;
    Hooks m_hooks;
    std::string m_titleText;
};

} // namespace plu
