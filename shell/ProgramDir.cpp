#include "shell/ProgramDir.h"

#include <cstdlib>
#include <unistd.h>

namespace plu {

std::filesystem::path ExecutableDir()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

ProgramDirs ProgramDirsAt(const std::filesystem::path& exeDir)
{
    ProgramDirs dirs;
    dirs.ExeDir = exeDir;
    dirs.DataDir = exeDir / "Data";
    dirs.DuFileDir = exeDir / "duFile";
    dirs.TempDir = exeDir / "Temp";
    return dirs;
}

ProgramDirs ResolveProgramDirs(const std::optional<std::filesystem::path>& home)
{
    std::error_code ec;
    if (home) {
        // The home directory is created like the work folders inside it.
        std::filesystem::create_directories(*home, ec);
        return ProgramDirsAt(std::filesystem::absolute(*home, ec));
    }
    auto exeDir = ExecutableDir();
    if (::access(exeDir.c_str(), W_OK) == 0)
        return ProgramDirsAt(exeDir);
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
        base = xdg;
    else if (const char* userHome = std::getenv("HOME"); userHome != nullptr && userHome[0] != '\0')
        base = std::filesystem::path(userHome) / ".local" / "share";
    else
        base = std::filesystem::temp_directory_path(ec);
    auto dir = base / "plumanager";
    std::filesystem::create_directories(dir, ec);
    return ProgramDirsAt(dir);
}

bool CreateWorkDirs(const ProgramDirs& dirs)
{
    for (const auto* dir : {&dirs.DataDir, &dirs.DuFileDir, &dirs.TempDir}) {
        std::error_code ec;
        if (std::filesystem::is_directory(*dir, ec))
            continue;
        if (!std::filesystem::create_directory(*dir, ec) && !std::filesystem::is_directory(*dir, ec))
            return false;
    }
    return true;
}

} // namespace plu
