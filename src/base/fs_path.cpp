#include "base/fs_path.h"

#include <cerrno>
#include <random>

#ifdef _WIN32
#include "base/windows_paths.h"
#endif

std::filesystem::path FsPath(const std::string& utf8)
{
#ifdef _WIN32
    return std::filesystem::path(WidePath(utf8));
#else
    return std::filesystem::path(utf8);
#endif
}

std::string Utf8(const std::filesystem::path& path)
{
#ifdef _WIN32
    return Utf8Path(path.wstring());
#else
    return path.string();
#endif
}

std::string FileNameOf(const std::string& path)
{
    return Utf8(FsPath(path).filename());
}

int ErrnoOf(const std::error_code& ec)
{
    const std::error_condition condition = ec.default_error_condition();
    return condition.category() == std::generic_category() && condition.value() != 0 ? condition.value() : EIO;
}

std::string RandomNamePart()
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 engine(std::random_device {}());
    std::uniform_int_distribution<int> pick(0, 61);
    std::string part(6, 'A');
    for (char& c : part)
        c = kAlphabet[pick(engine)];
    return part;
}
