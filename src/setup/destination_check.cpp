#include "setup/destination_check.h"

#include <cerrno>
#include <cstdio>

#include "base/file_messages.h"
#include "setup/setup_files.h"
#include "setup/setup_paths.h"

namespace {

#ifdef _WIN32
constexpr char kFullPathStart[] = "debe empezar con la letra de una unidad, como «C:\\».";
#else
constexpr char kFullPathStart[] = "debe empezar con «/».";
#endif

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

// Why the clerk cannot write into the existing folder `folder`, or empty.
std::string WriteProblem(const std::string& folder, const std::string& what)
{
    if (MayWriteInFolder(folder))
        return {};
    if (errno == EROFS)
        return "La carpeta " + InGuillemets(folder) + " está en un disco de solo lectura: no se puede " + what +
               ". Elija otra carpeta con 'Explorar'.";
    return "No tiene permiso para " + what + ". Elija otra carpeta con 'Explorar'.";
}

}  // namespace

std::string SizeText(uint64_t bytes)
{
    char text[48];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%llu KB", static_cast<unsigned long long>((bytes + 1023) / 1024));
    else
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    return text;
}

bool FreeBytes(const std::string& path, uint64_t& bytes)
{
    return FreeDiskBytes(path, bytes) || FreeDiskBytes(Parent(path), bytes);
}

std::string DestinationProblem(const std::string& folder, const std::string& productName, uint64_t neededBytes)
{
    if (Trimmed(folder).empty())
        return "Escriba la carpeta donde se instalará " + productName + ", o elíjala con 'Explorar'.";
    if (!IsFullPath(folder))
        return "La carpeta " + InGuillemets(folder) + " no es una ruta completa: " + kFullPathStart;
    // The install list holds one path a line: a line break in the folder's name would
    // split each path in two, and the uninstaller could not read the list.
    if (folder.find_first_of("\n\r") != std::string::npos)
        return "El nombre de la carpeta " + InGuillemets(folder) + " lleva un salto de renglón. Elija una carpeta cuyo "
               "nombre esté en un solo renglón.";
    std::string path = folder;
    while (path.size() > RootLength(path) && path.back() == '/')
        path.pop_back();
    std::string problem;
    const EntryKind kind = KindFollowing(path);
    if (kind != EntryKind::Missing) {
        if (kind != EntryKind::Folder)
            return InGuillemets(path) + " es un archivo, no una carpeta. Elija otra carpeta con 'Explorar'.";
        problem = WriteProblem(path, "escribir en la carpeta " + InGuillemets(path));
    } else {
        const std::string parent = Parent(path);
        if (KindFollowing(parent) != EntryKind::Folder)
            return "No existe la carpeta " + InGuillemets(parent) + ", donde se crearía la carpeta de instalación " +
                   InGuillemets(path) + ". El programa de instalación solo crea el último nivel de la ruta: elija una "
                   "carpeta que exista con 'Explorar'.";
        problem = WriteProblem(parent, "crear la carpeta " + InGuillemets(BaseName(path)) +
                                           " dentro de " + InGuillemets(parent));
    }
    if (!problem.empty())
        return problem;
    uint64_t free = 0;
    if (neededBytes > 0 && FreeBytes(path, free) && free < neededBytes)
        return "No hay espacio suficiente en el disco para instalar " + productName + " en " + InGuillemets(path) +
               ": se necesitan " + SizeText(neededBytes) + " y quedan " + SizeText(free) +
               " libres. Libere espacio en el disco o elija otra carpeta con 'Explorar'.";
    return {};
}

std::string SetupWriteError(const std::string& path, int errorNumber)
{
    switch (errorNumber) {
    case EROFS:
        return "No se puede escribir " + InGuillemets(path) + ": el disco es de solo lectura.";
    case EACCES:
    case EPERM:
        return "No tiene permiso para escribir " + InGuillemets(path) + ".";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return "No se puede escribir " + InGuillemets(path) + ": el disco se llenó (o se alcanzó el límite de espacio "
               "que se le permite usar).";
    case EIO:
        return "Hubo una falla del disco al escribir " + InGuillemets(path) + ".";
    default:
        return WithAngleQuotes(FileErrorMessage(FileAction::Write, path, errorNumber), path);
    }
}

std::string WithAngleQuotes(std::string text, const std::string& path)
{
    const std::string plain = "\"" + path + "\"";
    for (size_t at = text.find(plain); at != std::string::npos; at = text.find(plain, at))
        text.replace(at, plain.size(), InGuillemets(path));
    return text;
}

std::string SetupReadError(const std::string& path, int errorNumber)
{
    return WithAngleQuotes(FileErrorMessage(FileAction::Read, path, errorNumber), path);
}
