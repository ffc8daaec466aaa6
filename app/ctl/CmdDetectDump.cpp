// plumctl detect and dump.
#include "app/ctl/Ctl.h"
#include "link/DataRangeUpload.h"
#include "link/PortDetection.h"
#include "link/PortNames.h"

#include <cstdio>

namespace plu::ctl {
namespace {

int RunDetect(Env& env)
{
    env.Ui.QuestionAnswer = TakeFlag(env.Args, "--apply") ? Answer::Yes : Answer::No;
    if (!env.Args.empty())
        return UsageError("detect: unexpected argument '" + env.Args.front() + "'");
    // The detection has a link component of its own, as the window's dialog does.
    TKodoIBusComm link(env.Ui, env.Context.Dirs.DebugLog(), MakeDeviceResolver(env.Context.Dirs.SystemCfg()));
    PrepareDetectLink(link);
    env.Ui.OnCancel = [&link] { link.Cancel(); };
    // One line per port tried, with the text its field ends with; a port whose
    // test Ctrl+C ended keeps "Testing...", as in the dialog.
    int testing = 0;
    auto print = [](int port, const std::string& text) {
        std::printf("%s : %s\n", CommNameFor(port).c_str(), text.c_str());
        std::fflush(stdout);
    };
    DetectPortView view;
    view.ShowResult = [&](int port, const std::string& text) {
        if (text == kTestingText) {
            testing = port;
        } else if (!text.empty()) {
            testing = 0;
            print(port, text);
        }
    };
    view.Closed = [&env] { return env.Ui.Cancelled(); };
    const int found = DetectPort(env.Context, link, env.Ui, view);
    if (testing != 0)
        print(testing, kTestingText);
    env.Ui.OnCancel = nullptr;
    return env.Result(found != 0);
}

int RunDump(Env& env)
{
    const bool ram = TakeFlag(env.Args, "--ram");
    if (env.Args.size() != 2)
        return UsageError("dump takes BASE (hexadecimal page) and COUNT (decimal)");
    auto range = ParseDataRange(env.Args[0], env.Args[1], ram ? MemoryKind::Ram : MemoryKind::Rom);
    if (!range)
        return UsageError("dump: BASE is 1 to 4 hexadecimal digits, COUNT a decimal number of pages up to page FFFF");
    const bool ok = UploadDataRange(env.Context, env.Link(), env.Ui, *range);
    if (ok)
        std::printf("%s\n", TempLogPath(env.Context.Dirs).string().c_str());
    return env.Result(ok);
}

} // namespace

PLUMCTL_COMMAND("detect", "[--apply]", RunDetect);
PLUMCTL_COMMAND("dump", "BASE COUNT [--ram]", RunDump);

} // namespace plu::ctl
