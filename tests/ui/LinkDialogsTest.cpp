// The progress dialog, the link dialogs and the Test command as a user drives them.
#include "tests/core/TestFiles.h"
#include "tests/core/TestUserInterface.h"
#include "link/CommSetting.h"
#include "link/PortNames.h"
#include "link/ui/CommDlg.h"
#include "link/ui/DataDlg.h"
#include "link/ui/DetectPortDlg.h"
#include "link/ui/ProgressForm.h"
#include "shell/SystemConfig.h"
#include "shell/ui/MainForm.h"
#include "shell/ui/QtUserInterface.h"
#include "transfer/ui/DownloadDlg.h"
#include "transfer/ui/ParaDlg.h"
#include "transfer/ui/UploadDlg.h"
#include "items/ui/ItemGridView.h"
#include "items/ui/ItemTableModel.h"
#include "items/ui/ItemsArea.h"
#include "sim/MasterData.h"
#include "sim/RegisterSimulator.h"
#include "sim/SimulatorSetup.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QListWidget>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace plu {
namespace {

using test::ReadFile;

int CountOf(const std::string& text, const std::string& what)
{
    int count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++count;
    return count;
}

bool IsRed(QLabel* label) { return label->palette().color(QPalette::Window) == QColor(Qt::red); }

// Repeats step every 10 ms while a modal loop runs, until it returns true.
void WhileModal(std::function<bool()> step)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
        if (step()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// The tests' user interface, letting Qt handle its events while a dialog waits.
struct PumpingUi : test::TestUserInterface {
    PumpingUi() { OnProcessEvents = [] { QApplication::processEvents(); }; }
};

TEST(ProgressForm, CountersBarAndTheTwoFormsOfTheStatus)
{
    QWidget mainWindow;
    QtUserInterface ui(&mainWindow);
    TProgressForm form(&mainWindow);
    ui.SetProgressForm(&form);
    mainWindow.show();

    ui.ShowProgress();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowModality(), Qt::ApplicationModal) << "the main window takes no input meanwhile";
    EXPECT_EQ(ui.GetProgressState(), ProgressState::Running);
    EXPECT_EQ(form.CurLabel()->text(), "0");
    EXPECT_EQ(form.TotalLabel()->text(), "0");

    ui.SetStatus(false, "Receive Data...");
    ui.SetTotal(5);
    ui.SetCurrent(3);
    EXPECT_EQ(form.CurLabel()->text(), "3");
    EXPECT_EQ(form.TotalLabel()->text(), "5");
    EXPECT_EQ(form.ProgressBar()->text(), "60%");
    EXPECT_EQ(form.StatusLabel()->text(), "Receive Data...");
    EXPECT_EQ(form.windowTitle(), "Receive Data...");
    EXPECT_TRUE(form.CancelBtn()->isVisible());
    EXPECT_FALSE(form.OkBtn()->isVisible());
    EXPECT_FALSE(IsRed(form.StatusLabel()));
    test::SaveScreenshot(form, "progress-normal");

    ui.SetTotal(0);
    EXPECT_EQ(form.CurLabel()->text(), "0");
    EXPECT_EQ(form.TotalLabel()->text(), "0");
    EXPECT_EQ(form.ProgressBar()->value(), 0);

    ui.SetStatus(true, "Receive Data...Error!");
    EXPECT_EQ(ui.GetProgressState(), ProgressState::ErrorShown);
    EXPECT_EQ(form.StatusLabel()->text(), "Receive Data...Error!");
    EXPECT_EQ(form.windowTitle(), "Receive Data...Error!");
    EXPECT_TRUE(IsRed(form.StatusLabel()));
    EXPECT_TRUE(form.OkBtn()->isVisible());
    EXPECT_FALSE(form.CancelBtn()->isVisible());
    EXPECT_EQ(form.OkBtn()->geometry().right(), form.CancelBtn()->geometry().right()) << "OK takes Cancel's place";
    test::SaveScreenshot(form, "progress-error");

    // A normal status brings the running form back.
    ui.SetStatus(false, "Connect...");
    EXPECT_EQ(ui.GetProgressState(), ProgressState::Running);
    EXPECT_FALSE(IsRed(form.StatusLabel()));
    EXPECT_TRUE(form.CancelBtn()->isVisible());

    ui.SetStatus(true, "Connect...Error!");
    QTest::mouseClick(form.OkBtn(), Qt::LeftButton);
    EXPECT_EQ(ui.GetProgressState(), ProgressState::Closed);
    EXPECT_FALSE(form.isVisible());

    // The next command starts with the running form.
    ui.ShowProgress();
    EXPECT_TRUE(form.CancelBtn()->isVisible());
    EXPECT_FALSE(form.OkBtn()->isVisible());
    EXPECT_FALSE(IsRed(form.StatusLabel()));
}

TEST(ProgressForm, AfterCancelNothingChangesAndTheErrorWaitEndsAtOnce)
{
    QWidget mainWindow;
    QtUserInterface ui(&mainWindow);
    int cancels = 0;
    ui.OnCancel = [&] { ++cancels; };
    TProgressForm form(&mainWindow);
    ui.SetProgressForm(&form);

    ui.ShowProgress();
    ui.SetStatus(false, "Connect...");
    QTest::mouseClick(form.CancelBtn(), Qt::LeftButton);
    EXPECT_EQ(cancels, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ui.GetProgressState(), ProgressState::Closed);

    ui.SetStatus(false, "Disconnect...");
    ui.SetStatus(true, "Connect...Error!");
    EXPECT_EQ(form.StatusLabel()->text(), "Connect...");
    EXPECT_FALSE(IsRed(form.StatusLabel()));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ui.GetProgressState(), ProgressState::Closed);
    QElapsedTimer clock;
    clock.start();
    WaitUntilProgressClosed(ui);
    EXPECT_LT(clock.elapsed(), 50);

