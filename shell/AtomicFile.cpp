#include "shell/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plu {
namespace {

std::string Reason(const std::filesystem::path& path, int err) { return path.string() + ": " + std::strerror(err); }

} // namespace

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content, std::string& error)
{
    std::filesystem::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    std::string pattern = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = Reason(target, errno);
        return false;
    }
    const std::filesystem::path temp = pattern;
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        error = Reason(target, err);
        return false;
    };
    // Keep the old file's permissions; a new file gets the usual 0666 less umask.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        error = Reason(target, err);
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        error = Reason(target, err);
        return false;
    }
    // Make the rename itself durable.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace plu
