// The item grids driven with keys and the mouse as a user drives them.
#include "items/ItemFileCommands.h"
#include "items/ItemFiles.h"
#include "items/ItemTableOps.h"
#include "items/ui/ItemGridView.h"
#include "items/ui/ItemTableModel.h"
#include "items/ui/ItemsArea.h"
#include "items/ui/TRecyForm.h"
#include "shell/AppContext.h"
#include "shell/Locale.h"
#include "shell/ui/MainForm.h"
#include "tests/core/TestUserInterface.h"
#include "tests/ui/UiTestSupport.h"

#include <QApplication>
#include <QFontDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <unistd.h>

namespace plu {
namespace {

// Questions nobody scripted are cancelled.
struct RecordingUi : test::TestUserInterface {
    RecordingUi() { NextAnswer = Answer::Cancel; }
};
namespace fs = std::filesystem;

// Where a key goes: the focused widget of the grid's window, else the grid's editor or the grid.
QWidget* KeyTarget(ItemGridView* grid)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->window() == grid->window())
        return focus;
    return grid->Editor() != nullptr ? static_cast<QWidget*>(grid->Editor()) : grid;
}

// Plays a key script on the focused widget: plain characters are typed,
// <Name> is a special key, <dbl> double-clicks the current cell and
// <click c,r> clicks cell (c, r) of the grid.
void Play(ItemGridView* grid, const QString& script)
{
    static const std::map<QString, Qt::Key> kKeys{
        {"Enter", Qt::Key_Return}, {"F2", Qt::Key_F2},     {"Up", Qt::Key_Up},       {"Down", Qt::Key_Down},
        {"Left", Qt::Key_Left},    {"Right", Qt::Key_Right}, {"Del", Qt::Key_Delete}, {"Tab", Qt::Key_Tab},
        {"End", Qt::Key_End},      {"Home", Qt::Key_Home},   {"Esc", Qt::Key_Escape}, {"BS", Qt::Key_Backspace},
    };
    for (qsizetype i = 0; i < script.size(); ++i) {
        QWidget* target = KeyTarget(grid);
        if (script[i] == '<') {
            const qsizetype end = script.indexOf('>', i);
            const QString name = script.mid(i + 1, end - i - 1);
            i = end;
            if (name == "dbl") {
                const QRect cell = grid->visualRect(grid->currentIndex());
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            } else if (name.startsWith("click ")) {
                const QStringList at = name.mid(6).split(',');
                const QModelIndex index = grid->Model()->index(at[1].toInt() - 1, at[0].toInt() - grid->Model()->FirstCol());
                grid->scrollTo(index);
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
            } else {
                QTest::keyClick(target, kKeys.at(name));
            }
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(script[i]));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(script[i]));
            QApplication::sendEvent(target, &release);
        }
        QApplication::processEvents();
    }
}

class ScriptedDialogs : public ItemFileDialogs {
public:
    std::optional<std::string> ChooseOpenPath() override { return Next(); }
    std::optional<std::string> ChooseSavePath() override { return Next(); }
    std::deque<std::optional<std::string>> Paths;

private:
    std::optional<std::string> Next()
    {
        if (Paths.empty())
            return std::nullopt;
        auto p = Paths.front();
        Paths.pop_front();
        return p;
    }
};

class ItemsAreaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_area = std::make_unique<ItemsArea>(m_ctx, m_tables, m_ui);
        m_area->SetFileDialogs(m_dialogs);
        m_area->resize(1200, 600);
        m_area->show();
        QApplication::processEvents();
    }

    // Fresh default tables with the given texts, the cursor on (col, row) in
    // navigation mode, the focus on the grid.
    void Start(ItemGridView* grid, int col, int row, const std::vector<std::tuple<int, int, std::string>>& cells = {})
    {
        ClearGrid(GridKind::Plu, m_tables.Plu);
        ClearGrid(GridKind::Dept, m_tables.Dept);
        CellTable& table = grid->Model()->Table();
        for (const auto& [c, r, text] : cells)
            table.SetCell(c, r, text);
        m_area->RefreshFromTables();
        grid->SetCurrentCell(col, row);
        grid->setFocus();
        m_tables.Modified = false;
        m_ui.Beeps = 0;
        QApplication::processEvents();
    }

    static std::pair<int, int> Current(ItemGridView* grid)
    {
        const QModelIndex index = grid->currentIndex();
        return {grid->Model()->TableCol(index), grid->Model()->TableRow(index)};
    }

    AppContext m_ctx;
    ItemTables m_tables;
    RecordingUi m_ui;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<ItemsArea> m_area;
};

