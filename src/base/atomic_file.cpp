#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Describe(const std::string& what, const std::string& path)
{
    return what + " \"" + path + "\": " + std::strerror(errno);
}

bool WriteAll(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error,
                         bool flushToDisk)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    // mkstemp creates the file exclusively with mode 0600, so nobody else's file or link
    // in the folder can receive our bytes.
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        if (error)
            *error = Describe("No se pudo crear un archivo temporal junto a", path);
        return false;
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode = 0644;
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fchmod(fd, mode) == 0 && (!flushToDisk || ::fsync(fd) == 0);
    const int savedErrno = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmpl.c_str(), path.c_str()) == 0)
        return true;
    if (ok)
        errno = errno ? errno : savedErrno;
    else
        errno = savedErrno;
    if (error)
        *error = Describe("No se pudo escribir el archivo", path);
    ::unlink(tmpl.c_str());
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error)
            *error = Describe("No se pudo abrir el archivo", path);
        return false;
    }
    bytes.clear();
    uint8_t buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool failed = std::ferror(f);
    std::fclose(f);
    if (failed) {
        if (error)
            *error = Describe("No se pudo leer el archivo", path);
        return false;
    }
    return true;
}
