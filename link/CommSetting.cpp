#include "link/CommSetting.h"

#include "link/PortNames.h"
#include "shell/SystemConfig.h"

namespace plu {

void ReloadCommSettings(AppContext& context)
{
    const CommSettings settings = ReadCommSettings(IniFile(context.Dirs.SystemCfg()));
    context.PortNumber = settings.PortNumber;
    context.BaudRateIndex = settings.BaudRateIndex;
}

bool ApplyCommSettings(AppContext& context, int portNumber, int baudRateIndex, std::string& error)
{
    context.PortNumber = portNumber;
    context.BaudRateIndex = baudRateIndex;
    IniFile cfg(context.Dirs.SystemCfg());
    if (!WriteCommSettings(cfg, {portNumber, baudRateIndex})) {
        error = cfg.LastError();
        return false;
    }
    return true;
}

std::vector<PortChoice> PortChoices(const TKodoIBusComm::DeviceResolver& resolver, int currentPort)
{
    std::vector<PortChoice> choices{{0, "None"}};
    for (int number = 1; number <= kPortCount; ++number) {
        const std::string device = resolver(CommNameFor(number));
        choices.push_back({number, CommNameFor(number) + " (" + (device.empty() ? "no device" : device) + ")"});
    }
    if (currentPort < 0 || currentPort > kPortCount)
        choices.push_back({currentPort, CommNameFor(currentPort) + " (no device)"});
    return choices;
}

} // namespace plu
