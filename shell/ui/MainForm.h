#pragma once
// TMainForm: the program's one main window. Menus and toolbar, the item grids,
// the collapsed report panel and the status bar; it owns the main link component.
// Each command handler only forwards to the core command that carries it out.
#include "items/CellTable.h"
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/ui/QtUserInterface.h"

#include <QMainWindow>
#include <map>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace plu {

class ItemsArea;
class TAboutBox;
class TCommDlg;
class TDataDlg;
class TDetectPortDlg;
class TDownloadDlg;
class TParaDlg;
class TProgressForm;
class TUploadDlg;
struct TransferContext;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // portOverrides maps port numbers to devices for this run only (--demo).
    TMainForm(AppContext& context, std::map<int, std::string> portOverrides = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    AppContext& Context() { return m_context; }
    ItemTables& Tables() { return m_tables; }
    TKodoIBusComm& KodoIBusComm1() { return *m_link; }
    QtUserInterface& Ui() { return m_ui; }
    ItemsArea* Items() { return m_items; }

    // The command's action by its component name ("TestItem", "DownloadItem", ...).
    QAction* Action(const QString& name) const;
    QToolBar* MainToolbar() const { return m_toolbar; }
    // The COM name to device mapping of this run ([Ports], and the --demo port);
    // every link component of the program resolves its port through it.
    TKodoIBusComm::DeviceResolver MakePortResolver() const;
    // Appended to the title for this run (e.g. the demo register).
    void SetTitleSuffix(const QString& suffix);

    TCommDlg* CommDlg() const { return m_commDlg; }
    TProgressForm* ProgressForm() const { return m_progressForm; }
    TDetectPortDlg* DetectPortDlg() const { return m_detectPortDlg; }
    TDataDlg* DataDlg() const { return m_dataDlg; }
    TDownloadDlg* DownloadDlg() const { return m_downloadDlg; }
    TUploadDlg* UploadDlg() const { return m_uploadDlg; }
    TParaDlg* ParaDlg() const { return m_paraDlg; }

public slots:
    void AboutItemClick();
    void ExitItemClick();
    void CommsetItemClick();
    void DetectportItemClick();
    void TestItemClick();
    void DownloadItemClick();
    void UploadItemClick();
    void ParameterItemClick();
    // Ctrl+Alt+F6: the raw memory upload, opened in the desktop's viewer.
    void UploadDataRange();

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateDataArea();
    QAction* AddAction(const QString& name, const QString& caption, QKeySequence shortcut = {});
    void SetTitle(const QString& title);
    // What the transfer commands work with: this window's tables, link and user
    // interface, and the item tables' checks.
    TransferContext MakeCommandContext();

    AppContext& m_context;
    ItemTables m_tables;
    QtUserInterface m_ui;
    std::unique_ptr<TKodoIBusComm> m_link;
    std::map<int, std::string> m_portOverrides;
    std::map<QString, QAction*> m_actions;
    QToolBar* m_toolbar = nullptr;
    ItemsArea* m_items = nullptr;
    QSplitter* m_dataSplitter = nullptr;
    QLabel* m_reportTitle = nullptr;
    TAboutBox* m_aboutBox = nullptr;
    TCommDlg* m_commDlg = nullptr;
    TProgressForm* m_progressForm = nullptr;
    TDetectPortDlg* m_detectPortDlg = nullptr;
    TDataDlg* m_dataDlg = nullptr;
    TDownloadDlg* m_downloadDlg = nullptr;
    TUploadDlg* m_uploadDlg = nullptr;
    TParaDlg* m_paraDlg = nullptr;
    QString m_titleSuffix;
    QString m_title;
};

} // namespace plu