    // Esc acts as the button on show.
    ui.ShowProgress();
    ui.SetStatus(true, "Connect...Error!");
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(ui.GetProgressState(), ProgressState::Closed);
    EXPECT_EQ(cancels, 1) << "Esc on the error form is OK, not Cancel";
}

// The main window with the register simulator behind its configured port COM2.
class LinkWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = test::FreshHome(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::ofstream(home / "SYSTEM.CFG") << "[Comm]\r\nPort=2\r\nBaudRate=0\r\n[Ports]\r\nCOM1=" << (home / "none1").string()
                                           << "\r\nCOM2=" << (home / "tty2").string() << "\r\nCOM3=" << (home / "none3").string()
                                           << "\r\nCOM4=/dev/ttyUSB7\r\n";
        context = MakeAppContext(ProgramDirsAt(home));
        sim::InstallRegister(simulator);
        std::string error;
        ASSERT_TRUE(simulator.Start(home / "tty2", error)) << error;
    }
    void TearDown() override
    {
        simulator.Stop();
        std::filesystem::remove_all(home);
    }

    std::filesystem::path home;
    AppContext context;
    sim::RegisterSimulator simulator;
};

TEST_F(LinkWindowTest, TestAgainstARegisterThatNeverAcknowledgesEndsRedWithOk)
{
    // Every attempt is refused after 30 ms: the whole hunt takes about 0.6 s.
    sim::Faults faults;
    faults.Nak = -1;
    faults.Late = -1;
    faults.LateMs = 30;
    simulator.SetFaults(faults);
    TMainForm window(context);
    window.show();
    TProgressForm* form = window.ProgressForm();
    QStringList seen;
    WhileModal([&] {
        if (!form->isVisible())
            return false;
        if (seen.isEmpty() || seen.back() != form->StatusLabel()->text())
            seen << form->StatusLabel()->text();
        if (form->State() != ProgressState::ErrorShown)
            return false;
        EXPECT_TRUE(IsRed(form->StatusLabel()));
        EXPECT_TRUE(form->OkBtn()->isVisible());
        EXPECT_TRUE(window.KodoIBusComm1().IsActive()) << "the port stays open until OK";
        QTest::mouseClick(form->OkBtn(), Qt::LeftButton);
        return true;
    });
    window.Action("TestItem")->trigger();

    EXPECT_EQ(seen, (QStringList{"Connect...", "Connect...Error!"}));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(window.KodoIBusComm1().IsActive());
    EXPECT_EQ(CountOf(ReadFile(context.Dirs.DebugLog()), ">>>>>>Send data<<<<<<<<"), 21);
}