TEST_F(ItemsAreaTest, EditingRules)
{
    struct Case {
        const char* What;
        bool Dept;
        int Col, Row;
        std::vector<std::tuple<int, int, std::string>> Cells;
        QString Script;
        int CheckCol, CheckRow; // the cell whose text is checked
        std::string Text;
        std::pair<int, int> Cursor;
        bool Editing;
        int Beeps;
        bool Modified;
    };
    const Case cases[] = {
        {"type-over and Enter", false, 3, 1, {}, "5<Enter>", 3, 1, "5.00", {4, 1}, false, 0, true},
        {"bound refused", false, 3, 1, {}, "1000000<Enter>", 3, 1, "1000000", {3, 1}, true, 1, true},
        {"barcode zeros", false, 4, 1, {}, "0012345<Enter>", 4, 1, "12345", {5, 1}, false, 0, true},
        {"letter over a price", false, 3, 1, {{3, 1, "7.00"}}, "a", 3, 1, "", {3, 1}, true, 0, true},
        {"... then Enter", false, 3, 1, {{3, 1, "7.00"}}, "a<Enter>", 3, 1, "0.00", {4, 1}, false, 0, true},
        {"F2 keeps the text", false, 1, 1, {{1, 1, "Milk"}}, "<F2><End>s<Enter>", 1, 1, "Milks", {2, 1}, false, 0, true},
        {"F2 selects all", false, 1, 1, {{1, 1, "Milk"}}, "<F2>x", 1, 1, "x", {1, 1}, true, 0, true},
        {"double-click", false, 1, 2, {{1, 2, "Tea"}}, "<dbl><End>s", 1, 2, "Teas", {1, 2}, true, 0, true},
        {"full name refuses", false, 1, 1, {{1, 1, "123456789012"}}, "<F2><End>x<Enter>", 1, 1, "123456789012", {2, 1}, false, 0, false},
        {"Enter wraps", false, 8, 1, {}, "<Enter>", 8, 1, "0.00", {1, 2}, false, 0, false},
        {"Enter in the last cell", false, 8, 3000, {}, "<Enter>", 8, 3000, "0.00", {8, 3000}, false, 0, false},
        {"Up in row 1", false, 2, 1, {}, "3<Up>", 2, 1, "3", {2, 1}, false, 0, true},
        {"Down in row 3000", false, 2, 3000, {}, "4<Down>", 2, 3000, "4", {2, 3000}, false, 0, true},
        {"Down moves", false, 3, 5, {}, "2<Down>", 3, 5, "2.00", {3, 6}, false, 0, true},
        {"Up refused", false, 2, 5, {}, "9<Up>", 2, 5, "9", {2, 5}, true, 1, true},
        {"arrow off a bad cell", false, 3, 2, {{3, 2, "abc"}}, "<Right>", 3, 2, "abc", {3, 2}, true, 1, false},
        {"click off a bad cell", false, 3, 2, {{3, 2, "abc"}}, "<click 1,1>", 3, 2, "abc", {3, 2}, true, 1, false},
        {"click commits", false, 3, 2, {{3, 2, "5"}}, "<click 1,1>", 3, 2, "5.00", {1, 1}, false, 0, false},
        {"arrow commits", false, 3, 2, {{3, 2, "5"}}, "<Right>", 3, 2, "5.00", {4, 2}, false, 0, false},
        {"one minus, one separator", false, 3, 1, {}, "-1-..5<Enter>", 3, 1, "-1.50", {4, 1}, false, 0, true},
        {"12-3 refused on commit", false, 3, 1, {}, "12-3<Enter>", 3, 1, "12-3", {3, 1}, true, 1, true},
        {"Department 9", false, 2, 1, {}, "9<Enter>", 2, 1, "9", {2, 1}, true, 1, true},
        {"Delete goes to the editor", false, 1, 1, {{1, 1, "Milk"}}, "<F2><End><BS><Del><Enter>", 1, 1, "Mil", {2, 1}, false, 0, true},
        {"Escape restores", false, 1, 1, {{1, 1, "Milk"}}, "<F2>xyz<Esc><Enter>", 1, 1, "Milk", {2, 1}, false, 0, true},
        {"dept tax 0", true, 3, 1, {}, "0<Enter>", 3, 1, "0", {3, 1}, true, 1, true},
        {"dept tax empty", true, 3, 1, {{3, 1, "5"}}, "<F2><Del><Enter>", 3, 1, "", {4, 1}, false, 0, true},
        {"no byte for it", false, 1, 1, {}, QString::fromUtf8("\u0416"), 1, 1, "", {1, 1}, true, 1, true},
        {"code page letter", false, 1, 1, {}, QString::fromUtf8("Caf\u00e9<Enter>"), 1, 1, "Caf\xE9", {2, 1}, false, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ItemGridView* grid = c.Dept ? m_area->DeptGrid() : m_area->PluGrid();
        Start(grid, c.Col, c.Row, c.Cells);
        Play(grid, c.Script);
        EXPECT_EQ(grid->Model()->Table().Cell(c.CheckCol, c.CheckRow), c.Text);
        EXPECT_EQ(Current(grid), c.Cursor);
        EXPECT_EQ(grid->IsEditing(), c.Editing);
        EXPECT_EQ(m_ui.Beeps, c.Beeps);
        EXPECT_EQ(m_tables.Modified, c.Modified);
        grid->DropEditor();
    }
}

TEST_F(ItemsAreaTest, DeleteResetsTheSelectedBlock)
{
    ItemGridView* grid = m_area->PluGrid();
    Start(grid, 1, 2);
    FillSampleData(m_tables);
    m_area->RefreshFromTables();
    grid->SetCurrentCell(1, 2);
    grid->setFocus();
    // Shift and the arrows span the block from the cursor (1,2) to (3,4).
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
        QTest::keyClick(grid, key, Qt::ShiftModifier);
    Play(grid, "<Del>");
    for (int row = 2; row <= 4; ++row) {
        EXPECT_EQ(m_tables.Plu.Cell(1, row), "");
        EXPECT_EQ(m_tables.Plu.Cell(2, row), "1");
        EXPECT_EQ(m_tables.Plu.Cell(3, row), "0.00");
        EXPECT_EQ(m_tables.Plu.Cell(4, row), "1234567890" + std::string("00") + std::to_string(row));
    }
    EXPECT_EQ(m_tables.Plu.Cell(1, 5), "PLU-5");
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "PLU-1");
    EXPECT_TRUE(m_tables.Modified) << "Delete is an unsaved change";

    // A block dragged with the mouse: Name and Department of rows 6 and 7.
    const QPoint from = grid->visualRect(grid->Model()->index(5, 0)).center();
    const QPoint to = grid->visualRect(grid->Model()->index(6, 1)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(grid->viewport(), to);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
    Play(grid, "<Del>");
    EXPECT_EQ(m_tables.Plu.Cell(1, 6), "");
    EXPECT_EQ(m_tables.Plu.Cell(2, 7), "1");
    EXPECT_EQ(m_tables.Plu.Cell(3, 7), "70.00");
    EXPECT_EQ(m_tables.Plu.Cell(1, 8), "PLU-8");
    // The view shows what the table holds.
    QApplication::processEvents();
    EXPECT_EQ(grid->Model()->data(grid->Model()->index(0, 0), Qt::DisplayRole).toString(), "PLU-1");
}

TEST_F(ItemsAreaTest, FocusAndTab)
{
    ItemGridView* plu = m_area->PluGrid();
    ItemGridView* dept = m_area->DeptGrid();
    Start(plu, 3, 1);
    Play(plu, "5<Tab>");
    EXPECT_TRUE(dept->hasFocus() || dept->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(m_tables.Plu.Cell(3, 1), "5.00") << "leaving the grid commits";
    EXPECT_FALSE(plu->IsEditing());

    Start(plu, 2, 1);
    Play(plu, "9<Tab>");
    QApplication::processEvents();
    EXPECT_EQ(m_ui.Beeps, 1);
    EXPECT_TRUE(plu->IsEditing());
    EXPECT_EQ(QApplication::focusWidget(), plu->Editor()) << "a refused commit takes the focus back";

    // CheckActiveGrid commits the focused grid's cell and tells whether it took it.
    EXPECT_FALSE(m_area->CheckActiveGrid());
    plu->Editor()->setText("3");
    EXPECT_TRUE(m_area->CheckActiveGrid());
    EXPECT_EQ(m_tables.Plu.Cell(2, 1), "3");
}

TEST_F(ItemsAreaTest, MovedRowTakesTheNumberOfItsPlace)
{
    ItemGridView* grid = m_area->DeptGrid();
    Start(grid, 1, 1);
    FillSampleData(m_tables);
    m_area->RefreshFromTables();
    grid->verticalHeader()->moveSection(1, 4); // drag row 2 to row 5
    EXPECT_EQ(m_tables.Dept.Cell(1, 2), "Deptment-3");
    EXPECT_EQ(m_tables.Dept.Cell(1, 5), "Deptment-2");
    EXPECT_EQ(grid->verticalHeader()->visualIndex(4), 4) << "row numbers stay in order";
    EXPECT_EQ(grid->Model()->headerData(4, Qt::Vertical, Qt::DisplayRole).toString(), "5");
    EXPECT_TRUE(m_tables.Modified) << "a moved row is an unsaved change";
}

TEST_F(ItemsAreaTest, FileCommandsThroughTheWindow)
{
    const fs::path dir = fs::temp_directory_path() / ("itemsarea-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    QSignalSpy titles(m_area.get(), &ItemsArea::titleChanged);
    ItemGridView* grid = m_area->PluGrid();

    Start(grid, 1, 1);
    Play(grid, "Milk<Enter>");
    ASSERT_TRUE(m_tables.Modified);
    m_ui.Answers = {Answer::Cancel};
    m_area->NewItemClick();
    EXPECT_EQ(m_ui.Questions.back(), "File has not been saved,save it now?");
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "Milk");
    EXPECT_EQ(titles.count(), 0);

    // Yes while a refused cell is being edited: the question's save stops at the grid.
    grid->SetCurrentCell(2, 1);
    grid->setFocus();
    Play(grid, "9");
    m_ui.Answers = {Answer::Yes};
    m_area->NewItemClick();
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "Milk");
    ASSERT_TRUE(grid->IsEditing());

    grid->Editor()->setText("2");
    const std::string path = (dir / "SHOP.PLU").string();
    m_dialogs.Paths = {path};
    m_area->SaveasItemClick();
    EXPECT_EQ(m_tables.Plu.Cell(2, 1), "2");
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.last().at(0).toString().toStdString(), std::string(kTitleText) + "~[" + path + "]");
    EXPECT_FALSE(m_tables.Modified);

    m_ui.Answers = {};
    m_area->NewItemClick();
    EXPECT_EQ(titles.last().at(0).toString(), kTitleText);
    EXPECT_EQ(m_tables.Plu.Cell(1, 1), "");
    m_dialogs.Paths = {path};
    m_area->OpenItemClick();
    QApplication::processEvents();
    EXPECT_EQ(grid->Model()->data(grid->Model()->index(0, 0), Qt::DisplayRole).toString(), "Milk");
    EXPECT_EQ(grid->Model()->data(grid->Model()->index(0, 1), Qt::DisplayRole).toString(), "2");
    fs::remove_all(dir);
}

