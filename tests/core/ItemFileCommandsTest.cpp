#include "items/ItemFileCommands.h"
#include "items/ItemFiles.h"
#include "items/ItemTableOps.h"
#include "tests/core/TestUserInterface.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace plu {
namespace {

namespace fs = std::filesystem;
// Questions nobody scripted are cancelled.
struct RecordingUi : test::TestUserInterface {
    RecordingUi() { NextAnswer = Answer::Cancel; }
};

class ScriptedDialogs : public ItemFileDialogs {
public:
    std::optional<std::string> ChooseOpenPath() override { return Next(OpenCalls); }
    std::optional<std::string> ChooseSavePath() override { return Next(SaveCalls); }
    std::deque<std::optional<std::string>> Paths; // nullopt: cancelled
    int OpenCalls = 0;
    int SaveCalls = 0;

private:
    std::optional<std::string> Next(int& calls)
    {
        ++calls;
        if (Paths.empty())
            return std::nullopt;
        auto p = Paths.front();
        Paths.pop_front();
        return p;
    }
};

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("itemcmds-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        ClearGrid(GridKind::Plu, m_tables.Plu);
        ClearGrid(GridKind::Dept, m_tables.Dept);
        ResetRecyTable(m_tables.RecyTable);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const char* name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    ItemTables m_tables;
    RecordingUi m_ui;
    ScriptedDialogs m_dialogs;
    bool m_gridAccepts = true;
    int m_gridChecks = 0;
    std::string m_title = "start";
    ItemFileCommands m_commands{m_tables, m_ui, m_dialogs,
                                {[this] {
                                     ++m_gridChecks;
                                     return m_gridAccepts;
                                 },
                                 [this](const std::string& t) { m_title = t; }},
                                "Title"};
};

TEST_F(FileCommands, SaveAsOpenNewAndTitles)
{
    m_tables.Plu.SetCell(1, 1, "Milk");
    m_tables.Modified = true;
    m_dialogs.Paths = {Path("A.PLU")};
    m_commands.Save(); // no name yet: goes through Save as
    EXPECT_EQ(m_dialogs.SaveCalls, 1);
    EXPECT_EQ(m_gridChecks, 1) << "the active grid is committed once";
    EXPECT_EQ(m_title, "Title~[" + Path("A.PLU") + "]");
    EXPECT_EQ(m_tables.CurrentFileName, Path("A.PLU"));
    EXPECT_FALSE(m_tables.Modified);
    EXPECT_TRUE(fs::exists(m_dir / "A.DEP") && fs::exists(m_dir / "A.RCY"));
    EXPECT_EQ(m_ui.BusyDepth, 0);

    m_tables.Plu.SetCell(1, 2, "Bread");
    m_title = "unchanged";
    m_commands.Save(); // known name: written, title left alone
    EXPECT_EQ(m_title, "unchanged");
    EXPECT_EQ(m_dialogs.SaveCalls, 1);

    m_commands.New();
    EXPECT_EQ(m_title, "Title");
    EXPECT_EQ(m_tables.CurrentFileName, "");
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "");

    // A relative name is opened as its full path.
    fs::current_path(m_dir);
    m_dialogs.Paths = {"./sub/../A.PLU"};
    m_commands.Open();
    EXPECT_EQ(m_tables.Plu.Cell(1, 2), "Bread");
    EXPECT_EQ(m_tables.CurrentFileName, Path("A.PLU"));
    EXPECT_EQ(m_title, "Title~[" + Path("A.PLU") + "]");
    EXPECT_TRUE(m_ui.Questions.empty()) << "nothing was modified";
}

