#pragma once
// The program-wide values set up at start-up and shared by every command.
#include "shell/ProgramDir.h"
#include "shell/Texts.h"
#include "transfer/TEcrStatus.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plu {

inline constexpr const char* kTitleText = "Tesso PLU manager";
inline constexpr int kRegisterId = 1234;

struct AppContext {
    ProgramDirs Dirs;
    int PortNumber = 2;
    int BaudRateIndex = 0;
    std::string CompanyNameText;
    // Decides whether the Parameter command is shown: only variant 1 shows it.
    std::uint8_t BuildVariant = 2;
    // Scratch storage for data read from the register (status block, reports).
    std::vector<std::uint8_t> WorkStream;
    // The register's status: every live status read updates part of it, every
    // report view that decodes a stored status replaces it.
    TEcrStatus EcrStatus;
    Texts UiTexts;
};

// Start-up steps that do not need a window: resolves nothing itself, reads
// [Version] CompanyName and [Comm] Port/BaudRate from SYSTEM.CFG in dirs.
AppContext MakeAppContext(const ProgramDirs& dirs);

} // namespace plu
