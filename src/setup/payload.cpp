#include "setup/payload.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <zip.h>

#include "base/atomic_file.h"
#include "base/file_messages.h"
#include "setup/destination_check.h"
#include "setup/package_format.h"
#include "setup/run_folder.h"
#include "setup/setup_files.h"
#include "setup/temp_file_name.h"

namespace {

constexpr char kTempPrefix[] = "KAL";
constexpr size_t kEntryChunkBytes = 16384;
constexpr size_t kCopyChunkBytes = 65536;
// The smallest ZIP archive: its end-of-central-directory record alone.
constexpr uint32_t kMinZipBytes = 22;

// What went wrong with the archive, in words for the clerk.
std::string ZipProblem(int zipError)
{
    switch (zipError) {
    case ZIP_ER_NOZIP: return "no es un archivo ZIP.";
    case ZIP_ER_INCONS: return "tiene índices internos que no concuerdan.";
    case ZIP_ER_CRC: return "no pasa la comprobación de integridad (CRC): lo que trae no es lo que se guardó.";
    case ZIP_ER_COMPNOTSUPP: return "usa un método de compresión que el programa no admite.";
    case ZIP_ER_ZLIB: return "tiene los datos comprimidos dañados.";
    case ZIP_ER_EOF: return "se termina antes de tiempo.";
    case ZIP_ER_READ:
    case ZIP_ER_SEEK: return "no se pudo leer completo.";
    case ZIP_ER_MEMORY: return "no se pudo leer por falta de memoria.";
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD: return "está cifrado.";
    default: return "no se puede leer (error " + std::to_string(zipError) + " del lector de ZIP).";
    }
}

std::string ArchiveProblem(zip_t* archive)
{
    return ZipProblem(zip_error_code_zip(zip_get_error(archive)));
}

std::string DamagedPayload(const std::string& exePath, const std::string& what)
{
    return "El programa de instalación " + InGuillemets(exePath) + " está dañado: " + what +
           " Vuelva a copiar el programa de instalación.";
}

std::string TempCreateFailed(const std::string& folder)
{
    return "No se puede crear un archivo temporal en la carpeta " + InGuillemets(folder) +
           ": revise que exista, que tenga permiso de escritura y que haya espacio en el disco.";
}

std::string InstallerReadFailed(const std::string& exePath, int errorNumber)
{
    const char* why = errorNumber == EACCES || errorNumber == EPERM ? "no tiene permiso para leerlo"
                      : errorNumber == ENOENT                       ? "ya no está en su lugar"
                                                                    : "el disco no lo entregó completo";
    return "No se puede leer el programa de instalación " + InGuillemets(exePath) + ": " + why +
           ". Vuelva a copiar el programa de instalación.";
}

// A temporary file that cannot be written whole: usually the temporary folder's disk is
// full. The clerk is told which folder, not the generated name.
std::string TempWriteFailed(const std::string& path, int errorNumber)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? path : path.substr(0, slash);
    return "No se pudieron sacar los archivos del programa de instalación a la carpeta temporal " + InGuillemets(folder) +
           ". " + SetupWriteError(path, errorNumber) + " Libere espacio en el disco y vuelva a intentarlo.";
}

// A new temporary file, remembered in `result` at once so that a failure removes it.
bool NewTempFile(const std::string& folder, const char* extension, PayloadResult& result, std::string& path,
                 int& fd, std::string& message)
{
    path = CreateTempFile(folder, kTempPrefix, extension, fd);
    if (fd < 0) {
        message = TempCreateFailed(folder);
        return false;
    }
    result.temporaryFiles.push_back(path);
    return true;
}

bool CloseWritten(int fd, const std::string& path, std::string& message)
{
    if (!CloseFile(fd)) {
        message = TempWriteFailed(path, errno);
        return false;
    }
    return true;
}

