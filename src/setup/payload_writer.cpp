#include "setup/payload_writer.h"

#include <cerrno>
#include <vector>
#include <zip.h>

#include "base/atomic_file.h"
#include "base/file_messages.h"
#include "setup/setup_files.h"

namespace {

std::string ZipWriteFailed(const std::string& zipPath, zip_t* archive)
{
    const char* detail = archive ? zip_strerror(archive) : "";
    // The library's own words go only into the packaging tool's output, never to a clerk.
    return "No se puede escribir el archivo comprimido " + InGuillemets(zipPath) + " (" + detail + ").";
}

}  // namespace

bool BuildPayloadZip(const std::string& packagePath, const std::string& zipPath, std::string& message, bool deflate)
{
    int zipError = 0;
    zip_t* archive = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &zipError);
    if (!archive) {
        message = "No se puede crear el archivo comprimido " + InGuillemets(zipPath) + ".";
        return false;
    }
    zip_source_t* source = zip_source_file(archive, packagePath.c_str(), 0, -1);
    if (!source) {
        message = FileErrorMessage(FileAction::Read, packagePath, ENOENT);
        zip_discard(archive);
        return false;
    }
    const zip_int64_t index = zip_file_add(archive, kPayloadEntryName, source, ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        message = ZipWriteFailed(zipPath, archive);
        zip_discard(archive);
        return false;
    }
    if (zip_set_file_compression(archive, zip_uint64_t(index), deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, deflate ? 6 : 0) != 0) {
        message = ZipWriteFailed(zipPath, archive);
        zip_discard(archive);
        return false;
    }
    if (zip_close(archive) != 0) {
        message = ZipWriteFailed(zipPath, archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

bool AppendPayload(const std::string& wizardPath, const std::string& zipPath, const std::string& outputPath,
                   std::string& message)
{
    std::vector<uint8_t> output;
    std::vector<uint8_t> zip;
    if (!ReadWholeFile(wizardPath, output, &message) || !ReadWholeFile(zipPath, zip, &message))
        return false;
    if (zip.size() > UINT32_MAX) {
        message = "El archivo comprimido " + InGuillemets(zipPath) + " es demasiado grande para un programa de instalación.";
        return false;
    }
    output.insert(output.end(), zip.begin(), zip.end());
    const auto length = uint32_t(zip.size());
    for (int i = 0; i < 4; ++i)
        output.push_back(uint8_t(length >> (8 * i)));
    if (!WriteFileAtomically(outputPath, output, &message))
        return false;
    if (!SetFileMode(outputPath, 0755)) {
        message = FileErrorMessage(FileAction::Write, outputPath, errno);
        return false;
    }
    return true;
}
