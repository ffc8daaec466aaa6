#include "shell/SystemConfig.h"

namespace plu {

CommSettings ReadCommSettings(const IniFile& cfg)
{
    CommSettings settings;
    auto port = cfg.ReadInteger("Comm", "Port", kDefaultPortNumber);
    settings.PortNumber = (port < INT32_MIN || port > INT32_MAX) ? 0 : static_cast<int>(port);
    auto baud = cfg.ReadInteger("Comm", "BaudRate", kDefaultBaudRateIndex);
    settings.BaudRateIndex = (baud >= 0 && baud <= 4) ? static_cast<int>(baud) : 0;
    return settings;
}

bool WriteCommSettings(IniFile& cfg, const CommSettings& settings)
{
    return cfg.WriteInteger("Comm", "Port", settings.PortNumber) &&
           cfg.WriteInteger("Comm", "BaudRate", settings.BaudRateIndex);
}

std::string ReadCompanyName(const IniFile& cfg) { return cfg.ReadString("Version", "CompanyName", ""); }

std::string DefaultPortDevicePath(int portNumber)
{
    if (portNumber < 1 || portNumber > kPortCount)
        return {};
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::string PortDevicePath(const IniFile& cfg, int portNumber)
{
    if (portNumber < 1 || portNumber > kPortCount)
        return {};
    return cfg.ReadString("Ports", "COM" + std::to_string(portNumber), DefaultPortDevicePath(portNumber));
}

std::string ReadCodePage(const IniFile& cfg)
{
    auto page = cfg.ReadString("Display", "CodePage", "WINDOWS-1252");
    return page.empty() ? std::string("WINDOWS-1252") : page;
}

} // namespace plu
