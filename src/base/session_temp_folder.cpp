#include "base/session_temp_folder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#ifdef _WIN32
#include <random>
#include <windows.h>

#include "base/windows_paths.h"
#else
#include <sys/stat.h>
#endif

namespace {

constexpr const char* kCannotMake = "No se pudo crear la carpeta temporal privada del programa en ";
constexpr const char* kConsequence = " Las tablas del formato no pueden guardar sus renglones.";

std::string Reason(int error)
{
    switch (error) {
    case ENOENT:
        return "la carpeta no existe.";
    case ENOTDIR:
        return "la ruta no es una carpeta.";
    case EACCES:
    case EPERM:
        return "no tiene permiso para escribir en ella.";
    case EROFS:
        return "la carpeta es de solo lectura.";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return "no hay espacio suficiente en el disco.";
    case EMLINK:
        return "la carpeta ya contiene demasiadas carpetas.";
    case ENAMETOOLONG:
        return "la ruta es demasiado larga.";
    default:
        return "error del sistema número " + std::to_string(error) + ".";
    }
}

struct SessionFolder {
    std::string path;
    std::string problem;
};

SessionFolder g_session;

void RemoveFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(g_session.path, ec);
}

SessionFolder MakeSessionFolder()
{
    SessionFolder made;
    std::error_code ec;
    const std::filesystem::path system = std::filesystem::temp_directory_path(ec);
    // When TMPDIR names no folder the usual /tmp is the parent; the private folder is
    // made inside it all the same.
    const std::string parent = ec ? std::string("/tmp") : system.string();
    if (MakePrivateTempFolder(parent, made.path, made.problem)) {
        g_session.path = made.path;
        std::atexit(RemoveFolder);
    }
    return made;
}

const SessionFolder& Session()
{
    static const SessionFolder folder = MakeSessionFolder();
    return folder;
}

}  // namespace

bool MakeUniqueFolder(const std::string& parent, const std::string& prefix, std::string& folder, int& error)
{
    folder.clear();
#ifdef _WIN32
    // The name is drawn at random and the folder created only where nothing stands; a
    // folder in the user's profile is private to the user already.
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 engine(std::random_device {}());
    std::uniform_int_distribution<int> pick(0, 61);
    DWORD code = ERROR_ALREADY_EXISTS;
    for (int attempt = 0; attempt < 100 && code == ERROR_ALREADY_EXISTS; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i)
            name += kAlphabet[pick(engine)];
        const std::wstring wide = WidePath(parent) + L"\\" + WidePath(name);
        if (::CreateDirectoryW(wide.c_str(), nullptr)) {
            folder = Utf8Path(wide);
            return true;
        }
        code = ::GetLastError();
    }
    // Windows says "path not found" when the parent is a file; the clerk is told that.
    const DWORD attributes = ::GetFileAttributesW(WidePath(parent).c_str());
    const bool parentIsFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    error = parentIsFile ? ENOTDIR : ErrnoFromWin32(code);
    return false;
#else
    std::string pattern = (std::filesystem::path(parent) / (prefix + "XXXXXX")).string();
    // mkdtemp makes the folder with mode 0700 under a name nobody can know in advance.
    if (!::mkdtemp(pattern.data())) {
        error = errno;
        return false;
    }
    folder = pattern;
    return true;
#endif
}

bool MakeFolderOwnerOnly(const std::string& folder, int& error)
{
#ifdef _WIN32
    (void)folder;
    (void)error;
    return true;
#else
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || ((st.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)) {
        error = errno;
        return false;
    }
    return true;
#endif
}

bool MakePrivateTempFolder(const std::string& parent, std::string& folder, std::string& problem)
{
    problem.clear();
    int error = 0;
    if (MakeUniqueFolder(parent, "ordexa-", folder, error))
        return true;
    problem = kCannotMake + ("\"" + parent + "\": ") + Reason(error) + kConsequence;
    return false;
}

const std::string& SessionTempFolder()
{
    return Session().path;
}

const std::string& SessionTempFolderProblem()
{
    return Session().problem;
}
