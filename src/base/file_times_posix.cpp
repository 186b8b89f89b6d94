#include "base/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

bool ModifiedSeconds(const std::string& path, int64_t& seconds)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    seconds = int64_t(st.st_mtim.tv_sec);
    return true;
}

bool SetModifiedSeconds(const std::string& path, int64_t seconds)
{
    const timespec times[2] = {{time_t(seconds), 0}, {time_t(seconds), 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}
