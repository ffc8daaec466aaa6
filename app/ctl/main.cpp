// plumctl: the PLU manager's commands without windows. Progress and messages
// go to stderr, data to stdout; see --help.
#include "app/ctl/Ctl.h"
#include "link/PortNames.h"
#include "shell/Locale.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace plu::ctl {
namespace {

std::vector<Command>& Table()
{
    static std::vector<Command> table;
    return table;
}

void PrintHelp(std::FILE* out)
{
    std::fprintf(out, "usage: plumctl [--home DIR] COMMAND [ARGS]\n\ncommands:\n");
    auto commands = Commands();
    for (const auto& command : commands)
        std::fprintf(out, "  plumctl [--home DIR] %s %s\n", command.Name, command.Usage);
    std::fprintf(out,
                 "\n--home DIR   use DIR as the program directory (SYSTEM.CFG, DEBUG.LOG, Data, duFile, Temp)\n"
                 "exit status: 0 success, 1 the command failed, 2 bad usage, 130 cancelled by Ctrl+C\n");
}

} // namespace

bool RegisterCommand(const Command& command)
{
    Table().push_back(command);
    return true;
}

const std::vector<Command>& Commands() { return Table(); }

TKodoIBusComm& Env::Link()
{
    if (!m_link) {
        m_link = std::make_unique<TKodoIBusComm>(Ui, Context.Dirs.DebugLog(), MakeDeviceResolver(Context.Dirs.SystemCfg()));
        m_link->TraceEnabled = true;
        Ui.OnCancel = [this] { m_link->Cancel(); };
    }
    return *m_link;
}

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "plumctl: %s\n", message.c_str());
    std::fprintf(stderr, "Try 'plumctl --help'.\n");
    return kExitUsage;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name)
{
    auto found = std::find(args.begin(), args.end(), name);
    if (found == args.end())
        return false;
    args.erase(found);
    return true;
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value)
{
    auto found = std::find(args.begin(), args.end(), name);
    if (found == args.end() || found + 1 == args.end())
        return false;
    value = *(found + 1);
    args.erase(found, found + 2);
    return true;
}

bool ParseIntArg(const std::string& text, long long low, long long high, long long& value)
{
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= low && value <= high;
}

} // namespace plu::ctl

int main(int argc, char** argv)
{
    using namespace plu::ctl;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return UsageError("no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(stdout);
        return kExitOk;
    }
    std::optional<std::filesystem::path> home;
    if (args[0] == "--home") {
        if (args.size() < 2)
            return UsageError("--home needs a directory");
        home = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return UsageError("no command given");
    const auto& commands = Commands();
    auto command = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return args[0] == c.Name; });
    if (command == commands.end())
        return UsageError("unknown command '" + args[0] + "'");

    plu::InitDecimalSeparatorFromLocale();
    Env env;
    env.Context = plu::MakeAppContext(plu::ResolveProgramDirs(home));
    env.Args.assign(args.begin() + 1, args.end());
    if (std::find(env.Args.begin(), env.Args.end(), "--help") != env.Args.end()) {
        std::printf("usage: plumctl [--home DIR] %s %s\n", command->Name, command->Usage);
        return kExitOk;
    }
    return command->Run(env);
}