TEST_F(ItemsAreaTest, RecyclingDialog)
{
    TRecyForm* form = m_area->RecyForm();
    m_tables.RecyTable[0].PluNumber = "4";
    form->FillGrid();
    form->show();
    QApplication::processEvents();
    ItemGridView* grid = form->Grid();
    grid->SetCurrentCell(0, 1);
    grid->setFocus();
    EXPECT_EQ(form->size(), QSize(634, 477));
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(2), 198);
    EXPECT_EQ(grid->verticalHeader()->sectionSize(0), 20);

    Play(grid, "51");
    auto* ok = form->findChild<QPushButton*>("OKBtn");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(form->isVisible()) << "51 is refused, the dialog stays";
    EXPECT_EQ(m_ui.Beeps, 1);
    EXPECT_EQ(m_tables.RecyTable[0].PluNumber, "4");
    grid->Editor()->setText("50");
    Play(grid, "<Enter>7");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(m_tables.RecyTable[0].PluNumber, "50");
    EXPECT_EQ(m_tables.RecyTable[0].PackagePrice, "7.00");
    EXPECT_FALSE(m_tables.Modified) << "the recycling dialog never sets Modified";

    form->FillGrid();
    form->show();
    grid->setFocus();
    Play(grid, "9");
    form->reject();
    EXPECT_EQ(m_tables.RecyTable[0].PluNumber, "50") << "Cancel discards";

    // Through the menu command, changes confirmed with OK are unsaved changes.
    m_tables.Modified = false;
    QTimer::singleShot(0, form, [form] { form->reject(); });
    m_area->RecyItemClick();
    EXPECT_FALSE(m_tables.Modified);
    QTimer::singleShot(0, form, [form] { form->accept(); });
    m_area->RecyItemClick();
    EXPECT_FALSE(m_tables.Modified) << "OK without a change";
    QTimer::singleShot(0, form, [this, form] {
        form->Grid()->SetCurrentCell(0, 2);
        form->Grid()->setFocus();
        Play(form->Grid(), "12<Enter>");
        form->accept();
    });
    m_area->RecyItemClick();
    EXPECT_EQ(m_tables.RecyTable[1].PluNumber, "12");
    EXPECT_TRUE(m_tables.Modified);
}

