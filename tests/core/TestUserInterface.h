#pragma once
// The one UserInterface of the tests: records what a user would have seen and
// answers questions as told. ProcessEvents can run a hook, e.g. to press Cancel
// or, in window tests, to let Qt handle its events.
#include "shell/UserInterface.h"

#include <deque>
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
    std::vector<MessageKind> Kinds; // of each message
    std::vector<std::string> Questions;
    // Answers to the next questions in turn; NextAnswer once they are used up.
    std::deque<Answer> Answers;
    Answer NextAnswer = Answer::No;
    int Beeps = 0;
    int Total = 0;
    int Current = 0;
    int BusyDepth = 0; // 0 when every SetBusy(true) was undone
    int BusyCount = 0;
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
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& = {}) override
    {
        Messages.push_back(text);
        Kinds.push_back(kind);
    }
    Answer Ask(Question, MessageKind, const std::string& text, const std::string& = {}) override
    {
        Questions.push_back(text);
        if (Answers.empty())
            return NextAnswer;
        const Answer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Beep() override { ++Beeps; }
    void SetBusy(bool busy) override
    {
        BusyDepth += busy ? 1 : -1;
        if (busy)
            ++BusyCount;
    }

    // Cancel as the progress dialog's button does: close the dialog, cancel the wait.
    void PressCancel(const std::function<void()>& cancelLink = {})
    {
        m_state = ProgressState::Closed;
        if (cancelLink)
            cancelLink();
    }

    std::string LastStatus() const { return Statuses.empty() ? std::string() : Statuses.back().Text; }
    std::vector<std::string> StatusTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& status : Statuses)
            texts.push_back(status.Text);
        return texts;
    }

private:
    ProgressState m_state = ProgressState::Closed;
};

} // namespace plu::test