TEST_F(LinkWindowTest, CancelDuringTheSpeedHuntClosesAtOnceAndShowsNoError)
{
    sim::Faults faults;
    faults.Silent = -1;
    simulator.SetFaults(faults);
    TMainForm window(context);
    window.show();
    TProgressForm* form = window.ProgressForm();
    QElapsedTimer clock;
    qint64 cancelledAt = 0;
    bool sawError = false;
    WhileModal([&] {
        if (form->State() == ProgressState::ErrorShown)
            sawError = true;
        if (!form->isVisible() || clock.elapsed() < 1000)
            return false;
        cancelledAt = clock.elapsed();
        QTest::mouseClick(form->CancelBtn(), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible()) << "the dialog goes at once";
        return true;
    });
    clock.start();
    window.Action("TestItem")->trigger();

    EXPECT_GT(cancelledAt, 0);
    EXPECT_LT(clock.elapsed() - cancelledAt, 300) << "the wait in progress ends on Cancel";
    EXPECT_FALSE(sawError);
    EXPECT_EQ(form->State(), ProgressState::Closed);
    EXPECT_FALSE(window.KodoIBusComm1().IsActive());
}

TEST_F(LinkWindowTest, TestThatSucceedsLeavesTheTraceOfOneSession)
{
    TMainForm window(context);
    window.show();
    window.Action("TestItem")->trigger();
    EXPECT_FALSE(window.ProgressForm()->isVisible());
    const auto received = simulator.Received();
    ASSERT_EQ(received.size(), 3u) << "connect, identification read, disconnect";
    EXPECT_EQ(received[2].Message[7], 0);
    EXPECT_EQ(CountOf(ReadFile(context.Dirs.DebugLog()), ">>>>>>Receive data<<<<<<<<"), 3);
}

