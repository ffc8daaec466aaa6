#pragma once
// A UserInterface for core tests: records what a user would have seen and
// answers questions as told. ProcessEvents can run a hook, e.g. to press Cancel.
#include "shell/UserInterface.h"

#include <functional>
#include <string>
#include <vector>

namespace plu::test {

class TestUserInterface : public UserInterface {
public:
    struct Status {
        bool IsError;
        std::string Text;
    };
    std::vector<Status> Statuses;
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    Answer NextAnswer = Answer::No;
    int Beeps = 0;
    int Total = 0;
    int Current = 0;
    long long EventCalls = 0;
    // Runs on every ProcessEvents call.
    std::function<void()> OnProcessEvents;
    // Press OK as soon as an error is shown (as a user would, eventually).
    bool AutoConfirmErrors = true;

    void ShowProgress() override
    {
        Total = Current = 0;
        m_state = ProgressState::Running;
    }
    void SetStatus(bool isError, const std::string& text) override
    {
        if (m_state == ProgressState::Closed)
            return;
        Statuses.push_back({isError, text});
        m_state = isError ? ProgressState::ErrorShown : ProgressState::Running;
    }
    void SetTotal(int total) override
    {
        Total = total;
        Current = 0;
    }
    void SetCurrent(int current) override { Current = current; }
    void CloseProgress() override { m_state = ProgressState::Closed; }
    ProgressState GetProgressState() const override { return m_state; }
    void ProcessEvents() override
    {
        ++EventCalls;
        if (OnProcessEvents)
            OnProcessEvents();
        if (AutoConfirmErrors && m_state == ProgressState::ErrorShown)
            m_state = ProgressState::Closed;
    }
    void ShowMessage(MessageKind, const std::string& text, const std::string&) override { Messages.push_back(text); }
    Answer Ask(Question, MessageKind, const std::string& text, const std::string&) override
    {
        Questions.push_back(text);
        return NextAnswer;
    }
    void Beep() override { ++Beeps; }
    void SetBusy(bool) override {}

    // Cancel as the progress dialog's button does: close the dialog, cancel the wait.
    void PressCancel(const std::function<void()>& cancelLink)
    {
        m_state = ProgressState::Closed;
        cancelLink();
    }

    std::string LastStatus() const { return Statuses.empty() ? std::string() : Statuses.back().Text; }

private:
    ProgressState m_state = ProgressState::Closed;
};

} // namespace plu::test
