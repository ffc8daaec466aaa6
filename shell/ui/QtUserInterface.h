#pragma once
// The windows' side of UserInterface: the progress dialog, message boxes, the
// beep, the hourglass and the event pump that keeps the windows alive during
// link waits.
#include "shell/UserInterface.h"

#include <QObject>
#include <functional>

class QWidget;

namespace plu {

class TProgressForm;

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget* mainWindow);

    // Called by the progress dialog's Cancel: cancels the wait in progress.
    std::function<void()> OnCancel;

    // The progress dialog the progress operations drive (created once by the
    // main window). Without one they only keep the state.
    void SetProgressForm(TProgressForm* form);
    TProgressForm* ProgressForm() const { return m_progress; }

    void ShowProgress() override;
    void SetStatus(bool isError, const std::string& text) override;
    void SetTotal(int total) override;
    void SetCurrent(int current) override;
    void CloseProgress() override;
    ProgressState GetProgressState() const override;
    void ProcessEvents() override;
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
    Answer Ask(Question question, MessageKind kind, const std::string& text, const std::string& caption) override;
    void Beep() override;
    void SetBusy(bool busy) override;

private:
    QWidget* DialogParent() const;

    QWidget* m_mainWindow;
    TProgressForm* m_progress = nullptr;
    ProgressState m_state = ProgressState::Closed;
    int m_busy = 0;
    QObject m_wakeContext;
};

// Core texts are UTF-8 with CR LF line breaks; Qt wants LF.
QString FromCoreText(const std::string& text);

} // namespace plu
