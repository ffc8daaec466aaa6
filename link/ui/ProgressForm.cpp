#include "link/ui/ProgressForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace plu {

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("ProgressForm");
    // Input to the other windows is blocked while the dialog shows, so only one
    // command runs at a time; show() still returns at once.
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(360);

    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, const char* name) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        auto* value = new QLabel(this);
        value->setObjectName(name);
        grid->addWidget(value, row, 1);
        return value;
    };
    m_statusLabel = addRow(0, tr("Status:"), "StatusLabel");
    m_statusLabel->setAutoFillBackground(true);
    m_statusLabel->setMargin(2);
    m_curLabel = addRow(1, tr("Current package:"), "CurLabel");
    m_totalLabel = addRow(2, tr("Total Packages:"), "TotalLabel");
    grid->setColumnStretch(1, 1);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName("ProgressBar1");
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);

    m_okBtn = new QPushButton(tr("OK"), this);
    m_okBtn->setObjectName("OkBtn");
    m_cancelBtn = new QPushButton(tr("Cancel"), this);
    m_cancelBtn->setObjectName("CancelBtn");
    m_okBtn->hide();
    connect(m_okBtn, &QPushButton::clicked, this, &TProgressForm::OkBtnClick);
    connect(m_cancelBtn, &QPushButton::clicked, this, &TProgressForm::CancelBtnClick);

    // With one of the two hidden, the other stands in the same place.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_progressBar);
    layout->addLayout(buttons);
    SetStatusColour(false);
}

void TProgressForm::SetStatusColour(bool isError)
{
    QPalette palette = m_statusLabel->palette();
    palette.setColor(QPalette::Window, isError ? QColor(Qt::red) : QApplication::palette().color(QPalette::Button));
    m_statusLabel->setPalette(palette);
}

void TProgressForm::ShowProgress()
{
    // A new command starts with the running form, whatever the last one left.
    SetStatusColour(false);
    m_okBtn->hide();
    m_cancelBtn->show();
    show();
    raise();
    activateWindow();
    SetTotal(0);
    SetCurrent(0);
    m_state = ProgressState::Running;
}

void TProgressForm::SetStatus(bool isError, const QString& text)
{
    // After OK or Cancel a command that goes on cannot bring the texts back.
    if (m_state == ProgressState::Closed)
        return;
    if (isError)
        QApplication::beep();
    SetStatusColour(isError);
    m_statusLabel->setText(text);
    setWindowTitle(text);
    m_okBtn->setVisible(isError);
    m_cancelBtn->setVisible(!isError);
    if (isError)
        m_okBtn->setFocus();
    layout()->activate();
    m_statusLabel->repaint();
    m_state = isError ? ProgressState::ErrorShown : ProgressState::Running;
}

void TProgressForm::SetTotal(int total)
{
    m_curLabel->setText("0");
    if (total > 0) {
        m_totalLabel->setText(QString::number(total));
        m_progressBar->setRange(0, total);
    } else {
        m_totalLabel->setText("0");
    }
    m_progressBar->setValue(0);
}

void TProgressForm::SetCurrent(int current)
{
    m_curLabel->setText(QString::number(current));
    // The bar stops at its ends, as a position outside the range would.
    m_progressBar->setValue(std::clamp(current, m_progressBar->minimum(), m_progressBar->maximum()));
}

void TProgressForm::CloseProgress()
{
    hide();
    m_state = ProgressState::Closed;
}

void TProgressForm::OkBtnClick()
{
    hide();
    m_state = ProgressState::Closed;
}

void TProgressForm::CancelBtnClick()
{
    if (OnCancel)
        OnCancel();
    hide();
    m_state = ProgressState::Closed;
}

void TProgressForm::reject()
{
    if (m_state == ProgressState::ErrorShown)
        OkBtnClick();
    else if (m_state == ProgressState::Running)
        CancelBtnClick();
    else
        hide();
}

void TProgressForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

} // namespace plu
