// The Windows twin of file_times_posix.cpp: a reparse point is opened as itself, and
// file times (100-nanosecond steps since 1601) are turned into seconds since 1970.
#include "base/file_times.h"

#include <windows.h>

#include "base/windows_paths.h"

namespace {

constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr int64_t kStepsPerSecond = 10000000LL;

HANDLE OpenAsItself(const std::string& path, DWORD access)
{
    return ::CreateFileW(WidePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

bool ModifiedSeconds(const std::string& path, int64_t& seconds)
{
    const HANDLE h = OpenAsItself(path, FILE_READ_ATTRIBUTES);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written {};
    const bool read = ::GetFileTime(h, nullptr, nullptr, &written) != 0;
    ::CloseHandle(h);
    if (!read)
        return false;
    const int64_t steps = (int64_t(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    seconds = steps / kStepsPerSecond - kSecondsFrom1601To1970;
    return true;
}

bool SetModifiedSeconds(const std::string& path, int64_t seconds)
{
    const HANDLE h = OpenAsItself(path, FILE_WRITE_ATTRIBUTES);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const int64_t steps = (seconds + kSecondsFrom1601To1970) * kStepsPerSecond;
    FILETIME time {DWORD(steps & 0xFFFFFFFF), DWORD(uint64_t(steps) >> 32)};
    const bool set = ::SetFileTime(h, nullptr, &time, &time) != 0;
    ::CloseHandle(h);
    return set;
}