TEST_F(FileCommands, UnsavedChangesQuestion)
{
    struct Case {
        Answer Reply;
        bool GridAccepts;
        std::optional<std::string> SavePath;
        bool Cleared;  // New went on
        bool Written;  // the set was saved first
    };
    const Case cases[] = {
        {Answer::Cancel, true, std::nullopt, false, false},
        {Answer::No, true, std::nullopt, true, false},
        {Answer::Yes, true, std::string("Q.PLU"), true, true},
        {Answer::Yes, true, std::nullopt, true, false},  // Save as cancelled: New still runs
        {Answer::Yes, false, std::nullopt, false, false}, // the grid refuses its cell
        {Answer::Yes, true, std::string("nodir/Q.PLU"), false, false}, // the save fails: stop
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        fs::remove(m_dir / "Q.PLU");
        m_tables.Plu.SetCell(1, 1, "Milk");
        m_tables.Modified = true;
        m_title = "before";
        m_ui.Answers = {c.Reply};
        m_ui.Messages.clear();
        m_gridAccepts = c.GridAccepts;
        m_dialogs.Paths = {c.SavePath ? std::optional<std::string>(Path(c.SavePath->c_str())) : std::nullopt};
        m_commands.New();
        EXPECT_EQ(m_ui.Questions.back(), "File has not been saved,save it now?");
        EXPECT_EQ(m_tables.Plu.Cell(1, 1), c.Cleared ? "" : "Milk");
        EXPECT_EQ(m_title, c.Cleared ? "Title" : "before");
        EXPECT_EQ(m_tables.Modified, !c.Cleared);
        EXPECT_EQ(fs::exists(m_dir / "Q.PLU"), c.Written);
        EXPECT_EQ(m_ui.Messages.size(), c.SavePath && !c.Written && !c.Cleared ? 1u : 0u);
    }
}

TEST_F(FileCommands, FailuresKeepTablesNameAndTitle)
{
    m_tables.Plu.SetCell(1, 1, "Keep");
    m_dialogs.Paths = {Path("A.PLU")};
    m_commands.SaveAs();
    ASSERT_EQ(m_tables.CurrentFileName, Path("A.PLU"));
    const std::string title = m_title;

    fs::create_directory(m_dir / "B.PLU"); // cannot be read
    m_dialogs.Paths = {Path("B.PLU")};
    m_commands.Open();
    ASSERT_EQ(m_ui.Messages.size(), 1u);
    EXPECT_EQ(m_ui.Kinds[0], MessageKind::Error);
    EXPECT_NE(m_ui.Messages[0].find("B.PLU"), std::string::npos) << m_ui.Messages[0];
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "Keep");
    EXPECT_EQ(m_tables.CurrentFileName, Path("A.PLU"));
    EXPECT_EQ(m_title, title);

    m_dialogs.Paths = {Path("B.PLU")}; // Save as onto the directory fails
    m_tables.Modified = true;
    m_commands.SaveAs();
    EXPECT_EQ(m_ui.Messages.size(), 2u);
    EXPECT_NE(m_ui.Messages[1].find("B.PLU"), std::string::npos) << m_ui.Messages[1];
    EXPECT_EQ(m_tables.CurrentFileName, Path("A.PLU"));
    EXPECT_EQ(m_title, title);
    EXPECT_TRUE(m_tables.Modified);

    m_dialogs.Paths = {std::nullopt}; // Open cancelled
    m_commands.Open();
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "Keep");
    m_gridAccepts = false; // Save stops before writing when the grid refuses its cell
    fs::remove(m_dir / "A.PLU");
    m_commands.Save();
    EXPECT_FALSE(fs::exists(m_dir / "A.PLU"));
}

TEST_F(FileCommands, OpenWithoutDepartmentAndRecyclingFiles)
{
    m_tables.Dept.SetCell(1, 1, "Old");
    m_tables.RecyTable[0].PluNumber = "5";
    ASSERT_TRUE(fs::exists(m_dir));
    {
        std::ofstream(m_dir / "SHOP") << "Milk\r\n";
    }
    m_dialogs.Paths = {Path("SHOP")};
    m_commands.Open();
    EXPECT_TRUE(m_ui.Messages.empty());
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "Milk");
    EXPECT_EQ(m_tables.Dept.Cell(1, 1), "") << "cleared and left at the defaults";
    EXPECT_EQ(m_tables.RecyTable[0].PluNumber, "");
}

} // namespace
} // namespace plu
