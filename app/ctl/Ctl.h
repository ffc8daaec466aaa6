#pragma once
// plumctl's command table. Each command lives in its own file and registers
// itself with PLUMCTL_COMMAND; main() parses the global options and dispatches.
#include "app/ctl/ConsoleUserInterface.h"
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"

#include <memory>
#include <string>
#include <vector>

namespace plu::ctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCancelled = 130;

struct Env {
    AppContext Context;
    ConsoleUserInterface Ui;
    std::vector<std::string> Args; // the command's own arguments

    // The main link component (tracing on, as in the window), made on first use.
    TKodoIBusComm& Link();

    // Exit status for a command that ran: 130 when SIGINT cancelled it.
    int Result(bool ok) const { return Ui.Cancelled() ? kExitCancelled : ok ? kExitOk : kExitFailed; }

private:
    std::unique_ptr<TKodoIBusComm> m_link;
};

using CommandFunction = int (*)(Env&);

struct Command {
    const char* Name;
    const char* Usage; // one line: arguments after the name
    CommandFunction Run;
};

// Registration happens in static initialisers of the command files.
bool RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

int UsageError(const std::string& message);

// Small argument helpers: "--name VALUE" and "--flag" anywhere in Args.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
bool ParseIntArg(const std::string& text, long long low, long long high, long long& value);

} // namespace plu::ctl

#define PLUMCTL_CONCAT2(a, b) a##b
#define PLUMCTL_CONCAT(a, b) PLUMCTL_CONCAT2(a, b)
#define PLUMCTL_COMMAND(name, usage, function) \
    static const bool PLUMCTL_CONCAT(registered_, __LINE__) = ::plu::ctl::RegisterCommand({name, usage, function})
