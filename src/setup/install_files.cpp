#include "setup/install_files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>

#include "base/atomic_file.h"
#include "setup/content_digest.h"
#include "setup/destination_check.h"
#include "setup/install_journal.h"
#include "setup/install_list.h"
#include "setup/package_format.h"
#include "base/file_messages.h"
#include "setup/setup_files.h"
#include "setup/setup_paths.h"

namespace {

constexpr size_t kCopyPieceBytes = 65536;
constexpr int kMaxBesideNumber = 99;

void Remember(std::vector<std::string>& list, const std::string& path)
{
    if (std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(path);
}

// One level only: the parent must already be there. An existing folder is fine.
bool MakeDestination(const std::string& dest, bool& created, std::string& message)
{
    created = false;
    if (MakeFolder(dest)) {
        created = true;
        return true;
    }
    const int failure = errno;
    if (failure == EEXIST && KindFollowing(dest) == EntryKind::Folder)
        return true;
    if (failure == EEXIST)
        message = "No se puede instalar en " + InGuillemets(dest) + ": ya existe un archivo con ese nombre.";
    else
        message = "No se puede crear la carpeta de instalación " + InGuillemets(dest) + ". " + SetupWriteError(dest, failure);
    return false;
}

InstallListEntry PathEntry(const std::string& path)
{
    InstallListEntry entry;
    entry.path = path;
    return entry;
}

bool IsProgramFile(const std::string& name, const std::string& productName)
{
    return name == productName + kProgramSuffix || name == std::string(kCliProgramName) + kProgramSuffix ||
           name == std::string(kUninstallerProgramName) + kProgramSuffix;
}

// The earlier installation's list in the folder, and whether it can be trusted: written
// for this very folder (it says so, or an older list names itself at this place).
struct PreviousList {
    bool trusted = false;
    std::map<std::string, InstallListEntry> entries;  // by path
    std::vector<InstallListEntry> ordered;
};

PreviousList ReadPreviousList(const std::string& listPath, const std::string& dest)
{
    PreviousList previous;
    InstallList list;
    std::string ignored;
    if (KindAt(listPath) != EntryKind::File || !ReadInstallList(listPath, list, ignored))
        return previous;
    const bool namesItself = std::any_of(list.entries.begin(), list.entries.end(),
                                         [&](const InstallListEntry& entry) { return entry.path == listPath; });
    previous.trusted = list.folder.empty() ? namesItself : list.folder == dest;
    for (const InstallListEntry& entry : list.entries)
        previous.entries.emplace(entry.path, entry);
    previous.ordered = std::move(list.entries);
    return previous;
}

// What the run is doing, so that a failure can take it all back.
struct Run {
    std::string dest;
    std::string productName;
    std::string packageShown;  // the installer, or the package file, as messages name it
    InstallJournal* journal = nullptr;
    const PreviousList* previous = nullptr;
    std::vector<uint8_t> buffer;
};

// Whether the file now at `path` may be written over: it is the installer's own as it
// installed it (or as an older list recorded it), or it already holds `newDigest`. A
// file that is none of these is the clerk's.
bool MayReplace(const Run& run, const std::string& path, const std::string& newDigest)
{
    if (KindAt(path) != EntryKind::File)
        return true;  // nothing there, or a link (replaced itself, never written through)
    if (run.previous->trusted) {
        const auto found = run.previous->entries.find(path);
        if (found != run.previous->entries.end() && IsAsInstalled(found->second))
            return true;
    }
    uint64_t size = 0;
    std::string digest;
    return DigestOfFile(path, size, digest) && digest == newDigest;
}

// Copies one record to a temporary file in the destination, then renames it to its
// name, or beside the clerk's changed file. `installedName` is where it went.
bool InstallOne(Run& run, SetupPackage& package, SetupPackage::Record& record, unsigned mode, bool alwaysReplace,
                std::string& installedName, InstallListEntry& entry, std::string& message)
{
    const std::string target = run.dest + "/" + record.name;
    int fd = -1;
    const std::string temp = CreateUniqueFile(run.dest, kInProgressPrefix, fd);
    if (fd < 0) {
        message = SetupWriteError(target, errno);
        return false;
    }
    ContentDigest digest;
    bool ok = true;
    while (ok && record.remaining > 0) {
        const size_t piece = record.remaining >= kCopyPieceBytes ? kCopyPieceBytes : size_t(record.remaining);
        const size_t got = package.ReadContents(record, run.buffer.data(), piece, message);
        if (got == 0) {
            ok = false;  // the package ended early; ReadContents said so
        } else if (!WriteAllToFd(fd, run.buffer.data(), got)) {
            message = SetupWriteError(target, errno);
            ok = false;
        } else {
            digest.Add(run.buffer.data(), got);
        }
    }
    if (ok && (!SetOpenFileMode(fd, mode) || !FlushToDisk(fd))) {
        message = SetupWriteError(target, errno);
        ok = false;
    }
    if (!CloseFile(fd) && ok) {
        message = SetupWriteError(target, errno);
        ok = false;
    }

    // Where it goes: its own name, unless the clerk changed the file of that name.
    installedName = record.name;
    const std::string newDigest = digest.Hex();
    for (int number = 1; ok && !alwaysReplace && !MayReplace(run, run.dest + "/" + installedName, newDigest);
         ++number) {
        if (number > kMaxBesideNumber) {
            message = "No se puede instalar " + InGuillemets(target) + ": usted modificó ese archivo y ya hay " +
                      std::to_string(kMaxBesideNumber) + " versiones nuevas a su lado. Quite las que no use.";
            ok = false;
            break;
        }
        installedName = BesideName(record.name, number);
    }
    const std::string installedPath = run.dest + "/" + installedName;
    const EntryKind kind = ok ? KindAt(installedPath) : EntryKind::Missing;
    const bool there = kind != EntryKind::Missing;
    if (kind == EntryKind::Folder) {
        message = "No se puede instalar " + InGuillemets(installedPath) + ": ya existe una carpeta con ese nombre.";
        ok = false;
    }
    if (ok)
        ok = there ? run.journal->WillReplace(installedName, message) : run.journal->WillCreate(installedName, message);
    if (ok && !RenameOver(temp, installedPath)) {
        message = SetupWriteError(installedPath, errno);
        ok = false;
    }
    if (!ok) {
        RemoveFile(temp);
        return false;
    }
    entry = {installedPath, true, digest.Size(), newDigest};
    return true;
}

// The new list: what this run installed and wrote, and of the earlier list only what is
// still recognisably the installer's.
InstallList NewInstallList(const std::string& dest, const std::string& listPath,
                           const std::vector<InstallListEntry>& installed, const InstallReport& report,
                           const PreviousList& previous, const MenuLocations& menus, std::vector<std::string>& ignored)
{
    InstallList list;
    list.folder = dest;
    std::vector<std::string> paths;
    const auto add = [&](const InstallListEntry& entry) {
        if (std::find(paths.begin(), paths.end(), entry.path) != paths.end())
            return;
        paths.push_back(entry.path);
        list.entries.push_back(entry);
    };
    for (const InstallListEntry& entry : installed)
        add(entry);
    for (const std::string& path : report.menuFiles)
        add(PathEntry(path));
    for (const std::string& folder : report.createdFolders)
        add(PathEntry(folder + "/"));
    for (const InstallListEntry& entry : previous.ordered) {
        if (entry.path == listPath || std::find(paths.begin(), paths.end(), entry.path) != paths.end())
            continue;
        if (IsFolderEntry(entry.path)) {
            if (previous.trusted && LeadsToMenuFolder(WithoutTrailingSeparator(entry.path), menus))
                add(entry);
            continue;
        }
        if (KindAt(entry.path) == EntryKind::Missing)
            continue;  // gone: nothing to remember
        const std::string name = entry.path.substr(entry.path.rfind('/') + 1);
        const bool inDest = Parent(entry.path) == dest;
        if (inDest && std::find(report.keptChanged.begin(), report.keptChanged.end(), name) != report.keptChanged.end())
            continue;  // the clerk's own now
        const bool ours = previous.trusted &&
                          (inDest ? entry.hasDigest && IsAsInstalled(entry)
                                  : IsProgramGroupFile(Parent(entry.path), name, dest));
        if (ours)
            add(entry);
        else
            ignored.push_back(entry.path);
    }
    add(PathEntry(listPath));
    return list;
}

bool WriteInstallList(const std::string& listPath, const InstallList& list, std::string& message)
{
    // A link planted under the list's name is taken away, so that the new list is
    // written in its place instead of through it.
    if (KindAt(listPath) == EntryKind::Link && !RemoveFile(listPath) && errno != ENOENT) {
        message = SetupWriteError(listPath, errno);
        return false;
    }
    const std::string text = FormatInstallList(list);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    std::string error;
    if (WriteFileAtomically(listPath, std::span<const uint8_t>(bytes, text.size()), &error))
        return true;
    message = "No se pudo guardar la lista de archivos instalados " + InGuillemets(listPath) + ". " + error;
    return false;
}

// The sentence that follows a failure once the folder has been put back.
std::string AfterRollBack(const std::string& dest, bool createdDest, bool replacedAny,
                          const std::vector<std::string>& notRestored)
{
    if (notRestored.empty() && createdDest)
        return "Se quitó lo que esta instalación había copiado; la carpeta " + InGuillemets(dest) +
               " ya no existe, como antes de instalar.";
    if (notRestored.empty())
        return std::string("Se quitó lo que esta instalación había copiado") +
               (replacedAny ? " y se devolvieron los archivos que había reemplazado" : "") + ": la carpeta " +
               InGuillemets(dest) + " quedó como estaba.";
    std::string names;
    for (size_t i = 0; i < notRestored.size() && i < 5; ++i)
        names += (i ? ", " : "") + notRestored[i];
    if (notRestored.size() > 5)
        names += "…";
    return "Se quitó lo que esta instalación había copiado, pero no se pudieron devolver a como estaban " +
           std::to_string(notRestored.size()) + " archivos de la carpeta " + InGuillemets(dest) + ": " + names + ".";
}

}  // namespace

std::string InstallListPath(const std::string& destFolder, const std::string& productName)
{
    return WithoutTrailingSeparator(destFolder) + "/" + productName + kInstallListExtension;
}

std::string BesideName(const std::string& name, int number)
{
    const std::string mark = number > 1 ? " (nuevo " + std::to_string(number) + ")" : " (nuevo)";
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return name + mark;
    return name.substr(0, dot) + mark + name.substr(dot);
}

bool InstallFiles(const std::string& destFolder, const std::string& packagePath, InstallProgress& progress,
                  InstallReport& report, std::string& message, const MenuLocations& menus,
                  const std::string& installerPath)
{
    report = {};
    message.clear();
    const std::string dest = WithoutTrailingSeparator(destFolder);

    // The package is checked whole before the folder is touched: a package that is not
    // ours, or is damaged, installs nothing at all.
    SetupPackage package;
    if (!installerPath.empty())
        package.ShowAsInstaller(installerPath);
    if (!package.Open(packagePath, message))
        return false;
    const std::string productName = package.Trailer().productName;
    message = DestinationProblem(dest, productName, package.ContentBytes());
    if (!message.empty())
        return false;
    bool createdDest = false;
    if (!MakeDestination(dest, createdDest, message))
        return false;
    DestinationLock lock;
    if (!lock.Acquire(dest, message)) {
        if (createdDest)
            RemoveFolder(dest);
        return false;
    }
    // What a stopped run left is undone first; a folder it made counts as made by this one.
    const RecoveredRun recovered = RecoverInterruptedRun(lock);
    report.recovered = recovered.touched;
    createdDest = createdDest || recovered.createdFolder;
    const std::string listPath = InstallListPath(dest, productName);
    const PreviousList previous = ReadPreviousList(listPath, dest);

    InstallJournal journal(lock);
    if (!journal.Begin(createdDest, message)) {
        if (createdDest)
            RemoveFolder(dest);
        return false;
    }
    Run run{dest, productName, installerPath.empty() ? packagePath : installerPath, &journal, &previous,
            std::vector<uint8_t>(kCopyPieceBytes, 0)};
    progress.SetMaximum(int(std::min<uint32_t>(package.FileCount(), INT32_MAX)));
    std::vector<InstallListEntry> installed;
    SetupPackage::Record record;
    bool ok = true;
    while (ok) {
        if (!package.NextRecord(record, message)) {
            ok = message.empty();
            break;
        }
        if (dest + "/" + record.name == listPath) {
            message = "El programa de instalación " + InGuillemets(run.packageShown) + " trae un archivo " +
                      InGuillemets(record.name) + " que ocuparía el lugar de la lista de archivos instalados. Vuelva a "
                      "copiar el programa de instalación.";
            ok = false;
            break;
        }
        const bool program = IsProgramFile(record.name, productName);
        std::string installedName;
        InstallListEntry entry;
        if (!InstallOne(run, package, record, program ? 0755 : 0644, program, installedName, entry, message)) {
            ok = false;
            break;
        }
        if (installedName != record.name) {
            report.keptChanged.push_back(record.name);
            report.besideNames.push_back(installedName);
        }
        Remember(report.installedFiles, entry.path);
        installed.push_back(entry);
        progress.Step();
    }

    ProgramGroupResult group;
    if (ok) {
        group = RegisterProgramGroup(dest, productName, menus);
        report.menuFiles = group.writtenFiles;
        report.createdFolders = group.createdFolders;
        const InstallList list =
            NewInstallList(dest, listPath, installed, report, previous, menus, report.ignoredListed);
        ok = WriteInstallList(listPath, list, message);
    }
    if (ok) {
        report.installListPath = listPath;
        journal.Commit();
        return true;
    }
    UndoProgramGroup(group, menus);
    const bool replacedAny = journal.ReplacedAny();
    const std::vector<std::string> notRestored = journal.RollBack();
    message += "\n\n" + AfterRollBack(dest, createdDest, replacedAny, notRestored);
    report.installedFiles.clear();
    report.menuFiles.clear();
    report.createdFolders.clear();
    report.keptChanged.clear();
    report.besideNames.clear();
    return false;
}
