#pragma once
// The keys of SYSTEM.CFG that the shell and the link use. The file is opened for
// every read and write; the program-wide values live in AppContext.
#include "shell/IniFile.h"

#include <string>

namespace plu {

inline constexpr int kDefaultPortNumber = 2;
inline constexpr int kDefaultBaudRateIndex = 0;
inline constexpr int kPortCount = 4; // COM1..COM4

struct CommSettings {
    int PortNumber = kDefaultPortNumber;       // 0 none, 1..4 COM1..COM4
    int BaudRateIndex = kDefaultBaudRateIndex; // 0..4 into the link's speed table
};

// [Comm] Port and BaudRate. A BaudRate outside 0..4 is clamped to 0: the speed
// table has five entries and 9600 is the speed every register answers first.
CommSettings ReadCommSettings(const IniFile& cfg);
// Writes Port, then BaudRate; false with cfg.LastError() when it fails.
bool WriteCommSettings(IniFile& cfg, const CommSettings& settings);

// [Version] CompanyName, empty by default.
std::string ReadCompanyName(const IniFile& cfg);

// [Ports] COMn: the device a COM name stands for (defaults /dev/ttyS0../dev/ttyS3).
// Names outside COM1..COM4 map to no device (empty).
std::string PortDevicePath(const IniFile& cfg, int portNumber);
std::string DefaultPortDevicePath(int portNumber);

// [Display] CodePage: the single-byte code page of names (default WINDOWS-1252).
std::string ReadCodePage(const IniFile& cfg);

} // namespace plu