// Step 2 and 3: the N bytes before the last four of the executable go to the ZIP copy.
bool CopyAppendedArchive(const std::string& exePath, const std::string& tempFolder, PayloadResult& result,
                         std::string& zipPath, std::string& message)
{
    // A folder, a device or a pipe gives no size, and so no payload.
    uint64_t exeSize = 0;
    const EntryKind kind = KindFollowing(exePath);
    const int exe = kind == EntryKind::File ? OpenPlainFileForReading(exePath, exeSize, true) : -1;
    if (exe < 0 && kind == EntryKind::File) {
        message = InstallerReadFailed(exePath, errno);
        return false;
    }
    if (exe < 0 && kind == EntryKind::Missing) {
        message = InstallerReadFailed(exePath, ENOENT);
        return false;
    }
    if (exe < 0) {
        message = DamagedPayload(exePath, "no trae los archivos que debe instalar.");
        return false;
    }
    uint8_t tail[4];
    if (exeSize < 4 + kMinZipBytes || !ReadAllAt(exe, tail, 4, exeSize - 4)) {
        CloseFile(exe);
        message = DamagedPayload(exePath, "no trae los archivos que debe instalar.");
        return false;
    }
    const uint64_t zipSize = uint64_t(tail[0]) | uint64_t(tail[1]) << 8 | uint64_t(tail[2]) << 16 |
                             uint64_t(tail[3]) << 24;
    if (zipSize < kMinZipBytes || zipSize > exeSize - 4) {
        CloseFile(exe);
        message = DamagedPayload(exePath, "declara un archivo comprimido de " + std::to_string(zipSize) +
                                              " bytes y el programa solo mide " + std::to_string(exeSize) + ".");
        return false;
    }

    int out = -1;
    if (!NewTempFile(tempFolder, ".dat", result, zipPath, out, message)) {
        CloseFile(exe);
        return false;
    }
    std::vector<uint8_t> buffer(kCopyChunkBytes);
    uint64_t offset = exeSize - 4 - zipSize;
    uint64_t left = zipSize;
    while (left > 0) {
        const size_t piece = size_t(std::min<uint64_t>(left, buffer.size()));
        if (!ReadAllAt(exe, buffer.data(), piece, offset)) {
            message = InstallerReadFailed(exePath, errno ? errno : EIO);
            CloseFile(exe);
            CloseFile(out);
            return false;
        }
        if (!WriteAllToFd(out, buffer.data(), piece)) {
            message = TempWriteFailed(zipPath, errno);
            CloseFile(exe);
            CloseFile(out);
            return false;
        }
        offset += piece;
        left -= piece;
    }
    CloseFile(exe);
    return CloseWritten(out, zipPath, message);
}

// Step 4: the archive's first entry, stored or deflated, to the package file. The
// entry is read to its very end (a read that returns 0), because the integrity check
// runs only there: a damaged entry fails here instead of leaving half a package.
bool DecompressFirstEntry(const std::string& exePath, const std::string& zipPath, const std::string& tempFolder,
                          PayloadResult& result, std::string& packagePath, std::string& message)
{
    int zipError = 0;
    zip_t* archive = zip_open(zipPath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &zipError);
    if (!archive) {
        message = DamagedPayload(exePath, "el archivo comprimido que lleva " + ZipProblem(zipError));
        return false;
    }
    struct Closer {
        zip_t* archive;
        ~Closer() { zip_discard(archive); }
    } closer{archive};

    if (zip_get_num_entries(archive, 0) < 1) {
        message = DamagedPayload(exePath, "el archivo comprimido que lleva está vacío.");
        return false;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, 0, 0, &st) != 0) {
        message = DamagedPayload(exePath, "el archivo comprimido que lleva " + ArchiveProblem(archive));
        return false;
    }
    if (!(st.valid & ZIP_STAT_COMP_METHOD) || (st.comp_method != ZIP_CM_STORE && st.comp_method != ZIP_CM_DEFLATE)) {
        message = DamagedPayload(exePath, "su archivo comprimido usa el método de compresión " +
                                              std::to_string(st.comp_method) +
                                              "; solo se admiten sin compresión (0) y deflate (8).");
        return false;
    }
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
        message = DamagedPayload(exePath, "su archivo comprimido está cifrado.");
        return false;
    }
    if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPackageBytes) {
        message = DamagedPayload(exePath, "su archivo comprimido declara un paquete de " + std::to_string(st.size) +
                                              " bytes, más de lo que admite el programa de instalación.");
        return false;
    }
    zip_file_t* entry = zip_fopen_index(archive, 0, 0);
    if (!entry) {
        message = DamagedPayload(exePath, "el archivo comprimido que lleva " + ArchiveProblem(archive));
        return false;
    }

    int out = -1;
    if (!NewTempFile(tempFolder, ".dat", result, packagePath, out, message)) {
        zip_fclose(entry);
        return false;
    }
    std::vector<uint8_t> chunk(kEntryChunkBytes);
    uint64_t total = 0;
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(entry, chunk.data(), chunk.size());
        if (n < 0) {
            message = DamagedPayload(exePath, "el archivo comprimido que lleva " +
                                                  ZipProblem(zip_error_code_zip(zip_file_get_error(entry))));
            ok = false;
            break;
        }
        if (n == 0)
            break;
        total += uint64_t(n);
        // Never more than the entry declares: the disk gets what the archive promised.
        if (total > st.size) {
            message = DamagedPayload(exePath, "su archivo comprimido trae más datos de los que declara.");
            ok = false;
            break;
        }
        if (!WriteAllToFd(out, chunk.data(), size_t(n))) {
            message = TempWriteFailed(packagePath, errno);
            ok = false;
            break;
        }
    }
    const int closeError = zip_fclose(entry);
    if (ok && closeError != 0) {
        message = DamagedPayload(exePath, "el archivo comprimido que lleva " + ZipProblem(closeError));
        ok = false;
    }
    if (ok && total != st.size) {
        message = DamagedPayload(exePath, "su archivo comprimido trae " + std::to_string(total) + " de los " +
                                              std::to_string(st.size) + " bytes que declara.");
        ok = false;
    }
    if (!ok) {
        CloseFile(out);
        return false;
    }
    return CloseWritten(out, packagePath, message);
}

