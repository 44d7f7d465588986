#include "tools/lamhost/inputfile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LamHost {

namespace {

std::string KindReason(const struct stat &info)
{
    return S_ISDIR(info.st_mode) ? "is a folder" : "is not a regular file";
}

// An open descriptor of the regular file at path, or -1 with the reason.
int OpenRegular(const std::string &path, struct stat &info, std::string &reason)
{
    // Looked at before opening: opening a FIFO waits for a writer, and a device
    // can act on being opened.
    if (stat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = KindReason(info);
        return -1;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    // The path may name another file by now.
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = KindReason(info);
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool CheckReadableFile(const std::string &path, std::string &reason)
{
    struct stat info;
    const int fd = OpenRegular(path, info, reason);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

bool ReadRegularFile(const std::string &path, size_t maxBytes, std::string &text, std::string &reason)
{
    struct stat info;
    const int fd = OpenRegular(path, info, reason);
    if (fd < 0)
        return false;
    const std::string tooLarge = "is larger than " + std::to_string(maxBytes) + " bytes";
    bool ok = static_cast<unsigned long long>(info.st_size) <= maxBytes;
    if (!ok)
        reason = tooLarge;
    text.clear();
    char buffer[65536];
    // Bounded again while reading: the file may grow.
    while (ok) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0 && text.size() + static_cast<size_t>(n) > maxBytes) {
            reason = tooLarge;
            ok = false;
        } else if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            reason = std::strerror(errno);
            ok = false;
        }
    }
    close(fd);
    return ok;
}

} // namespace LamHost
