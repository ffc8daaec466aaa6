#pragma once
// Where the program keeps its files: SYSTEM.CFG, the language file, DEBUG.LOG,
// TEMP.BIN, TEMP.LOG, Test.hex and the folders Data, duFile and Temp.
#include <filesystem>
#include <optional>

namespace plu {

struct ProgramDirs {
    std::filesystem::path ExeDir;    // the program directory
    std::filesystem::path DataDir;   // ExeDir/Data: report list files
    std::filesystem::path DuFileDir; // ExeDir/duFile: report archive
    std::filesystem::path TempDir;   // ExeDir/Temp: created, otherwise unused

    std::filesystem::path SystemCfg() const { return ExeDir / "SYSTEM.CFG"; }
    std::filesystem::path DebugLog() const { return ExeDir / "DEBUG.LOG"; }
    std::filesystem::path LanguageFile() const { return ExeDir / "plumanager.LNG"; }
};

// The directory of the running executable (from /proc/self/exe).
std::filesystem::path ExecutableDir();

// The program directory: home when given (--home DIR), otherwise the
// executable's directory, or $XDG_DATA_HOME/plumanager (~/.local/share/plumanager)
// when the executable's directory is not writable.
ProgramDirs ResolveProgramDirs(const std::optional<std::filesystem::path>& home);
ProgramDirs ProgramDirsAt(const std::filesystem::path& exeDir);

// Creates Data, duFile and Temp in that order, each one level inside ExeDir.
// The first that can neither be found nor created stops the step (false);
// the remaining ones are not attempted.
bool CreateWorkDirs(const ProgramDirs& dirs);

} // namespace plu
