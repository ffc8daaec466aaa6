#include "shell/ui/QtUserInterface.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

namespace plu {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).replace("\r\n", "\n"); }

} // namespace

QtUserInterface::QtUserInterface(QWidget* mainWindow) : m_mainWindow(mainWindow) {}

void QtUserInterface::ShowProgress() { m_state = ProgressState::Running; }

void QtUserInterface::SetStatus(bool isError, const std::string&)
{
    if (m_state == ProgressState::Closed)
        return;
    m_state = isError ? ProgressState::ErrorShown : ProgressState::Running;
}

void QtUserInterface::SetTotal(int) {}

void QtUserInterface::SetCurrent(int) {}

void QtUserInterface::CloseProgress() { m_state = ProgressState::Closed; }

void QtUserInterface::ProcessEvents()
{
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (m_state == ProgressState::ErrorShown)
        m_state = ProgressState::Closed;
}

void QtUserInterface::ShowMessage(MessageKind kind, const std::string& text, const std::string& caption)
{
    const QString title = FromUtf8(caption);
    switch (kind) {
    case MessageKind::Information: QMessageBox::information(m_mainWindow, title, FromUtf8(text)); break;
    case MessageKind::Warning: QMessageBox::warning(m_mainWindow, title, FromUtf8(text)); break;
    case MessageKind::Error: QMessageBox::critical(m_mainWindow, title, FromUtf8(text)); break;
    }
}

Answer QtUserInterface::Ask(Question question, MessageKind kind, const std::string& text, const std::string& caption)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (question == Question::YesNoCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Question, FromUtf8(caption), FromUtf8(text),
                    buttons, m_mainWindow);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void QtUserInterface::Beep() { QApplication::beep(); }

void QtUserInterface::SetBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace plu
