// plumctl test and setting.
#include "app/ctl/Ctl.h"
#include "link/ConnectionTest.h"
#include "link/PortNames.h"
#include "shell/SystemConfig.h"

#include <cstdio>

namespace plu::ctl {
namespace {

int RunTest(Env& env)
{
    if (!env.Args.empty())
        return UsageError("test takes no arguments");
    return env.Result(RunConnectionTest(env.Context, env.Link(), env.Ui));
}

int RunSetting(Env& env)
{
    IniFile cfg(env.Context.Dirs.SystemCfg());
    CommSettings settings = ReadCommSettings(cfg);
    std::string port;
    std::string baud;
    const bool havePort = TakeOption(env.Args, "--port", port);
    const bool haveBaud = TakeOption(env.Args, "--baud", baud);
    if (!env.Args.empty())
        return UsageError("setting: unexpected argument '" + env.Args.front() + "'");
    if (havePort || haveBaud) {
        long long value = 0;
        if (havePort) {
            if (!ParseIntArg(port, 0, kPortCount, value))
                return UsageError("--port takes 0 (none) to 4");
            settings.PortNumber = static_cast<int>(value);
        }
        if (haveBaud) {
            if (!ParseIntArg(baud, 0, 4, value))
                return UsageError("--baud takes an index 0 to 4 (9600, 19200, 38400, 57600, 115200)");
            settings.BaudRateIndex = static_cast<int>(value);
        }
        if (!WriteCommSettings(cfg, settings)) {
            std::fprintf(stderr, "%s\n", cfg.LastError().c_str());
            return kExitFailed;
        }
    }
    std::printf("Port=%d\nBaudRate=%d\n", settings.PortNumber, settings.BaudRateIndex);
    return kExitOk;
}

} // namespace

PLUMCTL_COMMAND("test", "", RunTest);
PLUMCTL_COMMAND("setting", "[--port N] [--baud I]", RunSetting);

} // namespace plu::ctl
