#include "shell/ui/MainForm.h"

#include "items/ui/ItemsArea.h"
#include "link/ConnectionTest.h"
#include "link/DataRangeUpload.h"
#include "link/PortNames.h"
#include "link/ui/CommDlg.h"
#include "link/ui/DataDlg.h"
#include "link/ui/DetectPortDlg.h"
#include "link/ui/ProgressForm.h"
#include "shell/ui/AboutBox.h"
#include "transfer/ItemTableChecks.h"
#include "transfer/TransferCommands.h"
#include "transfer/TransferContext.h"
#include "transfer/ui/DownloadDlg.h"
#include "transfer/ui/ParaDlg.h"
#include "transfer/ui/UploadDlg.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace plu {
namespace {

// The keys of a hidden function: Ctrl+Alt+Fn, and Ctrl+Shift+Fn because on Linux
// Ctrl+Alt+F1..F12 usually switch the virtual console before any program sees them.
QList<QKeySequence> HiddenKeys(Qt::Key functionKey)
{
    return {QKeySequence(Qt::CTRL | Qt::ALT | functionKey), QKeySequence(Qt::CTRL | Qt::SHIFT | functionKey)};
}

} // namespace

TMainForm::TMainForm(AppContext& context, std::map<int, std::string> portOverrides, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_ui(this), m_portOverrides(std::move(portOverrides))
{
    setObjectName("MainForm");
    m_link = std::make_unique<TKodoIBusComm>(m_ui, m_context.Dirs.DebugLog(), MakePortResolver());
    m_link->TraceEnabled = true;
    m_ui.OnCancel = [this] { m_link->Cancel(); };

    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateDataArea();
    statusBar()->setObjectName("StatusBar");
    SetTitle(QString::fromUtf8(kTitleText));
    m_commDlg = new TCommDlg(m_context, m_ui, MakePortResolver(), this);
    m_progressForm = new TProgressForm(this);
    m_ui.SetProgressForm(m_progressForm);
    m_aboutBox = new TAboutBox(QString::fromUtf8(m_context.CompanyNameText), this);
    m_uploadDlg = new TUploadDlg(m_context, m_ui, this);
    m_downloadDlg = new TDownloadDlg(m_context, m_ui, this);
    m_detectPortDlg = new TDetectPortDlg(m_context, m_ui, MakePortResolver(), this);
    m_dataDlg = new TDataDlg(m_ui, this);
    m_paraDlg = new TParaDlg(m_context, m_ui, this);

    for (const char* name : {"CommsetItem", "DetectportItem", "TestItem", "DownloadItem", "UploadItem", "ParameterItem"})
        Action(name)->setEnabled(true);
    connect(Action("CommsetItem"), &QAction::triggered, this, &TMainForm::CommsetItemClick);
    connect(Action("DetectportItem"), &QAction::triggered, this, &TMainForm::DetectportItemClick);
    connect(Action("TestItem"), &QAction::triggered, this, &TMainForm::TestItemClick);
    connect(Action("DownloadItem"), &QAction::triggered, this, &TMainForm::DownloadItemClick);
    connect(Action("UploadItem"), &QAction::triggered, this, &TMainForm::UploadItemClick);
    connect(Action("ParameterItem"), &QAction::triggered, this, &TMainForm::ParameterItemClick);
    auto* uploadDataRange = new QShortcut(this);
    uploadDataRange->setKeys(HiddenKeys(Qt::Key_F6));
    uploadDataRange->setObjectName("UploadDataRangeKey");
    connect(uploadDataRange, &QShortcut::activated, this, &TMainForm::UploadDataRange);

    // The Parameter command is shown only in build variant 1.
    const bool showParameter = m_context.BuildVariant == 1;
    Action("ParameterItem")->setVisible(showParameter);
    Action("PreferencesBtn")->setVisible(showParameter);
}

TMainForm::~TMainForm() = default;

TKodoIBusComm::DeviceResolver TMainForm::MakePortResolver() const
{
    return MakeDeviceResolver(m_context.Dirs.SystemCfg(), m_portOverrides);
}

QAction* TMainForm::Action(const QString& name) const
{
    auto found = m_actions.find(name);
    return found == m_actions.end() ? nullptr : found->second;
}

QAction* TMainForm::AddAction(const QString& name, const QString& caption, QKeySequence shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    // Commands whose work is not built yet stay visibly unavailable.
    action->setEnabled(false);
    m_actions[name] = action;
    return action;
}

void TMainForm::CreateActions()
{
    AddAction("NewItem", tr("&New"));
    AddAction("OpenItem", tr("&Open..."), QKeySequence(Qt::Key_F3));
    AddAction("SaveItem", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    AddAction("SaveasItem", tr("Save &as..."));
    AddAction("RecyItem", tr("Recycling..."));
    AddAction("ParameterItem", tr("&Parameter..."));
    AddAction("FontItem", tr("Font..."));
    auto* exitItem = AddAction("ExitItem", tr("E&xit"));
    exitItem->setEnabled(true);
    connect(exitItem, &QAction::triggered, this, &TMainForm::ExitItemClick);

    AddAction("mnuPLURpt", tr("&PLU report"));
    AddAction("mnuDeptRpt", tr("&Department report"));
    AddAction("mnuRecyRpt", tr("&Recycling report"));
    AddAction("mnuDailyRpt", tr("D&aily report"));
    AddAction("mnuClerkRpt", tr("&Cashier report"));
    AddAction("mnuCashRpt", tr("Ca&sh report"));
    AddAction("mnuUploadallRpt", tr("Upload all report"));

    AddAction("CommsetItem", tr("&Setting..."));
    AddAction("DetectportItem", tr("&Detect port..."));
    AddAction("TestItem", tr("Test"));
    AddAction("DownloadItem", tr("Download data..."), QKeySequence(Qt::Key_F9));
    AddAction("UploadItem", tr("Upload data..."), QKeySequence(Qt::Key_F6));

    // Contents does nothing by design; it stays clickable.
    AddAction("ContentItem", tr("&Contents"))->setEnabled(true);
    auto* aboutItem = AddAction("AboutItem", tr("&About..."));
    aboutItem->setEnabled(true);
    connect(aboutItem, &QAction::triggered, this, &TMainForm::AboutItemClick);

    // Toolbar buttons share the menu items' commands; the hint is the tool tip.
    auto button = [&](const QString& name, const QString& hint, QStyle::StandardPixmap icon, const QString& twin) {
        auto* action = AddAction(name, hint);
        action->setToolTip(hint);
        action->setIcon(style()->standardIcon(icon));
        if (!twin.isEmpty()) {
            QAction* item = Action(twin);
            // The button follows its menu item's availability and runs its command.
            action->setEnabled(item->isEnabled());
            connect(item, &QAction::changed, action, [action, item] { action->setEnabled(item->isEnabled()); });
            connect(action, &QAction::triggered, item, &QAction::trigger);
        }
        return action;
    };
    button("NewBtn", tr("New"), QStyle::SP_FileIcon, "NewItem");
    button("OpenBtn", tr("Open"), QStyle::SP_DialogOpenButton, "OpenItem");
    button("SaveBtn", tr("Save"), QStyle::SP_DialogSaveButton, "SaveItem");
    button("PreferencesBtn", tr("Preferences"), QStyle::SP_FileDialogDetailedView, "ParameterItem");
    button("CommBtn", tr("Communication setting"), QStyle::SP_ComputerIcon, "CommsetItem");
    button("TestBtn", tr("Test"), QStyle::SP_DialogApplyButton, "TestItem");
    button("DownLoadBtn", tr("Download data"), QStyle::SP_ArrowDown, "DownloadItem");
    button("UploadBtn", tr("Upload data"), QStyle::SP_ArrowUp, "UploadItem");
    // A button kept for the report upload; it has no command and is never shown.
    button("ReportBtn", tr("Upload report"), QStyle::SP_FileDialogContentsView, "")->setVisible(false);
    button("ExitBtn", tr("Exit"), QStyle::SP_DialogCloseButton, "ExitItem");
}

void TMainForm::CreateMenus()
{
    auto* bar = menuBar();
    bar->setObjectName("MainMenu98");
    auto add = [&](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (QString(name) == "-")
                menu->addSeparator();
            else
                menu->addAction(Action(name));
        }
    };
    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName("FileMenu");
    add(file, {"NewItem", "-", "OpenItem", "SaveItem", "SaveasItem", "-", "RecyItem", "ParameterItem", "-", "FontItem", "-",
               "ExitItem"});
    QMenu* report = bar->addMenu(tr("&Report"));
    report->setObjectName("mnuReport");
    add(report, {"mnuPLURpt", "mnuDeptRpt", "mnuRecyRpt", "mnuDailyRpt", "mnuClerkRpt", "mnuCashRpt", "-", "mnuUploadallRpt"});
    QMenu* comm = bar->addMenu(tr("&Communication"));
    comm->setObjectName("CommMenu");
    add(comm, {"CommsetItem", "DetectportItem", "-", "TestItem", "DownloadItem", "UploadItem"});
    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName("HelpMenu");
    add(help, {"ContentItem", "-", "AboutItem"});
}

void TMainForm::CreateToolbar()
{
    m_toolbar = addToolBar(tr("Main"));
    m_toolbar->setObjectName("MainToolbar");
    m_toolbar->setFloatable(false);
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    for (const char* name : {"NewBtn", "OpenBtn", "SaveBtn", "-", "PreferencesBtn", "CommBtn", "-", "TestBtn", "DownLoadBtn",
                             "UploadBtn", "ReportBtn", "-", "ExitBtn"}) {
        if (QString(name) == "-")
            m_toolbar->addSeparator();
        else
            m_toolbar->addAction(Action(name));
    }
    // The logo at the right end of the top dock.
    auto* spacer = new QWidget(m_toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(spacer);
    auto* logo = new QLabel(m_toolbar);
    logo->setObjectName("Logo");
    logo->setPixmap(ProgramLogo(28));
    logo->setContentsMargins(0, 0, 2, 0);
    m_toolbar->addWidget(logo);
}

void TMainForm::CreateDataArea()
{
    m_dataSplitter = new QSplitter(Qt::Vertical, this);
    m_dataSplitter->setObjectName("DataArea");
    m_items = new ItemsArea(m_context, m_tables, m_ui, m_dataSplitter);
    connect(m_items, &ItemsArea::titleChanged, this, &TMainForm::SetTitle);
    auto command = [this](const char* name, void (ItemsArea::*handler)()) {
        QAction* action = Action(name);
        action->setEnabled(true);
        connect(action, &QAction::triggered, m_items, handler);
    };
    command("NewItem", &ItemsArea::NewItemClick);
    command("OpenItem", &ItemsArea::OpenItemClick);
    command("SaveItem", &ItemsArea::SaveItemClick);
    command("SaveasItem", &ItemsArea::SaveasItemClick);
    command("RecyItem", &ItemsArea::RecyItemClick);
    command("FontItem", &ItemsArea::FontItemClick);
    // Hidden key: fills the tables with sample data.
    auto* sampleFill = new QShortcut(this);
    sampleFill->setKeys(HiddenKeys(Qt::Key_F3));
    sampleFill->setContext(Qt::ApplicationShortcut);
    connect(sampleFill, &QShortcut::activated, m_items, &ItemsArea::FillSampleData);

    // The report panel: holds the report frame on show; collapsed at start-up.
    auto* pnlOwn = new QFrame(m_dataSplitter);
    pnlOwn->setObjectName("pnlOwn");
    pnlOwn->setFrameShape(QFrame::StyledPanel);
    auto* reportLayout = new QVBoxLayout(pnlOwn);
    reportLayout->setContentsMargins(2, 2, 2, 2);
    m_reportTitle = new QLabel(tr("Report"), pnlOwn);
    m_reportTitle->setObjectName("LabelEffect1");
    reportLayout->addWidget(m_reportTitle);
    reportLayout->addStretch();
    m_dataSplitter->setHandleWidth(5);
    m_dataSplitter->setCollapsible(1, true);
    m_dataSplitter->setStretchFactor(0, 1);
    m_dataSplitter->setSizes({1, 0});
    setCentralWidget(m_dataSplitter);
}

void TMainForm::SetTitle(const QString& title)
{
    m_title = title;
    setWindowTitle(m_titleSuffix.isEmpty() ? title : title + " " + m_titleSuffix);
}

void TMainForm::SetTitleSuffix(const QString& suffix)
{
    m_titleSuffix = suffix;
    SetTitle(m_title);
    // Also where it stays visible when no window manager draws a title bar.
    auto* note = new QLabel(suffix, statusBar());
    note->setObjectName("RunNote");
    statusBar()->addPermanentWidget(note);
}

void TMainForm::AboutItemClick() { m_aboutBox->exec(); }

void TMainForm::ExitItemClick() { close(); }

void TMainForm::CommsetItemClick() { m_commDlg->Execute(); }

void TMainForm::DetectportItemClick() { m_detectPortDlg->Execute(); }

void TMainForm::TestItemClick() { RunConnectionTest(m_context, *m_link, m_ui); }

void TMainForm::DownloadItemClick()
{
    if (!m_downloadDlg->Execute())
        return;
    TransferContext command = MakeTransferContext(m_context, m_ui, *m_link, m_tables);
    RunDownload(command, m_downloadDlg->Request());
}

void TMainForm::UploadItemClick()
{
    if (!m_uploadDlg->Execute())
        return;
    TransferContext command = MakeTransferContext(m_context, m_ui, *m_link, m_tables);
    RunUpload(command, m_uploadDlg->Request());
    // The upload writes into the tables directly, also before a failed step.
    m_items->RefreshFromTables();
}

void TMainForm::ParameterItemClick()
{
    if (!m_paraDlg->Execute())
        return;
    TransferContext command = MakeTransferContext(m_context, m_ui, *m_link, m_tables);
    RunDownload(command, ParameterRequest());
}

void TMainForm::UploadDataRange()
{
    if (!m_dataDlg->Execute(QString::fromUtf8(kUploadDataRangeCaption)))
        return;
    if (plu::UploadDataRange(m_context, *m_link, m_ui, m_dataDlg->Range))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(TempLogPath(m_context.Dirs).string())));
}

} // namespace plu
