#pragma once
// COM names and the devices they stand for.
#include "link/KodoIBusComm.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace plu {

// "COM" followed by the number in decimal.
std::string CommNameFor(int portNumber);
// The number of "COMn" (any case), or nullopt for another name.
std::optional<int> PortNumberFromName(const std::string& commName);

// Maps COM names through SYSTEM.CFG [Ports] (read at every open), with
// overrides for this run only (plumanager --demo) taking precedence.
TKodoIBusComm::DeviceResolver MakeDeviceResolver(std::filesystem::path systemCfg,
                                                 std::map<int, std::string> overrides = {});

} // namespace plu
