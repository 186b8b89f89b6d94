// ordexa-pack: builds the installer. Writes the package (the files to install, then the
// licence, the picture, the default folder, the description and the product name),
// deflates it into a one-entry ZIP archive and appends that to the wizard's executable.
//
//   ordexa-pack --output bin/setup --wizard bin/setup-wizard --work DIR
//               --product ORDEXA --folder "~/ordexa"
//               --description FILE --licence FILE --picture FILE
//               --file NAME=PATH ... --files-in DIR PATTERN ...
//
// Files go into the package in the order given; --files-in adds every file of DIR whose
// name ends with PATTERN's suffix ("*.fmt"), sorted by name.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "base/atomic_file.h"
#include "setup/package_format.h"
#include "setup/payload_writer.h"

namespace {

constexpr char kUsage[] =
    "Uso: ordexa-pack --output SALIDA --wizard ASISTENTE --work CARPETA\n"
    "                 --product NOMBRE [--folder CARPETA_PREDETERMINADA]\n"
    "                 --description ARCHIVO --licence ARCHIVO --picture ARCHIVO.bmp\n"
    "                 [--file NOMBRE=RUTA ...] [--files-in CARPETA PATRÓN ...]\n"
    "\n"
    "Arma el programa de instalación: escribe el paquete (los archivos a instalar y, al\n"
    "final, la licencia, la imagen, la carpeta predeterminada, la descripción y el nombre\n"
    "del producto), lo comprime en un ZIP de una sola entrada y lo agrega al final del\n"
    "asistente ASISTENTE para dar SALIDA.\n"
    "\n"
    "  --file NOMBRE=RUTA        agrega el archivo RUTA con el nombre NOMBRE\n"
    "  --files-in CARPETA \"*.x\" agrega los archivos de CARPETA que terminan en .x, por nombre\n"
    "  --work CARPETA            donde quedan el paquete y el ZIP intermedios\n"
    "  -h, --help                muestra esta ayuda\n";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "ordexa-pack: %s\n(ordexa-pack --help muestra cómo usarlo)\n", message.c_str());
    return 1;
}

bool ReadText(const std::string& path, std::string& text, std::string& message)
{
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, &message, size_t(1) << 20))
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// The licence is shown with its lines separated by CR LF, whatever the checkout made of
// the file's line ends.
std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            continue;
        if (text[i] == '\n')
            out += "\r\n";
        else
            out += text[i];
    }
    return out;
}

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

bool AddFolder(const std::string& folder, const std::string& pattern, std::vector<PackageEntry>& entries,
               std::string& message)
{
    const std::string suffix = pattern.rfind('*', 0) == 0 ? pattern.substr(1) : pattern;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        message = "no se puede abrir la carpeta " + folder;
        return false;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st {};
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            ::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    if (names.empty()) {
        message = "no hay archivos " + pattern + " en " + folder;
        return false;
    }
    for (const std::string& name : names)
        entries.push_back({name, folder + "/" + name, {}});
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string output, wizard, work, descriptionPath, licencePath, picturePath;
    PackageTrailer trailer;
    std::vector<PackageEntry> entries;
    std::string message;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "ordexa-pack: falta el valor de %s\n", option.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (option == "--output") output = value();
        else if (option == "--wizard") wizard = value();
        else if (option == "--work") work = value();
        else if (option == "--product") trailer.productName = value();
        else if (option == "--folder") trailer.defaultFolder = value();
        else if (option == "--description") descriptionPath = value();
        else if (option == "--licence") licencePath = value();
        else if (option == "--picture") picturePath = value();
        else if (option == "--file") {
            const std::string nameAndPath = value();
            const size_t equals = nameAndPath.find('=');
            if (equals == std::string::npos || equals == 0)
                return Fail("--file espera NOMBRE=RUTA: " + nameAndPath);
            entries.push_back({nameAndPath.substr(0, equals), nameAndPath.substr(equals + 1), {}});
        } else if (option == "--files-in") {
            const std::string folder = value();
            const std::string pattern = value();
            if (!AddFolder(folder, pattern, entries, message))
                return Fail(message);
        } else {
            return Fail("opción desconocida: " + option);
        }
    }
    if (output.empty() || wizard.empty() || work.empty() || trailer.productName.empty() || descriptionPath.empty() ||
        licencePath.empty() || picturePath.empty())
        return Fail("faltan opciones (--output, --wizard, --work, --product, --description, --licence, --picture)");

    std::string licence;
    if (!ReadText(descriptionPath, trailer.description, message) || !ReadText(licencePath, licence, message) ||
        !ReadWholeFile(picturePath, trailer.picture, &message))
        return Fail(message);
    trailer.description = Trimmed(trailer.description);
    trailer.licenceText = WithCrLf(Trimmed(licence));

    ::mkdir(work.c_str(), 0755);
    const std::string packagePath = work + "/package.dat";
    const std::string zipPath = work + "/payload.zip";
    if (!WritePackage(packagePath, entries, trailer, message) || !BuildPayloadZip(packagePath, zipPath, message) ||
        !AppendPayload(wizard, zipPath, output, message))
        return Fail(message);
    std::printf("ordexa-pack: %s con %zu archivos\n", output.c_str(), entries.size());
    return 0;
}
