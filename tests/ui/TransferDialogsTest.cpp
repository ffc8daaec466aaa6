// The download, upload and parameter dialogs as a user drives them.
#include "tests/core/TestUserInterface.h"
#include "shell/IniFile.h"
#include "shell/Locale.h"
#include "transfer/ui/DownloadDlg.h"
#include "transfer/ui/ParaDlg.h"
#include "transfer/ui/UploadDlg.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace plu {
namespace {

// Runs step on the open modal dialog as soon as it shows.
void OnceShown(QDialog& dialog, std::function<void()> step)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &dialog, step] {
        if (!dialog.isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step();
    });
    timer->start(5);
}

// The tests' user interface, letting Qt handle its events while a dialog waits.
struct RecordingUi : test::TestUserInterface {
    RecordingUi() { OnProcessEvents = [] { QApplication::processEvents(); }; }
};

void Check(QListWidget* list, int row, bool on)
{
    list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

QList<int> CheckedRows(QListWidget* list)
{
    QList<int> rows;
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->checkState() == Qt::Checked)
            rows << row;
    return rows;
}

class TransferDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = test::FreshHome(::testing::UnitTest::GetInstance()->current_test_info()->name());
        context.Dirs = ProgramDirsAt(home);
    }
    void TearDown() override { std::filesystem::remove_all(home); }

    std::filesystem::path home;
    AppContext context;
    RecordingUi ui;
};

