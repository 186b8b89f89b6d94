// The program group on Linux: the desktop menu files its commands become (checked by
// desktop-file-validate when installed).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/program_group.h"
#include "setup_fixture.h"

using namespace setup_test;
namespace fs = std::filesystem;

namespace {

std::string Text(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// An installed product: the program, the uninstaller, the icon and the MIME types.
std::string MakeInstalledFolder(const TempFolder& root, const std::string& name)
{
    const std::string dest = root / name;
    fs::create_directories(dest);
    for (const char* file : {"ORDEXA", "ordexa-desinstalar"}) {
        WriteBytes(dest + "/" + file, {'#', '!'});
        fs::permissions(dest + "/" + file, fs::perms(0755));
    }
    WriteBytes(dest + "/ordexa.svg", {'<', 's', 'v', 'g', '/', '>'});
    WriteBytes(dest + "/ordexa-mime.xml", {'<', 'x', '/', '>'});
    return dest;
}

std::string Validator()
{
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::string path = std::string(folder) + "/desktop-file-validate";
        if (::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

}  // namespace

TEST(ProgramGroup, BecomesASubmenuWithTheProgramAndTheUninstaller)
{
    TempFolder root;
    const std::string dest = MakeInstalledFolder(root, "mis programas/ordexa");
    const MenuLocations menus = TestMenus(root);
    const ProgramGroupResult result = RegisterProgramGroup(dest, "ORDEXA", menus);

    const std::string directory = menus.dataHome + "/desktop-directories/kalvorsoft-ordexa.directory";
    const std::string menu = menus.configHome + "/menus/applications-merged/kalvorsoft-ordexa.menu";
    const std::string program = menus.dataHome + "/applications/kalvorsoft-ordexa-ordexa.desktop";
    const std::string uninstaller = menus.dataHome + "/applications/kalvorsoft-ordexa-ordexa-desinstalar.desktop";
    const std::string icon = menus.dataHome + "/icons/hicolor/scalable/apps/kalvorsoft-ordexa.svg";
    const std::string mime = menus.dataHome + "/mime/packages/kalvorsoft-ordexa.xml";
    for (const std::string& path : {directory, menu, program, uninstaller, icon, mime}) {
        EXPECT_TRUE(Exists(path)) << path;
        EXPECT_NE(std::find(result.writtenFiles.begin(), result.writtenFiles.end(), path), result.writtenFiles.end())
            << path;
    }
    EXPECT_EQ(result.carriedOut.size(), 4u);
    EXPECT_EQ(result.carriedOut.back(), "[ShowGroup(ORDEXA,6)]");

    const std::string programEntry = Text(program);
    EXPECT_NE(programEntry.find("Name=ORDEXA\n"), std::string::npos);
    EXPECT_NE(programEntry.find("Exec=\"" + dest + "/ORDEXA\" %f\n"), std::string::npos) << programEntry;
    EXPECT_NE(programEntry.find("Icon=kalvorsoft-ordexa\n"), std::string::npos);
    // The menu describes the program as the uninstaller's entry does ("Quita ... de su
    // computadora"), never switching to a familiar command halfway.
    EXPECT_NE(programEntry.find("Comment=Diseña formatos, captura sus datos y los imprime sobre formas preimpresas\n"),
              std::string::npos)
        << programEntry;
    EXPECT_NE(programEntry.find("MimeType=application/x-ordexa-format;application/x-ordexa-capture;\n"),
              std::string::npos);
    const std::string uninstallEntry = Text(uninstaller);
    EXPECT_NE(uninstallEntry.find("Name=Desinstalar Ordexa\n"), std::string::npos);
    EXPECT_NE(uninstallEntry.find("Exec=\"" + dest + "/ordexa-desinstalar\"\n"), std::string::npos) << uninstallEntry;
    const std::string menuText = Text(menu);
    EXPECT_NE(menuText.find("<Directory>kalvorsoft-ordexa.directory</Directory>"), std::string::npos);
    EXPECT_NE(menuText.find("<Filename>kalvorsoft-ordexa-ordexa.desktop</Filename>"), std::string::npos);
    EXPECT_NE(menuText.find("<Filename>kalvorsoft-ordexa-ordexa-desinstalar.desktop</Filename>"), std::string::npos);
    EXPECT_EQ(ReadBytes(icon), ReadBytes(dest + "/ordexa.svg"));

    const std::string validator = Validator();
    if (validator.empty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    for (const std::string& path : {directory, program, uninstaller}) {
        const std::string command = validator + " '" + path + "' > '" + root / "validacion.txt" + "' 2>&1";
        const int status = std::system(command.c_str());
        const auto output = Text(root / "validacion.txt");
        EXPECT_EQ(status, 0) << path << "\n" << output;
        EXPECT_EQ(output.find("error"), std::string::npos) << path << "\n" << output;
    }
}

TEST(ProgramGroup, ExecQuotesEveryCharacterTheShellWouldTake)
{
    TempFolder root;
    const std::string dest = MakeInstalledFolder(root, "a$b \"c\" 100%");
    const MenuLocations menus = TestMenus(root);
    RegisterProgramGroup(dest, "ORDEXA", menus);
    const std::string entry = Text(menus.dataHome + "/applications/kalvorsoft-ordexa-ordexa.desktop");
    // In the file: "\$" and "\"" inside the quotes, each backslash doubled as a string
    // value, and "%" doubled; started by the shell, as a launcher looks for the first
    // argument before it reads "%%".
    EXPECT_NE(entry.find("Exec=/bin/sh -c "), std::string::npos) << entry;
    std::string expected = " \"" + root.Path() + "/a\\\\$b \\\\\"c\\\\\" 100%%/ORDEXA\" %f\n";
    EXPECT_NE(entry.find(expected), std::string::npos) << entry << "\nexpected: " << expected;
}

TEST(ProgramGroup, ACommandThatCannotBeCarriedOutIsSkippedSilently)
{
    TempFolder root;
    const std::string dest = MakeInstalledFolder(root, "ordexa");
    MenuLocations menus = TestMenus(root);
    // The data folder is a file: nothing can be written under it.
    WriteBytes(menus.dataHome, {'x'});
    ProgramGroupResult result = RegisterProgramGroup(dest, "ORDEXA", menus);
    EXPECT_TRUE(result.writtenFiles.empty());
    EXPECT_FALSE(Exists(menus.configHome + "/menus/applications-merged/kalvorsoft-ordexa.menu"));

    // Unparsable commands and an item for a program that is not there.
    menus = TestMenus(root);
    menus.dataHome = root / "datos2";
    ProgramGroup group(menus);
    result = {};
    EXPECT_FALSE(group.Execute("[AddItem(" + dest + "/ORDEXA,ORDEXA)]", result)) << "no group made yet";
    EXPECT_FALSE(group.Execute("[CreateGroup(ORDEXA", result));
    EXPECT_TRUE(group.Execute("[CreateGroup(ORDEXA)]", result));
    EXPECT_FALSE(group.Execute("[AddItem(" + dest + "/NO-EXISTE,ORDEXA)]", result));
    EXPECT_FALSE(group.Execute("[AddItem(relativa/ORDEXA,ORDEXA)]", result));
    EXPECT_FALSE(Exists(menus.dataHome + "/applications"));
}

TEST(ProgramGroup, MenuFoldersComeFromTheEnvironmentWithTheUsualDefaults)
{
    const auto keep = [](const char* name) { return std::getenv(name) ? std::string(std::getenv(name)) : std::string(); };
    const std::string home = keep("HOME"), data = keep("XDG_DATA_HOME"), config = keep("XDG_CONFIG_HOME");
    setenv("HOME", "/home/ana", 1);
    setenv("XDG_DATA_HOME", "/tmp/datos/", 1);
    setenv("XDG_CONFIG_HOME", "relativa", 1);  // not absolute: ignored
    const MenuLocations menus = MenuLocations::FromEnvironment();
    EXPECT_EQ(menus.dataHome, "/tmp/datos");
    EXPECT_EQ(menus.configHome, "/home/ana/.config");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(MenuLocations::FromEnvironment().dataHome, "/home/ana/.local/share");
    setenv("HOME", home.c_str(), 1);
    data.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

namespace {

// The Exec key as a launcher reads it: the string value's escapes first, then the
// arguments (quoted ones with their backslash escapes), "%%" a literal "%".
std::vector<std::string> ExecArguments(const std::string& entry)
{
    const size_t at = entry.find("\nExec=");
    const std::string raw = entry.substr(at + 6, entry.find('\n', at + 1) - at - 6);
    std::string value;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            value += raw[i];
            continue;
        }
        const char c = raw[++i];
        value += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false, any = false;
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quoted && c == '\\' && i + 1 < value.size()) {
            current += value[++i];
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && c == ' ') {
            if (any)
                arguments.push_back(current);
            current.clear();
            any = false;
        } else if (c == '%' && i + 1 < value.size() && value[i + 1] == '%') {
            current += '%';
            ++i;
            any = true;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        arguments.push_back(current);
    return arguments;
}

}  // namespace

TEST(ProgramGroup, AnyFolderNameGivesValidEntriesThatRunTheInstalledProgram)
{
    const std::string validator = Validator();
    if (validator.empty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    // GLib's launcher (gio) loads and runs the entry as a GLib-based desktop does.
    const bool gio = std::system("command -v gio >/dev/null 2>&1") == 0;
    if (!gio)
        std::printf("gio is not installed (package libglib2.0-bin): the entries are not launched\n");
    for (const std::string name : {"mis programas", "a\"b'c", "100% $HOME `x` \\n\\", "dos\nrenglones",
                                   "tab\there;y=1", "año ñandú", "50%=mitad %f"}) {
        TempFolder root;
        const std::string dest = MakeInstalledFolder(root, name);
        const MenuLocations menus = TestMenus(root);
        RegisterProgramGroup(dest, "ORDEXA", menus);
        for (const std::string program : {"ORDEXA", "ordexa-desinstalar"}) {
            const std::string path = menus.dataHome + "/applications/kalvorsoft-ordexa-" +
                                     (program == "ORDEXA" ? "ordexa" : "ordexa-desinstalar") + ".desktop";
            const std::string entry = Text(path);
            const std::vector<std::string> arguments = ExecArguments(entry);
            ASSERT_FALSE(arguments.empty()) << entry;
            const bool byShell = arguments[0] == "/bin/sh";
            ASSERT_GE(arguments.size(), byShell ? 4u : 1u) << entry;
            EXPECT_EQ(arguments[byShell ? 3 : 0], dest + "/" + program) << entry;
            const std::string command = validator + " '" + path + "' > '" + root / "validacion.txt" + "' 2>&1";
            const int status = std::system(command.c_str());
            const std::string output = Text(root / "validacion.txt");
            EXPECT_EQ(status, 0) << name << "\n" << entry << "\n" << output;
            EXPECT_EQ(output.find("error"), std::string::npos) << name << "\n" << entry << "\n" << output;
            if (!gio)
                continue;
            // The installed program writes down what it was started with.
            const std::string ran = root / "ejecutado.txt";
            const std::string script = "#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > '" + ran + "'\n";
            WriteBytes(dest + "/" + program, std::vector<uint8_t>(script.begin(), script.end()));
            fs::remove(ran);
            const std::string launch = "gio launch '" + path + "'" + (program == "ORDEXA" ? " /etc/hostname" : "") +
                                       " > '" + root / "gio.txt" + "' 2>&1";
            EXPECT_EQ(std::system(launch.c_str()), 0) << name << "\n" << entry << "\n" << Text(root / "gio.txt");
            for (int i = 0; i < 100 && Text(ran).empty(); ++i)
                ::usleep(50000);
            const std::string expected = dest + "/" + program + "|" + (program == "ORDEXA" ? "/etc/hostname|" : "");
            EXPECT_EQ(Text(ran), expected) << name << "\n" << entry;
        }
    }
}

TEST(ProgramGroup, ALinkNamedLikeAMenuFileIsReplacedNotWrittenThrough)
{
    TempFolder root;
    const std::string dest = MakeInstalledFolder(root, "ordexa");
    const MenuLocations menus = TestMenus(root);
    const std::string applications = menus.dataHome + "/applications";
    fs::create_directories(applications);
    WriteBytes(root / "perfil", {'m', 'i', 'o'});
    fs::create_symlink(root / "perfil", applications + "/kalvorsoft-ordexa-ordexa.desktop");
    RegisterProgramGroup(dest, "ORDEXA", menus);
    EXPECT_EQ(ReadBytes(root / "perfil"), (std::vector<uint8_t>{'m', 'i', 'o'}));
    EXPECT_FALSE(fs::is_symlink(applications + "/kalvorsoft-ordexa-ordexa.desktop"));
    EXPECT_NE(Text(applications + "/kalvorsoft-ordexa-ordexa.desktop").find("Exec="), std::string::npos);
}
