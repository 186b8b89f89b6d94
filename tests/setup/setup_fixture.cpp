#include "setup_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "setup/payload_writer.h"
#include "setup/temp_file_name.h"

namespace fs = std::filesystem;

namespace setup_test {

TempFolder::TempFolder()
{
    std::string pattern = SystemTempFolder() + "ordexa-setup-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        ADD_FAILURE() << "no temporary folder";
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    // A test may leave a folder without write permission behind.
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_directory() && !it->is_symlink())
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
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
        {"ORDEXA", {}, Pattern(70000, 1)},
        {"ordexa-desinstalar", {}, Pattern(3000, 2)},
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
    fs::remove(packagePath);
    fs::remove(zipPath);
    return setupPath;
}

std::map<std::string, std::string> Listing(const std::string& root)
{
    std::map<std::string, std::string> listing;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        struct stat st {};
        ::lstat(it->path().c_str(), &st);
        const char* kind = S_ISDIR(st.st_mode) ? "carpeta" : S_ISLNK(st.st_mode) ? "enlace" : "archivo";
        char mode[8];
        std::snprintf(mode, sizeof mode, "%o", unsigned(st.st_mode & 07777));
        listing[fs::relative(it->path(), root).string()] =
            std::string(kind) + " " + mode + " " + (S_ISDIR(st.st_mode) ? "" : std::to_string(st.st_size));
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
