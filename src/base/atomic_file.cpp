#include "base/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "base/file_messages.h"

namespace {

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::string NotAFileMessage(const std::string& path)
{
    return "No se puede usar \"" + path +
           "\": no es un archivo común (es un dispositivo u otro objeto especial del sistema).";
}

// Refuses an existing target the clerk should not overwrite. The administrator may write
// anything, so a file without any write permission counts as read-only for everyone:
// replacing it would silently undo somebody's deliberate protection.
bool CheckExistingTarget(const std::string& shownPath, const std::string& target, std::string* error)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0)
        return errno == ENOENT ? true : (SetError(error, FileErrorMessage(FileAction::Write, shownPath, errno)), false);
    if (S_ISDIR(st.st_mode)) {
        SetError(error, FileErrorMessage(FileAction::Write, shownPath, EISDIR));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        SetError(error, NotAFileMessage(shownPath));
        return false;
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) {
        SetError(error, "El archivo \"" + shownPath + "\" es de solo lectura; no se puede reemplazar.");
        return false;
    }
    return true;
}

}  // namespace

bool ResolveWriteTarget(const std::string& path, std::string& resolved)
{
    namespace fs = std::filesystem;
    fs::path current(path);
    // The same bound the system puts on links followed while opening a path.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = current.string();
            return true;
        }
        std::error_code ec;
        const fs::path link = fs::read_symlink(current, ec);
        if (ec) {
            errno = ec.value();
            return false;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    errno = ELOOP;
    return false;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                         bool flushToDisk)
{
    namespace fs = std::filesystem;
    std::string resolved;
    if (!ResolveWriteTarget(path, resolved)) {
        SetError(error, FileErrorMessage(FileAction::Write, path, errno));
        return false;
    }
    if (!CheckExistingTarget(path, resolved, error))
        return false;
    const fs::path target(resolved);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    // mkstemp creates the file exclusively with mode 0600, so nobody else's file or link
    // in the folder can receive our bytes.
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        SetError(error, FileErrorMessage(FileAction::Write, path, errno));
        return false;
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(resolved.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int failure = 0;
    if (!WriteAllToFd(fd, bytes.data(), bytes.size()) || ::fchmod(fd, mode) != 0 || (flushToDisk && ::fsync(fd) != 0))
        failure = errno;
    if (::close(fd) != 0 && !failure)
        failure = errno;
    if (!failure && ::rename(tmpl.c_str(), resolved.c_str()) == 0)
        return true;
    if (!failure)
        failure = errno;
    SetError(error, FileErrorMessage(FileAction::Write, path, failure));
    ::unlink(tmpl.c_str());
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error, size_t maxBytes)
{
    // Not blocking: a named pipe would otherwise hold the open until somebody writes to
    // it, before it could be refused as not a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        SetError(error, FileErrorMessage(FileAction::Read, path, errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int failure = errno;
        ::close(fd);
        SetError(error, FileErrorMessage(FileAction::Read, path, failure));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        SetError(error, S_ISDIR(st.st_mode) ? FileErrorMessage(FileAction::Read, path, EISDIR) : NotAFileMessage(path));
        return false;
    }
    if (uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        SetError(error, FileErrorMessage(FileAction::Read, path, EFBIG));
        return false;
    }
    bytes.clear();
    bytes.reserve(size_t(st.st_size));
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int failure = errno;
            ::close(fd);
            SetError(error, FileErrorMessage(FileAction::Read, path, failure));
            return false;
        }
        // A file that grows while it is read is still held to the same bound.
        if (bytes.size() + size_t(n) > maxBytes) {
            ::close(fd);
            SetError(error, FileErrorMessage(FileAction::Read, path, EFBIG));
            return false;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return true;
}

bool WriteAllToFd(int fd, const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        size -= size_t(n);
    }
    return true;
}