TEST_F(TransferDialogsTest, DownloadMovesOneKindAtATimeAndShowsTheRangeOnlyForPlus)
{
    context.UiTexts.DownloadKindNames = {"Artikel", "Abteilung", "Pfand"};
    TDownloadDlg dlg(context, ui);
    EXPECT_EQ(dlg.windowTitle(), "Download data");
    OnceShown(dlg, [&] {
        QListWidget* list = dlg.CheckListBox1();
        EXPECT_EQ(list->item(0)->text(), "Artikel");
        EXPECT_EQ(list->item(2)->text(), "Pfand");
        EXPECT_TRUE(CheckedRows(list).isEmpty());
        EXPECT_FALSE(dlg.PLURangeGroupBox()->isVisible());
        Check(list, 0, true);
        EXPECT_TRUE(dlg.PLURangeGroupBox()->isVisible());
        Check(list, 2, true);
        EXPECT_EQ(CheckedRows(list), QList<int>{2});
        EXPECT_FALSE(dlg.PLURangeGroupBox()->isVisible());
        Check(list, 0, true);
        dlg.RangeBeginEdit()->setValue(20);
        dlg.RangeEndEdit()->setValue(30);
        test::SaveScreenshot(dlg, "download-dialog");
        QTest::keyClick(&dlg, Qt::Key_Return);
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.DownloadKinds(), kKindPlu);
    EXPECT_EQ(dlg.Request().From, 20);
    EXPECT_EQ(dlg.Request().To, 30);

    // The next use starts unchecked, with the range kept; Cancel reports failure.
    OnceShown(dlg, [&] {
        EXPECT_TRUE(CheckedRows(dlg.CheckListBox1()).isEmpty());
        EXPECT_EQ(dlg.RangeBeginEdit()->value(), 20);
        dlg.reject();
    });
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.DownloadKinds(), 0);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(TransferDialogsTest, ARangeEndingBeforeItsStartKeepsTheDialogOpenWhateverIsChosen)
{
    TUploadDlg dlg(context, ui);
    EXPECT_EQ(dlg.windowTitle(), "Upload data");
    OnceShown(dlg, [&] {
        Check(dlg.CheckListBox1(), 1, true); // departments only: the range is checked anyway
        dlg.RangeBeginEdit()->setValue(100);
        dlg.RangeEndEdit()->setValue(99);
        QTest::keyClick(&dlg, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(ui.Messages, std::vector<std::string>{"Invalid PLU range"});
        // Typed but not yet taken by the spin box still counts.
        dlg.RangeEndEdit()->selectAll();
        QTest::keyClicks(dlg.RangeEndEdit(), "100");
        QTest::keyClick(&dlg, Qt::Key_Return);
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.Request().From, 100);
    EXPECT_EQ(dlg.Request().To, 100);
    EXPECT_EQ(ui.Messages.size(), 1u);
}

TEST_F(TransferDialogsTest, UploadMayMoveEveryKindAtOnce)
{
    TUploadDlg dlg(context, ui);
    OnceShown(dlg, [&] {
        for (int row = 0; row < 3; ++row)
            Check(dlg.CheckListBox1(), row, true);
        EXPECT_EQ(CheckedRows(dlg.CheckListBox1()), (QList<int>{0, 1, 2}));
        EXPECT_TRUE(dlg.PLURangeGroupBox()->isVisible());
        dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.UploadKinds(), kKindPlu | kKindDepartment | kKindRecycling);
}

TEST_F(TransferDialogsTest, RatesWrittenByHandKeepTheirValueInTheMaskedEdits)
{
    for (char separator : {'.', ','}) {
        ScopedDecimalSeparator scoped(separator);
        const std::string sep(1, separator);
        std::ofstream(home / "SYSTEM.CFG", std::ios::trunc)
            << "[Default]\r\n-% rate=5" << sep << "5\r\n+% rate=7\r\nVAT1=19\r\nVAT2= 12" << sep << "50 \r\nVAT3=abc\r\n";
        TParaDlg dlg(context, ui);
        QStringList shown;
        OnceShown(dlg, [&] {
            shown << dlg.DecRateME()->displayText() << dlg.IncRateME()->displayText() << dlg.VATME(1)->displayText()
                  << dlg.VATME(2)->displayText() << dlg.VATME(3)->displayText();
            dlg.reject();
        });
        dlg.Execute();
        const QString s = QString::fromStdString(sep);
        EXPECT_EQ(shown, (QStringList{"05" + s + "50", "07" + s + "00", "19" + s + "00", "12" + s + "50", "00" + s + "00"}))
            << "separator " << separator;
        EXPECT_EQ(IniFile(home / "SYSTEM.CFG").ReadString("Default", "-% rate", ""), "05" + sep + "50") << "the value stays 5.5";
    }
}

TEST_F(TransferDialogsTest, ParameterDialogWritesEveryKeyHoweverItCloses)
{
    for (char separator : {'.', ','}) {
        SCOPED_TRACE(std::string("separator ") + separator);
        ScopedDecimalSeparator scoped(separator);
        const std::string sep(1, separator);
        std::ofstream(home / "SYSTEM.CFG", std::ios::trunc)
            << "[Default]\r\nHeader1=THE SHOP\r\nHeader2=Caf\xE9 \x80\r\nClerkName2=Anna\r\nVAT2=12" << sep << "50\r\nTax-free=8\r\nPrint density=4\r\n"
            << "BCode3=17\r\nPaper type=1\r\n";
        TParaDlg dlg(context, ui);
        EXPECT_EQ(dlg.windowTitle(), "Parameter");
        OnceShown(dlg, [&] {
            EXPECT_EQ(dlg.HeaderEd(1)->text(), "THE SHOP");
            EXPECT_EQ(dlg.HeaderEd(2)->text(), QString::fromUtf8("Caf\u00e9 \u20ac")) << "single bytes in Windows-1252";
            EXPECT_EQ(dlg.ClerkNameEd(2)->text(), "Anna");
            EXPECT_EQ(dlg.VATME(2)->displayText().toStdString(), "12" + sep + "50");
            EXPECT_EQ(dlg.DecRateME()->displayText().toStdString(), "00" + sep + "00");
            EXPECT_EQ(dlg.PrnDenSE()->value(), 4);
            EXPECT_FALSE(dlg.PaperTypeRG()->isVisible());
            EXPECT_FALSE(dlg.VATME(9)->isEnabled()) << "VAT I is tax-free";
            dlg.TaxFreeCB()->setCurrentIndex(2);
            for (int n = 1; n <= 9; ++n)
                EXPECT_EQ(dlg.VATME(n)->isEnabled(), n != 3) << "VAT " << n;
            dlg.HeaderEd(5)->setText("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
            EXPECT_EQ(dlg.HeaderEd(5)->text(), "ABCDEFGHIJKLMNOPQRSTUVWX");
            dlg.IncRateME()->setFocus();
            dlg.IncRateME()->home(false);
            QTest::keyClicks(dlg.IncRateME(), "7");
            if (separator == ',')
                test::SaveScreenshot(dlg, "parameter-dialog");
            QTest::keyClick(&dlg, Qt::Key_Escape);
        });
        EXPECT_FALSE(dlg.Execute()) << "Escape closes without Download";

        const IniFile cfg(home / "SYSTEM.CFG");
        EXPECT_EQ(cfg.ReadString("Default", "Header5", ""), "ABCDEFGHIJKLMNOPQRSTUVWX");
        EXPECT_EQ(cfg.ReadString("Default", "Header1", ""), "THE SHOP");
        EXPECT_EQ(cfg.ReadString("Default", "Header2", ""), "Caf\xE9 \x80");
        EXPECT_EQ(cfg.ReadString("Default", "ClerkName1", "missing"), "");
        EXPECT_EQ(cfg.ReadString("Default", "+% rate", ""), "70" + sep + "00");
        EXPECT_EQ(cfg.ReadString("Default", "VAT2", ""), "12" + sep + "50");
        EXPECT_EQ(cfg.ReadString("Default", "VAT9", ""), "00" + sep + "00");
        EXPECT_EQ(cfg.ReadInteger("Default", "Tax-free", -1), 2);
        EXPECT_EQ(cfg.ReadInteger("Default", "Print density", -1), 4);
        EXPECT_EQ(cfg.ReadInteger("Default", "BCode3", -1), 17);
        EXPECT_EQ(cfg.ReadInteger("Default", "BCode10", -1), 0);
        EXPECT_EQ(cfg.ReadInteger("Default", "Paper type", -1), 1);

        OnceShown(dlg, [&] {
            EXPECT_FALSE(dlg.VATME(3)->isEnabled()) << "the stored tax-free rate applies on loading";
            EXPECT_EQ(dlg.SaveExitBtn()->text(), "Save && Exit");
            dlg.DownloadBtn()->click();
        });
        EXPECT_TRUE(dlg.Execute());
    }
    EXPECT_TRUE(ui.Messages.empty());
}

} // namespace
} // namespace plu
