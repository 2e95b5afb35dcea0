// Crash-safe file writing for logs and paintings (POSIX: fsync and rename).
#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Flushes the file's data (or a folder's entries) to disk.
bool syncPath(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!out.is_open())
            return false;
        write(out);
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    return replaceFileDurably(temporary, path);
}

bool replaceFileDurably(const std::string& temporary, const std::string& path)
{
    if (!syncPath(temporary, O_RDONLY) || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        errno = error;
        return false;
    }
    // The rename itself reaches the disk with the folder's entries.
    syncPath(folderOf(path), O_RDONLY | O_DIRECTORY);
    return true;
}

bool appendToFileDurably(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0)
        return false;
    const char* data = text.data();
    std::size_t left = text.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            ok = false;
            break;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    ok = ::fsync(fd) == 0 && ok;
    ::close(fd);
    return ok;
}
