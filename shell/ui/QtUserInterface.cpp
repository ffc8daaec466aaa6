#include "shell/ui/QtUserInterface.h"

#include "link/ui/ProgressForm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace plu {

QString FromCoreText(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace("\r\n", "\n");
}

QtUserInterface::QtUserInterface(QWidget* mainWindow) : m_mainWindow(mainWindow) {}

void QtUserInterface::SetProgressForm(TProgressForm* form)
{
    m_progress = form;
    if (m_progress)
        m_progress->OnCancel = [this] {
            if (OnCancel)
                OnCancel();
        };
}

void QtUserInterface::ShowProgress()
{
    if (m_progress)
        m_progress->ShowProgress();
    m_state = ProgressState::Running;
}

void QtUserInterface::SetStatus(bool isError, const std::string& text)
{
    if (m_progress) {
        m_progress->SetStatus(isError, FromCoreText(text));
        return;
    }
    if (m_state != ProgressState::Closed)
        m_state = isError ? ProgressState::ErrorShown : ProgressState::Running;
}

void QtUserInterface::SetTotal(int total)
{
    if (m_progress)
        m_progress->SetTotal(total);
}

void QtUserInterface::SetCurrent(int current)
{
    if (m_progress)
        m_progress->SetCurrent(current);
}

void QtUserInterface::CloseProgress()
{
    if (m_progress)
        m_progress->CloseProgress();
    m_state = ProgressState::Closed;
}

ProgressState QtUserInterface::GetProgressState() const { return m_progress ? m_progress->State() : m_state; }

void QtUserInterface::ProcessEvents()
{
    if (GetProgressState() == ProgressState::ErrorShown) {
        // Waiting for the user's OK: sleep until something happens (at most
        // 20 ms) instead of spinning.
        QTimer::singleShot(20, &m_wakeContext, [] {});
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return;
    }
    QApplication::processEvents(QEventLoop::AllEvents);
}

QWidget* QtUserInterface::DialogParent() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_mainWindow;
}

void QtUserInterface::ShowMessage(MessageKind kind, const std::string& text, const std::string& caption)
{
    const QString title = FromCoreText(caption);
    switch (kind) {
    case MessageKind::Information: QMessageBox::information(DialogParent(), title, FromCoreText(text)); break;
    case MessageKind::Warning: QMessageBox::warning(DialogParent(), title, FromCoreText(text)); break;
    case MessageKind::Error: QMessageBox::critical(DialogParent(), title, FromCoreText(text)); break;
    }
}

Answer QtUserInterface::Ask(Question question, MessageKind kind, const std::string& text, const std::string& caption)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (question == Question::YesNoCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Question, FromCoreText(caption),
                    FromCoreText(text), buttons, DialogParent());
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return question == Question::YesNo ? Answer::No : Answer::Cancel;
    }
}

void QtUserInterface::Beep() { QApplication::beep(); }

void QtUserInterface::SetBusy(bool busy)
{
    // Nested busy sections keep the hourglass until the outermost ends.
    if (busy) {
        if (m_busy++ == 0)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busy > 0 && --m_busy == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace plu