bool WritePicture(const std::vector<uint8_t>& picture, const std::string& tempFolder, PayloadResult& result,
                  std::string& message)
{
    int out = -1;
    std::string path;
    if (!NewTempFile(tempFolder, ".bmp", result, path, out, message))
        return false;
    if (!WriteAllToFd(out, picture.data(), picture.size())) {
        message = TempWriteFailed(path, errno);
        CloseFile(out);
        return false;
    }
    if (!CloseWritten(out, path, message))
        return false;
    result.picturePath = path;
    return true;
}

}  // namespace

bool ExtractPayload(const std::string& exePath, const std::string& tempFolder, const PayloadStatus& status,
                    PayloadResult& result, std::string& message)
{
    result = {};
    message.clear();
    const auto failed = [&] {
        RemoveTemporaryFiles(result);
        result = {};
        return false;
    };

    if (status)
        status(kStatusDecompressing);
    auto runFolder = std::make_shared<RunFolder>();
    if (!runFolder->Create(tempFolder, message))
        return failed();
    result.runFolder = runFolder;
    const std::string folder = runFolder->Path();
    std::string zipPath;
    if (!CopyAppendedArchive(exePath, folder, result, zipPath, message))
        return failed();
    std::string packagePath;
    if (!DecompressFirstEntry(exePath, zipPath, folder, result, packagePath, message))
        return failed();

    if (status)
        status(kStatusProcessing);
    SetupPackage package;
    package.ShowAsInstaller(exePath);
    if (!package.Open(packagePath, message))
        return failed();
    const PackageTrailer& trailer = package.Trailer();
    if (!WritePicture(trailer.picture, folder, result, message))
        return failed();
    result.contentBytes = package.ContentBytes();
    result.productName = trailer.productName;
    result.description = trailer.description;
    result.defaultFolder = trailer.defaultFolder;
    result.licenceText = trailer.licenceText;
    result.packagePath = packagePath;
    return true;
}

void RemoveTemporaryFiles(const PayloadResult& result)
{
    for (const std::string& path : result.temporaryFiles) {
        const EntryKind kind = KindAt(path);
        if (kind != EntryKind::Missing && kind != EntryKind::Folder)
            RemoveFile(path);
    }
    if (result.runFolder)
        result.runFolder->Remove();
}

std::string ExpandHomeFolder(const std::string& folder)
{
    if (folder != "~" && folder.rfind("~/", 0) != 0)
        return folder;
    std::string base = HomeFolder();
    if (base.empty())
        base = "/";
    while (base.size() > 1 && base.size() > RootLength(base) && base.back() == '/')
        base.pop_back();
    if (folder == "~")
        return base;
    return (base == "/" ? "" : base) + folder.substr(1);
}
