#pragma once
// The windows' side of UserInterface: message boxes, the beep, the hourglass
// and the event pump that keeps the windows alive during link waits.
#include "shell/UserInterface.h"

#include <functional>

class QWidget;

namespace plu {

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* mainWindow);

    // Called by the progress dialog's Cancel: cancels the wait in progress.
    std::function<void()> OnCancel;

    void ShowProgress() override;
    void SetStatus(bool isError, const std::string& text) override;
    void SetTotal(int total) override;
    void SetCurrent(int current) override;
    void CloseProgress() override;
    ProgressState GetProgressState() const override { return m_state; }
    void ProcessEvents() override;
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
    Answer Ask(Question question, MessageKind kind, const std::string& text, const std::string& caption) override;
    void Beep() override;
    void SetBusy(bool busy) override;

private:
    QWidget* m_mainWindow;
    ProgressState m_state = ProgressState::Closed;
};

} // namespace plu