TEST_F(ItemsAreaTest, FontAndSizing)
{
    ItemGridView* grid = m_area->PluGrid();
    const int nameWidth = grid->horizontalHeader()->sectionSize(0);
    const int rowHeight = grid->verticalHeader()->sectionSize(0);

    // Cancelling the font dialog changes nothing.
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    m_area->FontItemClick();
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(0), nameWidth);

    QFont big = m_area->GridFont();
    big.setPointSizeF(big.pointSizeF() * 2);
    m_area->SetGridFont(big);
    const QFontMetrics metrics(big);
    EXPECT_EQ(m_area->DeptGrid()->font(), big) << "both grids share the font";
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(0), metrics.averageCharWidth() * 12 * 3 / 2);
    EXPECT_EQ(grid->verticalHeader()->sectionSize(2999), metrics.height() + metrics.leading() + 4);
    EXPECT_GT(grid->horizontalHeader()->sectionSize(0), nameWidth);
    EXPECT_GT(grid->verticalHeader()->sectionSize(0), rowHeight);
    // One-character columns are as wide as their titles plus 4.
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(1), metrics.horizontalAdvance("Department") + 4);

    // A longer translated title widens its column.
    m_ctx.UiTexts.PluTitles[5] = "A much longer flag title";
    m_area->ApplyTitles();
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(4), metrics.horizontalAdvance("A much longer flag title") + 4);
}

