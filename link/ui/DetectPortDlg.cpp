#include "link/ui/DetectPortDlg.h"

#include "link/PortDetection.h"
#include "link/PortNames.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace plu {

TDetectPortDlg::TDetectPortDlg(AppContext& context, UserInterface& ui, TKodoIBusComm::DeviceResolver resolver, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_context(context), m_ui(ui),
      m_link(std::make_unique<TKodoIBusComm>(ui, context.Dirs.DebugLog(), std::move(resolver)))
{
    setObjectName("DetectPortDlg");
    setWindowTitle(tr("Detect port"));
    PrepareDetectLink(*m_link);

    auto* grid = new QGridLayout;
    for (int port = kFirstDetectPort; port <= kLastDetectPort; ++port) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("Edit%1").arg(port));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setMinimumWidth(150);
        grid->addWidget(new QLabel(QString::fromStdString(CommNameFor(port)) + " :", this), port - 1, 0);
        grid->addWidget(edit, port - 1, 1);
        m_edits[static_cast<std::size_t>(port - 1)] = edit;
    }
    m_detectBtn = new QPushButton(tr("&Detect"), this);
    m_detectBtn->setObjectName("DetectBtn");
    m_detectBtn->setDefault(true);
    m_closeBtn = new QPushButton(tr("&Close"), this);
    m_closeBtn->setObjectName("CloseBtn");
    connect(m_detectBtn, &QPushButton::clicked, this, &TDetectPortDlg::DetectBtnClick);
    connect(m_closeBtn, &QPushButton::clicked, this, &TDetectPortDlg::CloseBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_detectBtn);
    buttons->addWidget(m_closeBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

TDetectPortDlg::~TDetectPortDlg() = default;

void TDetectPortDlg::Execute()
{
    for (QLineEdit* edit : m_edits)
        edit->clear();
    m_detectBtn->setEnabled(true);
    m_closed = false;
    exec();
}

void TDetectPortDlg::DetectBtnClick()
{
    m_detectBtn->setEnabled(false);
    DetectPortView view;
    view.ShowResult = [this](int port, const std::string& text) {
        QLineEdit* edit = Edit(port);
        edit->setText(QString::fromStdString(text));
        edit->repaint();
    };
    view.Closed = [this] { return m_closed; };
    DetectPort(m_context, *m_link, m_ui, view);
    m_detectBtn->setEnabled(true);
}

void TDetectPortDlg::CloseBtnClick()
{
    // Ends the wait in progress, so a connect under way fails and the search stops.
    m_closed = true;
    m_link->Cancel();
    done(QDialog::Rejected);
}

void TDetectPortDlg::reject() { CloseBtnClick(); }

void TDetectPortDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    CloseBtnClick();
}

} // namespace plu
