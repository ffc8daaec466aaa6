#include "shell/AppContext.h"
#include "shell/ui/AboutBox.h"
#include "shell/ui/MainForm.h"
#include "UiTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace plu {
namespace {

// Menu contents as captions, "-" for a separator; hidden items are left out.
QStringList MenuLayout(QMenu* menu)
{
    QStringList items;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            items << "-";
        else if (action->isVisible())
            items << action->text() + (action->shortcut().isEmpty() ? "" : " [" + action->shortcut().toString() + "]");
    }
    return items;
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = test::FreshHome("mainform");
        std::ofstream(home / "SYSTEM.CFG") << "[Version]\r\nCompanyName=Some Shop\r\n";
        context = MakeAppContext(ProgramDirsAt(home));
    }
    std::filesystem::path home;
    AppContext context;
};

TEST_F(MainFormTest, HasTheWholeMenuBarWithShortcutsAndSeparators)
{
    TMainForm form(context);
    QList<QMenu*> menus;
    for (QAction* action : form.menuBar()->actions())
        menus << action->menu();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->title(), "&File");
    EXPECT_EQ(MenuLayout(menus[0]), (QStringList{"&New", "-", "&Open... [F3]", "&Save [Ctrl+S]", "Save &as...", "-",
                                                 "Recycling...", "-", "Font...", "-", "E&xit"}));
    EXPECT_EQ(menus[1]->title(), "&Report");
    EXPECT_EQ(MenuLayout(menus[1]), (QStringList{"&PLU report", "&Department report", "&Recycling report", "D&aily report",
                                                 "&Cashier report", "Ca&sh report", "-", "Upload all report"}));
    EXPECT_EQ(menus[2]->title(), "&Communication");
    EXPECT_EQ(MenuLayout(menus[2]), (QStringList{"&Setting...", "&Detect port...", "-", "Test", "Download data... [F9]",
                                                 "Upload data... [F6]"}));
    EXPECT_EQ(menus[3]->title(), "&Help");
    EXPECT_EQ(MenuLayout(menus[3]), (QStringList{"&Contents", "-", "&About..."}));
}

TEST_F(MainFormTest, ToolbarHintsAndHiddenParameterCommand)
{
    TMainForm form(context);
    QStringList hints;
    for (QAction* action : form.MainToolbar()->actions()) {
        if (action->isSeparator())
            hints << "-";
        else if (action->isVisible() && !action->toolTip().isEmpty() && !action->icon().isNull())
            hints << action->toolTip();
    }
    EXPECT_EQ(hints, (QStringList{"New", "Open", "Save", "-", "Communication setting", "-", "Test", "Download data",
                                  "Upload data", "-", "Exit"}));
    EXPECT_FALSE(form.Action("ParameterItem")->isVisible());
    EXPECT_FALSE(form.Action("PreferencesBtn")->isVisible());
    EXPECT_FALSE(form.Action("ReportBtn")->isVisible());
    EXPECT_FALSE(form.MainToolbar()->isFloatable());
}

TEST_F(MainFormTest, TitleAboutBoxAndContents)
{
    TMainForm form(context);
    EXPECT_EQ(form.windowTitle(), "Tesso PLU manager");
    // Contents is clickable and does nothing.
    EXPECT_TRUE(form.Action("ContentItem")->isEnabled());
    form.Action("ContentItem")->trigger();

    TAboutBox about(QString::fromStdString(context.CompanyNameText));
    QStringList texts;
    for (QLabel* label : about.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    EXPECT_TRUE(texts.contains("Some Shop"));
    EXPECT_TRUE(texts.contains("Tesso PLU manager"));
    EXPECT_TRUE(texts.contains("Version 2.81"));
    EXPECT_TRUE(texts.contains("2006"));
    EXPECT_TRUE(texts.contains("Build 20060303"));
    EXPECT_EQ(about.windowTitle(), "About...");
    about.show();
    test::SaveScreenshot(about, "about-box");
}

TEST_F(MainFormTest, ExitClosesAtOnce)
{
    TMainForm form(context);
    form.resize(1024, 700);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    test::SaveScreenshot(form, "main-window");
    form.Action("ExitItem")->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainFormTest, FirstStartCreatesWorkDirsAndUsesCom2At9600)
{
    EXPECT_TRUE(std::filesystem::is_directory(home / "Data"));
    EXPECT_TRUE(std::filesystem::is_directory(home / "duFile"));
    EXPECT_TRUE(std::filesystem::is_directory(home / "Temp"));
    EXPECT_EQ(context.PortNumber, 2);
    EXPECT_EQ(context.BaudRateIndex, 0);
}

} // namespace
} // namespace plu
