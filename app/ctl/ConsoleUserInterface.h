#pragma once
// The user interface of plumctl: every status text and message goes to stderr
// as one line; questions take the answer given on the command line; an error
// shown in the progress dialog counts as acknowledged at once. SIGINT acts as
// the progress dialog's Cancel.
#include "shell/UserInterface.h"

#include <functional>

namespace plu {

class ConsoleUserInterface : public UserInterface {
public:
    ConsoleUserInterface();
    ~ConsoleUserInterface() override;

    // Called on SIGINT while a command runs (the lead wires it to the link's Cancel).
    std::function<void()> OnCancel;
    // The answer to every question (Yes with --apply and the like).
    Answer QuestionAnswer = Answer::No;
    // True once SIGINT cancelled the command.
    bool Cancelled() const { return m_cancelled; }

    void ShowProgress() override;
    void SetStatus(bool isError, const std::string& text) override;
    void SetTotal(int total) override;
    void SetCurrent(int current) override;
    void CloseProgress() override;
    ProgressState GetProgressState() const override { return m_state; }
    void ProcessEvents() override;
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
    Answer Ask(Question question, MessageKind kind, const std::string& text, const std::string& caption) override;
    void Beep() override {}
    void SetBusy(bool) override {}

private:
    ProgressState m_state = ProgressState::Closed;
    bool m_cancelled = false;
};

} // namespace plu
