#include "setup_fixture.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/fs_path.h"
#include "base/session_temp_folder.h"
#include "setup/payload_writer.h"
#include "setup/setup_files.h"
#include "setup/temp_file_name.h"

namespace fs = std::filesystem;

namespace setup_test {

#ifdef _WIN32

void SetEnvironment(const char* name, const std::string& value)
{
    ::_putenv_s(name, value.c_str());  // an empty value removes the variable
}

const char* HomeVariable()
{
    return "USERPROFILE";
}

namespace {
struct Stopped {};
}  // namespace

// No fork on Windows: the work runs in this process and is stopped by an exception. Only
// destructors run on the way out, and those of the installer's core close handles and
// let locks go, as the end of a killed process does; nothing is cleaned up or put back.
bool RunKilled(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Stopped&) {
        return true;
    }
    return false;
}

void KillSelf()
{
    throw Stopped {};
}

bool LimitFileSize(uint64_t)
{
    return false;
}

void RestoreFileSizeLimit()
{
}

unsigned ModeOf(const std::string&)
{
    return 0;
}

#else

void SetEnvironment(const char* name, const std::string& value)
{
    value.empty() ? ::unsetenv(name) : ::setenv(name, value.c_str(), 1);
}

const char* HomeVariable()
{
    return "HOME";
}

bool RunKilled(const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

void KillSelf()
{
    ::raise(SIGKILL);
    ::_exit(1);
}

namespace {
struct rlimit g_savedLimit {};
}  // namespace

bool LimitFileSize(uint64_t bytes)
{
    ::getrlimit(RLIMIT_FSIZE, &g_savedLimit);
    struct rlimit limit = g_savedLimit;
    std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG, as on a full disk
    limit.rlim_cur = rlim_t(bytes);
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void RestoreFileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &g_savedLimit);
}

unsigned ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

#endif

bool MakeSymlink(const std::string& target, const std::string& link, bool folder)
{
    std::error_code ec;
    if (folder)
        fs::create_directory_symlink(FsPath(target), FsPath(link), ec);
    else
        fs::create_symlink(FsPath(target), FsPath(link), ec);
    return !ec;
}

TempFolder::TempFolder()
{
    std::string folder = SystemTempFolder();
    int error = 0;
    if (!MakeUniqueFolder(folder.substr(0, folder.size() - 1), "ordexa-setup-test-", folder, error))
        ADD_FAILURE() << "no temporary folder";
    m_path = GenericPath(folder);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    const fs::path path = FsPath(m_path);
    // A test may leave a folder without write permission behind.
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(path, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_directory() && !it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(FsPath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool Exists(const std::string& path)
{
    return KindAt(path) != EntryKind::Missing;
}

std::vector<uint8_t> Pattern(size_t size, unsigned seed)
{
    std::vector<uint8_t> bytes(size);
    uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = uint8_t(state >> 16);
    }
    return bytes;
}

PackageTrailer SampleTrailer()
{
    PackageTrailer trailer;
    trailer.productName = "ORDEXA";
    trailer.description = "Diseña formatos y captura sus datos.\r\nSegunda línea.";
    trailer.defaultFolder = "~/ordexa";
    trailer.picture = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
    trailer.licenceText = "CONTRATO DE LICENCIA\r\nCláusula única: úselo.";
    return trailer;
}

std::vector<PackageEntry> SampleEntries()
{
    return {
        {kProgram, {}, Pattern(70000, 1)},
        {kUninstaller, {}, Pattern(3000, 2)},
        {"Declaración general 5.fmt", {}, Pattern(1234, 3)},
        {"vacío.txt", {}, {}},
    };
}

std::string MakeInstaller(const TempFolder& folder, const std::vector<uint8_t>& package, bool deflate)
{
    const std::string packagePath = folder / "fuente.dat";
    const std::string zipPath = folder / "fuente.zip";
    const std::string wizardPath = folder / "asistente";
    const std::string setupPath = folder / "setup";
    WriteBytes(packagePath, package);
    WriteBytes(wizardPath, Pattern(5000, 99));
    std::string message;
    EXPECT_TRUE(BuildPayloadZip(packagePath, zipPath, message, deflate)) << message;
    EXPECT_TRUE(AppendPayload(wizardPath, zipPath, setupPath, message)) << message;
    fs::remove(FsPath(packagePath));
    fs::remove(FsPath(zipPath));
    return setupPath;
}

std::map<std::string, std::string> Listing(const std::string& root)
{
    std::map<std::string, std::string> listing;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(FsPath(root), ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const fs::file_status status = fs::symlink_status(it->path(), ec);
        const bool folder = fs::is_directory(status);
        const char* kind = folder ? "carpeta" : fs::is_symlink(status) ? "enlace" : "archivo";
        char mode[8];
        std::snprintf(mode, sizeof mode, "%o", unsigned(status.permissions()) & 07777u);
        std::error_code sizeError;
        const uintmax_t size = folder                    ? 0
                               : fs::is_symlink(status) ? fs::read_symlink(it->path(), sizeError).native().size()
                                                        : fs::file_size(it->path(), sizeError);
        listing[GenericPath(Utf8(fs::relative(it->path(), FsPath(root))))] =
            std::string(kind) + " " + mode + " " + (folder ? "" : std::to_string(size));
    }
    return listing;
}

MenuLocations TestMenus(const TempFolder& root)
{
    MenuLocations menus;
    menus.dataHome = root / "datos";
    menus.configHome = root / "config";
    menus.refreshDesktopCaches = false;
    return menus;
}

}  // namespace setup_test
