#include "app/ctl/ConsoleUserInterface.h"

#include <csignal>
#include <cstdio>
#include <string>

namespace plu {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnSigint(int)
{
    g_interrupted = 1;
    // A second Ctrl+C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

void PrintLine(const std::string& text)
{
    // Message texts may carry CR LF line breaks; the terminal wants LF.
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line += text[i];
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace

ConsoleUserInterface::ConsoleUserInterface()
{
    struct sigaction action {};
    action.sa_handler = OnSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocking poll returns at once
    sigaction(SIGINT, &action, nullptr);
}

ConsoleUserInterface::~ConsoleUserInterface() { std::signal(SIGINT, SIG_DFL); }

void ConsoleUserInterface::ShowProgress() { m_state = ProgressState::Running; }

void ConsoleUserInterface::SetStatus(bool isError, const std::string& text)
{
    if (m_state == ProgressState::Closed)
        return;
    PrintLine(text);
    m_state = isError ? ProgressState::ErrorShown : ProgressState::Running;
}

void ConsoleUserInterface::SetTotal(int) {}

void ConsoleUserInterface::SetCurrent(int) {}

void ConsoleUserInterface::CloseProgress() { m_state = ProgressState::Closed; }

void ConsoleUserInterface::ProcessEvents()
{
    if (g_interrupted && !m_cancelled) {
        m_cancelled = true;
        m_state = ProgressState::Closed;
        if (OnCancel)
            OnCancel();
        return;
    }
    // Nobody is there to press OK: an error on show is taken as seen.
    if (m_state == ProgressState::ErrorShown)
        m_state = ProgressState::Closed;
}

void ConsoleUserInterface::ShowMessage(MessageKind, const std::string& text, const std::string&) { PrintLine(text); }

Answer ConsoleUserInterface::Ask(Question question, MessageKind, const std::string& text, const std::string&)
{
    PrintLine(text);
    if (question == Question::YesNo && QuestionAnswer == Answer::Cancel)
        return Answer::No;
    return QuestionAnswer;
}

} // namespace plu