TEST_F(ItemsAreaTest, Screenshots)
{
    FillSampleData(m_tables);
    m_area->RefreshFromTables();
    QApplication::processEvents();
    EXPECT_EQ(m_area->Splitter()->sizes().value(1), 400);
    EXPECT_EQ(m_area->Splitter()->handleWidth(), 2);
    m_area->PluGrid()->SetCurrentCell(3, 2);
    test::SaveScreenshot(*m_area, "items-area");
    // A title wider than its dragged-narrow column is drawn from the left and cut.
    const int departmentWidth = m_area->PluGrid()->horizontalHeader()->sectionSize(1);
    m_area->PluGrid()->horizontalHeader()->resizeSection(1, 30);
    test::SaveScreenshot(*m_area->PluGrid(), "items-narrow-column");
    m_area->PluGrid()->horizontalHeader()->resizeSection(1, departmentWidth);

    m_area->RecyForm()->FillGrid();
    m_area->RecyForm()->show();
    QApplication::processEvents();
    test::SaveScreenshot(*m_area->RecyForm(), "items-recycling");
    m_area->RecyForm()->hide();

    QFont big = m_area->GridFont();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    m_area->SetGridFont(big);
    QApplication::processEvents();
    test::SaveScreenshot(*m_area, "items-larger-font");
}

TEST(ItemsInMainWindow, MenusAndHiddenSampleFill)
{
    AppContext context;
    context.Dirs = ProgramDirsAt(test::FreshHome("items-main"));
    TMainForm form(context);
    form.resize(1280, 760);
    form.show();
    QApplication::processEvents();
    for (const char* name : {"NewItem", "OpenItem", "SaveItem", "SaveasItem", "RecyItem", "FontItem", "NewBtn", "SaveBtn"})
        EXPECT_TRUE(form.Action(name)->isEnabled()) << name;
    QTest::keyClick(&form, Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(form.Tables().Plu.Cell(1, 3000), "PLU-3000");
    EXPECT_EQ(form.Tables().Dept.Cell(1, 8), "Deptment-8");
    EXPECT_FALSE(form.Tables().Modified);
    test::SaveScreenshot(form, "items-main-window");
}

} // namespace
} // namespace plu
