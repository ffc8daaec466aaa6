#pragma once
// A UserInterface for item tests: records messages, beeps and busy changes and
// answers questions from a script.
#include "shell/UserInterface.h"

#include <deque>
#include <string>
#include <vector>

namespace plu::itemstest {

class RecordingUi : public UserInterface {
public:
    void ShowProgress() override {}
    void SetStatus(bool, const std::string&) override {}
    void SetTotal(int) override {}
    void SetCurrent(int) override {}
    void CloseProgress() override {}
    ProgressState GetProgressState() const override { return ProgressState::Closed; }
    void ProcessEvents() override {}
    void ShowMessage(MessageKind kind, const std::string& text, const std::string& = {}) override
    {
        Messages.push_back(text);
        Kinds.push_back(kind);
    }
    Answer Ask(Question, MessageKind, const std::string& text, const std::string& = {}) override
    {
        Questions.push_back(text);
        if (Answers.empty())
            return Answer::Cancel;
        Answer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    void Beep() override { ++Beeps; }
    void SetBusy(bool busy) override
    {
        BusyDepth += busy ? 1 : -1;
        if (busy)
            ++BusyCount;
    }

    std::vector<std::string> Messages;
    std::vector<MessageKind> Kinds;
    std::vector<std::string> Questions;
    std::deque<Answer> Answers;
    int Beeps = 0;
    int BusyDepth = 0;
    int BusyCount = 0;
};

} // namespace plu::itemstest