TEST_F(LinkWindowTest, SettingDialogReloadsOnEveryOpenAndWritesPortThenBaudRateOnOk)
{
    PumpingUi ui;
    TCommDlg dlg(context, ui, MakeDeviceResolver(context.Dirs.SystemCfg()));
    EXPECT_EQ(dlg.windowTitle(), "Communication setting");
    EXPECT_FALSE(dlg.ParityRG()->isEnabled());
    EXPECT_FALSE(dlg.StopBitsRG()->isEnabled());

    // Cancel: the values still follow the file.
    std::ofstream(home / "SYSTEM.CFG") << "[Comm]\r\nBaudRate=4\r\nPort=3\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n";
    const std::string before = ReadFile(home / "SYSTEM.CFG");
    context.PortNumber = 1;
    context.BaudRateIndex = 0;
    QStringList labels;
    WhileModal([&] {
        if (!dlg.isVisible())
            return false;
        for (int i = 0; i < dlg.PortCB()->count(); ++i)
            labels << dlg.PortCB()->itemText(i);
        EXPECT_EQ(dlg.PortCB()->currentIndex(), 3);
        EXPECT_EQ(dlg.BaudRateRG()->checkedId(), 4);
        test::SaveScreenshot(dlg, "setting-dialog");
        dlg.reject();
        return true;
    });
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(context.PortNumber, 3);
    EXPECT_EQ(context.BaudRateIndex, 4);
    EXPECT_EQ(ReadFile(home / "SYSTEM.CFG"), before);
    EXPECT_EQ(labels, (QStringList{"None", "COM1 (/dev/ttyUSB0)", "COM2 (/dev/ttyS1)", "COM3 (/dev/ttyS2)", "COM4 (/dev/ttyS3)"}));

    // OK on a fresh file: Port is written before BaudRate.
    std::filesystem::remove(home / "SYSTEM.CFG");
    WhileModal([&] {
        if (!dlg.isVisible())
            return false;
        dlg.PortCB()->setCurrentIndex(4);
        dlg.BaudRateRG()->button(1)->click();
        dlg.accept();
        return true;
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(context.PortNumber, 4);
    EXPECT_EQ(context.BaudRateIndex, 1);
    EXPECT_EQ(ReadFile(home / "SYSTEM.CFG"), "[Comm]\r\nPort=4\r\nBaudRate=1\r\n");
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(LinkWindowTest, SettingDialogKeepsAConfiguredPortAboveFour)
{
    PumpingUi ui;
    TCommDlg dlg(context, ui, MakeDeviceResolver(context.Dirs.SystemCfg()));
    std::ofstream(home / "SYSTEM.CFG") << "[Comm]\r\nPort=7\r\nBaudRate=2\r\n";
    QString shown;
    WhileModal([&] {
        if (!dlg.isVisible())
            return false;
        shown = dlg.PortCB()->currentText();
        dlg.accept();
        return true;
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(shown, "COM7 (no device)");
    EXPECT_EQ(ReadCommSettings(IniFile(home / "SYSTEM.CFG")).PortNumber, 7);
}

TEST_F(LinkWindowTest, ClosingDetectionWhileCom2IsTestedStopsTheSearch)
{
    sim::Faults faults;
    faults.Silent = -1;
    simulator.SetFaults(faults);
    PumpingUi ui;
    TDetectPortDlg dlg(context, ui, MakeDeviceResolver(context.Dirs.SystemCfg()));
    EXPECT_EQ(dlg.windowTitle(), "Detect port");
    EXPECT_FALSE(dlg.KodoIBusComm1().TraceEnabled);
    bool clickedDetect = false;
    WhileModal([&] {
        if (!dlg.isVisible())
            return false;
        if (!clickedDetect) {
            clickedDetect = true;
            // The search runs inside this click, in the dialog's modal loop.
            QTimer::singleShot(0, dlg.DetectBtn(), [&] { QTest::mouseClick(dlg.DetectBtn(), Qt::LeftButton); });
            return false;
        }
        if (dlg.Edit(2)->text() != "Testing...")
            return false;
        EXPECT_FALSE(dlg.DetectBtn()->isEnabled());
        test::SaveScreenshot(dlg, "detect-dialog");
        QTest::mouseClick(dlg.CloseBtn(), Qt::LeftButton);
        return true;
    });
    QElapsedTimer clock;
    clock.start();
    dlg.Execute();

    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(dlg.Edit(1)->text(), "No kodo found.");
    EXPECT_EQ(dlg.Edit(2)->text(), "Testing...");
    EXPECT_EQ(dlg.Edit(3)->text(), "");
    EXPECT_EQ(dlg.Edit(4)->text(), "");
    EXPECT_EQ(ui.Messages.size(), 1u) << "only COM1's open error: COM3 is not tried";
    EXPECT_TRUE(ui.Questions.empty());
    EXPECT_TRUE(dlg.DetectBtn()->isEnabled());
}

// Receives what the program hands to the desktop's viewer.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls << url; }
};

TEST_F(LinkWindowTest, CtrlAltF6DumpsTheRangeAndOpensTheListing)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    TMainForm window(context);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    TDataDlg* dlg = window.DataDlg();
    WhileModal([&] {
        if (!dlg->isVisible())
            return false;
        EXPECT_EQ(dlg->windowTitle(), "Upload data range");
        dlg->Edit1()->setText("10");
        dlg->Edit2()->setText("2");
        dlg->accept();
        return true;
    });
    QTest::keyClick(&window, Qt::Key_F6, Qt::ControlModifier | Qt::AltModifier);
    QDesktopServices::unsetUrlHandler("file");

    ASSERT_EQ(catcher.Urls.size(), 1);
    EXPECT_EQ(catcher.Urls[0].toLocalFile().toStdString(), (home / "TEMP.LOG").string());
    const std::string listing = ReadFile(home / "TEMP.LOG");
    EXPECT_EQ(listing.substr(0, 10), "00001000  ");
    EXPECT_EQ(listing.size(), 32u * 76);
    EXPECT_EQ(ReadFile(home / "TEMP.BIN").size(), 512u);
    EXPECT_FALSE(window.ProgressForm()->isVisible());
}

TEST_F(LinkWindowTest, UploadAndParameterCommandsRunFromTheWindow)
{
    simulator.WithState([](sim::RegisterState& state) {
        sim::SetDepartment(state, 3, {"BREAD", 0, 1, 0, 0, 0, 0});
        return 0;
    });
    TMainForm window(context);
    window.show();

    // F6: departments from the register into the grid.
    WhileModal([&] {
        TUploadDlg* dlg = window.UploadDlg();
        if (!dlg->isVisible())
            return false;
        dlg->CheckListBox1()->item(1)->setCheckState(Qt::Checked);
        dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return true;
    });
    window.Action("UploadItem")->trigger();
    EXPECT_FALSE(window.ProgressForm()->isVisible());
    ItemTableModel* depts = window.Items()->DeptGrid()->Model();
    QStringList row3;
    for (int col = 0; col < depts->columnCount(); ++col)
        row3 << depts->data(depts->index(2, col), Qt::DisplayRole).toString().trimmed(); // table row 3
    EXPECT_TRUE(row3.contains("BREAD")) << row3.join('|').toStdString();

    // The parameter command saves the dialog and downloads the block from SYSTEM.CFG.
    WhileModal([&] {
        TParaDlg* dlg = window.ParaDlg();
        if (!dlg->isVisible())
            return false;
        dlg->HeaderEd(1)->setText("WELCOME");
        dlg->DownloadBtn()->click();
        return true;
    });
    window.Action("ParameterItem")->trigger();
    EXPECT_FALSE(window.ProgressForm()->isVisible());
    const auto block = simulator.WithState([](sim::RegisterState& state) {
        auto b = sim::ParameterBlock(state);
        return std::vector<std::uint8_t>(b.begin(), b.end());
    });
    EXPECT_EQ(std::string(block.begin() + 5, block.begin() + 12), "WELCOME");
}

TEST(DataDlg, KeyFilterBadNumbersAndValuesKeptWithinARun)
{
    PumpingUi ui;
    TDataDlg dlg(ui);
    EXPECT_EQ(dlg.Edit1()->text(), "0");
    EXPECT_EQ(dlg.Edit2()->text(), "8");
    EXPECT_EQ(dlg.RadioGroup1()->checkedId(), 0);

    dlg.Edit1()->clear();
    QTest::keyClicks(dlg.Edit1(), "1G 2fx");
    EXPECT_EQ(dlg.Edit1()->text(), "12f");
    QTest::keyClicks(dlg.Edit1(), "a9");
    EXPECT_EQ(dlg.Edit1()->text(), "12fa") << "four hexadecimal digits at most";
    QTest::keyClick(dlg.Edit1(), Qt::Key_Backspace);
    EXPECT_EQ(dlg.Edit1()->text(), "12f");

    QString caption;
    WhileModal([&] {
        if (!dlg.isVisible())
            return false;
        caption = dlg.windowTitle();
        dlg.Edit2()->setText("3");
        dlg.RadioGroup1()->button(1)->click();
        dlg.accept();
        return true;
    });
    ASSERT_TRUE(dlg.Execute("Upload data range"));
    EXPECT_EQ(caption, "Upload data range");
    EXPECT_EQ(dlg.Range.BaseAddress, 0x12F);
    EXPECT_EQ(dlg.Range.PackageCount, 3);
    EXPECT_EQ(dlg.Range.Memory, MemoryKind::Ram);

    // The next use shows what was typed; an empty base address beeps and ends.
    QString keptBase;
    WhileModal([&] {
        if (!dlg.isVisible())
            return false;
        keptBase = dlg.Edit1()->text();
        dlg.Edit1()->clear();
        dlg.accept();
        return true;
    });
    EXPECT_FALSE(dlg.Execute("Upload data range"));
    EXPECT_EQ(keptBase, "12f");
    EXPECT_EQ(ui.Beeps, 1);
}

} // namespace
} // namespace plu

#include "LinkDialogsTest.moc"
