#include "link/PortNames.h"

#include "shell/SystemConfig.h"

#include <cctype>

namespace plu {

std::string CommNameFor(int portNumber) { return "COM" + std::to_string(portNumber); }

std::optional<int> PortNumberFromName(const std::string& commName)
{
    if (commName.size() < 4)
        return std::nullopt;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(commName[static_cast<std::size_t>(i)])) != "COM"[i])
            return std::nullopt;
    int number = 0;
    for (std::size_t i = 3; i < commName.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(commName[i])) || number > 100000)
            return std::nullopt;
        number = number * 10 + (commName[i] - '0');
    }
    return number;
}

TKodoIBusComm::DeviceResolver MakeDeviceResolver(std::filesystem::path systemCfg, std::map<int, std::string> overrides)
{
    return [systemCfg = std::move(systemCfg), overrides = std::move(overrides)](const std::string& commName) {
        auto number = PortNumberFromName(commName);
        if (!number)
            return std::string();
        if (auto found = overrides.find(*number); found != overrides.end())
            return found->second;
        return PortDevicePath(IniFile(systemCfg), *number);
    };
}

} // namespace plu
