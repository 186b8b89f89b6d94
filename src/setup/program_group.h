#pragma once
// The program group: three commands in their text form. On Windows they become a folder
// of shortcuts in the user's Start menu (program_group_windows.cpp):
//
//   "[CreateGroup(ORDEXA)]"                          -> <Programs>/ORDEXA/
//   "[AddItem(C:/Users/ana/ordexa/ORDEXA.exe,ORDEXA)]" -> <Programs>/ORDEXA/ORDEXA.lnk
//
// with <Programs> the Start menu's Programs folder (MenuLocations::dataHome). On Linux
// (program_group_posix.cpp) they are carried out as freedesktop menu entries written
// directly (the group is a submenu of the applications menu, each item a .desktop entry):
//
//   "[CreateGroup(ORDEXA)]"                      -> <data>/desktop-directories/kalvorsoft-ordexa.directory
//                                                   <config>/menus/applications-merged/kalvorsoft-ordexa.menu
//   "[AddItem(/home/ana/ordexa/ORDEXA,ORDEXA)]"  -> <data>/applications/kalvorsoft-ordexa-ordexa.desktop
//                                                   (+ the MIME types and the icon found beside the program)
//   "[ShowGroup(ORDEXA,6)]"                      -> nothing to write (recorded only)
//
// <data> is $XDG_DATA_HOME (default ~/.local/share), <config> $XDG_CONFIG_HOME (default
// ~/.config). Every file is written atomically; a command that cannot be parsed or
// carried out is skipped silently.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr char kMenuVendorPrefix[] = "kalvorsoft-";
inline constexpr char kUninstallItemTitle[] = "Desinstalar Ordexa";
// The uninstaller's file name in the destination folder.
inline constexpr char kUninstallerProgramName[] = "ordexa-desinstalar";
// Files of the package the program group looks for in the destination folder.
inline constexpr char kPackageIconName[] = "ordexa.svg";
inline constexpr char kPackageMimeName[] = "ordexa-mime.xml";
// What a program's file name ends with: nothing on Linux, ".exe" on Windows.
#ifdef _WIN32
inline constexpr char kProgramSuffix[] = ".exe";
#else
inline constexpr char kProgramSuffix[] = "";
#endif

std::string CreateGroupCommand(const std::string& groupName);
// destFolder + "/" + programName (no ".exe" on Linux), and the item's title.
std::string AddItemCommand(const std::string& destFolder, const std::string& programName, const std::string& title);
std::string ShowGroupCommand(const std::string& groupName);

struct ProgramGroupCommand {
    enum class Kind { CreateGroup, AddItem, ShowGroup };
    Kind kind = Kind::CreateGroup;
    std::vector<std::string> arguments;  // CreateGroup: name; AddItem: path, title; ShowGroup: name, show code
};
// Parses one command "[Name(arg,arg)]". False for anything else.
bool ParseProgramGroupCommand(std::string_view text, ProgramGroupCommand& command);

struct MenuLocations {
    std::string dataHome;    // $XDG_DATA_HOME; on Windows the Start menu's Programs folder
    std::string configHome;  // $XDG_CONFIG_HOME; unused on Windows
    // Runs update-desktop-database / update-mime-database (when installed) after writing.
    bool refreshDesktopCaches = true;
    // From the environment, with the freedesktop defaults under $HOME.
    static MenuLocations FromEnvironment();
};

// What carrying out the commands wrote.
struct ProgramGroupResult {
    std::vector<std::string> writtenFiles;
    std::vector<std::string> createdFolders;
    // The files that were there before and were written over, with what they held, so
    // that a failed installation can put them back.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> replacedFiles;
    std::vector<std::string> carriedOut;  // the commands carried out (ShowGroup included)
};

// Carries out one command. The group stays open across commands (AddItem adds its entry
// to the submenu CreateGroup made). False when it was skipped.
class ProgramGroup {
public:
    explicit ProgramGroup(MenuLocations locations);
    bool Execute(std::string_view commandText, ProgramGroupResult& result);

private:
    bool CreateGroup(const std::string& name, ProgramGroupResult& result);
    bool AddItem(const std::string& programPath, const std::string& title, ProgramGroupResult& result);
    bool WriteMenuFile(ProgramGroupResult& result);

    MenuLocations m_locations;
    std::string m_groupName;
    std::vector<std::string> m_items;  // .desktop file names in the submenu
};

// The installer's program group for a product installed in `destFolder`: CreateGroup,
// AddItem for the program, AddItem for the uninstaller ("Desinstalar Ordexa"), ShowGroup;
// then the desktop caches are refreshed quietly. When neither program is in the folder
// nothing is written: a group with no items would be an empty menu.
ProgramGroupResult RegisterProgramGroup(const std::string& destFolder, const std::string& productName,
                                        const MenuLocations& locations);

// Takes back what RegisterProgramGroup wrote: each written file removed, or given back
// what it held; each folder it created removed when empty; the caches refreshed.
void UndoProgramGroup(const ProgramGroupResult& result, const MenuLocations& locations);

// The desktop's caches are made by its own tools from the entries in their folders
// (update-desktop-database, update-mime-database). In a folder the installation created,
// once our entries are gone and nothing else is left to index, the cache describes only
// what we installed: it goes too, so the folder can go. Each file removed is added to
// `removed`.
void RemoveCachesOfEmptiedFolders(const std::vector<std::string>& createdFolders, const MenuLocations& locations,
                                  std::vector<std::string>& removed);

// Refreshes the desktop and MIME caches under `locations.dataHome` when the tools are
// installed; quiet, and never fails. Windows keeps no such caches.
void RefreshDesktopCaches(const MenuLocations& locations);

// Whether the file `name` in `folder` can be one the program group wrote for the
// installation in `destFolder`: what an uninstall may take away outside that folder. On
// Linux a menu file of ours (our vendor prefix, in a menu folder); on Windows a shortcut
// that opens a program of that folder.
bool IsProgramGroupFile(const std::string& folder, const std::string& name, const std::string& destFolder);

// True when `folder` is one of the folders the program group writes into, or a folder
// above one of them.
bool LeadsToMenuFolder(const std::string& folder, const MenuLocations& locations);
