#include "setup/install_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "base/file_messages.h"
#include "setup/package_format.h"
#include "setup/uninstall.h"

namespace {

constexpr size_t kCopyPieceBytes = 65536;

std::string Quoted(const std::string& text)
{
    return "«" + text + "»";
}

std::string WithoutTrailingSeparator(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

void Remember(std::vector<std::string>& list, const std::string& path)
{
    if (std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(path);
}

// One level only: the parent must already be there. An existing folder is fine.
bool MakeDestination(const std::string& dest, bool& created, std::string& message)
{
    created = false;
    if (dest.empty() || dest[0] != '/') {
        message = "La carpeta de instalación " + Quoted(dest) + " no es una ruta completa (debe empezar con «/»).";
        return false;
    }
    // The install list holds one path a line: a line break in the folder's name would
    // split each path in two, and the uninstaller could not read the list.
    if (dest.find('\n') != std::string::npos) {
        message = "No se puede instalar en " + Quoted(dest) + ": el nombre de la carpeta lleva un salto de renglón. "
                  "Elija una carpeta cuyo nombre esté en un solo renglón.";
        return false;
    }
    const size_t slash = dest.rfind('/');
    const std::string parent = slash == 0 ? "/" : dest.substr(0, slash);
    struct stat st {};
    if (::stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        message = "No se puede instalar en " + Quoted(dest) + ": la carpeta " + Quoted(parent) +
                  " no existe. Elija una carpeta dentro de una que ya exista.";
        return false;
    }
    if (::mkdir(dest.c_str(), 0755) == 0) {
        created = true;
        return true;
    }
    const int failure = errno;
    if (failure == EEXIST && ::stat(dest.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return true;
    if (failure == EEXIST)
        message = "No se puede instalar en " + Quoted(dest) + ": ya existe un archivo con ese nombre.";
    else
        message = FileErrorMessage(FileAction::Write, dest, failure);
    return false;
}

// Copies one record to a temporary file beside its target, then renames it over the
// target: a file that was there stays whole until the new one is complete.
bool InstallOne(SetupPackage& package, SetupPackage::Record& record, const std::string& dest, mode_t mode,
                std::vector<uint8_t>& buffer, std::string& message)
{
    const std::string target = dest + "/" + record.name;
    std::string temp = dest + "/.kal-instalando-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        message = FileErrorMessage(FileAction::Write, target, errno);
        return false;
    }
    bool ok = true;
    while (ok && record.remaining > 0) {
        const size_t piece = record.remaining >= kCopyPieceBytes ? kCopyPieceBytes : size_t(record.remaining);
        const size_t got = package.ReadContents(record, buffer.data(), piece, message);
        if (got == 0) {
            ok = false;  // the package ended early; ReadContents said so
        } else if (!WriteAllToFd(fd, buffer.data(), got)) {
            message = FileErrorMessage(FileAction::Write, target, errno);
            ok = false;
        }
    }
    if (ok && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) {
        message = FileErrorMessage(FileAction::Write, target, errno);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        message = FileErrorMessage(FileAction::Write, target, errno);
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        const int failure = errno;
        message = failure == EISDIR || failure == ENOTEMPTY || failure == EEXIST
                      ? "No se puede instalar " + Quoted(target) + ": ya existe una carpeta con ese nombre."
                      : FileErrorMessage(FileAction::Write, target, failure);
        ok = false;
    }
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

bool IsProgramFile(const std::string& name, const std::string& productName)
{
    return name == productName || name == kCliProgramName || name == kUninstallerProgramName;
}

// The list names what this installation put on the disk, plus whatever an earlier
// installation into the same folder listed, so that one uninstall takes away both.
bool WriteInstallList(const std::string& listPath, const InstallReport& report, std::string& message)
{
    std::vector<std::string> lines;
    std::vector<std::string> previous;
    std::string ignored;
    struct stat st {};
    const bool there = ::lstat(listPath.c_str(), &st) == 0;
    // Only a list of our own is an earlier installation's. Anything else under its name (a
    // link planted to some other file) is taken away, so that the new list is written in
    // its place instead of through it, and nothing it points to is read as ours.
    if (there && S_ISLNK(st.st_mode) && ::unlink(listPath.c_str()) != 0 && errno != ENOENT) {
        message = FileErrorMessage(FileAction::Write, listPath, errno);
        return false;
    }
    if (there && S_ISREG(st.st_mode) && ReadInstallList(listPath, previous, ignored))
        for (const std::string& path : previous)
            Remember(lines, path);
    for (const std::string& path : report.installedFiles)
        Remember(lines, path);
    for (const std::string& path : report.menuFiles)
        Remember(lines, path);
    for (const std::string& folder : report.createdFolders)
        Remember(lines, folder + "/");
    Remember(lines, listPath);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return WriteFileAtomically(listPath, std::span<const uint8_t>(bytes, text.size()), &message);
}

}  // namespace

std::string InstallListPath(const std::string& destFolder, const std::string& productName)
{
    return WithoutTrailingSeparator(destFolder) + "/" + productName + kInstallListExtension;
}

bool InstallFiles(const std::string& destFolder, const std::string& packagePath, InstallProgress& progress,
                  InstallReport& report, std::string& message, const MenuLocations& menus)
{
    report = {};
    message.clear();
    const std::string dest = WithoutTrailingSeparator(destFolder);

    // The package is checked whole before the folder is touched: a package that is not
    // ours, or is damaged, installs nothing at all.
    SetupPackage package;
    if (!package.Open(packagePath, message))
        return false;
    const std::string productName = package.Trailer().productName;
    bool createdDest = false;
    if (!MakeDestination(dest, createdDest, message))
        return false;
    const std::string listPath = InstallListPath(dest, productName);

    progress.SetMaximum(int(std::min<uint32_t>(package.FileCount(), INT32_MAX)));
    std::vector<uint8_t> buffer(kCopyPieceBytes, 0);
    SetupPackage::Record record;
    bool ok = true;
    while (ok) {
        if (!package.NextRecord(record, message)) {
            ok = message.empty();
            break;
        }
        if (dest + "/" + record.name == listPath) {
            message = "El paquete de instalación " + Quoted(packagePath) + " trae un archivo " +
                      Quoted(record.name) + " que ocuparía el lugar de la lista de archivos instalados.";
            ok = false;
            break;
        }
        const mode_t mode = IsProgramFile(record.name, productName) ? 0755 : 0644;
        if (!InstallOne(package, record, dest, mode, buffer, message)) {
            ok = false;
            break;
        }
        Remember(report.installedFiles, dest + "/" + record.name);
        progress.Step();
    }

    if (ok) {
        const ProgramGroupResult group = RegisterProgramGroup(dest, productName, menus);
        report.menuFiles = group.writtenFiles;
        report.createdFolders = group.createdFolders;
    }
    // Even after a failure part-way, the list names what was installed so that the
    // uninstaller can take it away again.
    std::string listMessage;
    if (!report.installedFiles.empty() || ok) {
        if (WriteInstallList(listPath, report, listMessage))
            report.installListPath = listPath;
        else if (ok) {
            message = listMessage;
            ok = false;
        }
    } else if (createdDest) {
        ::rmdir(dest.c_str());
    }
    return ok;
}
