#include "setup/program_group.h"

#include <algorithm>
#include <string>

#include "base/atomic_file.h"
#include "setup/setup_files.h"
#include "setup/setup_paths.h"

namespace {

// An argument of a command is put in double quotes when it holds a character that would
// otherwise end it; a quote inside is doubled.
std::string CommandArgument(const std::string& text)
{
    if (text.find_first_of(",()[]\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

// Splits "[Name(a,b)]" into the name and its arguments; an argument may be in double
// quotes, and then holds commas, parentheses and doubled quotes.
bool SplitCommand(std::string_view text, std::string& name, std::vector<std::string>& arguments)
{
    if (text.size() < 4 || text.front() != '[' || text.back() != ']')
        return false;
    text = text.substr(1, text.size() - 2);
    const size_t open = text.find('(');
    if (open == std::string_view::npos || text.back() != ')')
        return false;
    name = std::string(text.substr(0, open));
    std::string_view rest = text.substr(open + 1, text.size() - open - 2);
    arguments.clear();
    std::string current;
    bool quoted = false;
    bool wasQuoted = false;
    for (size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') {
            if (quoted && i + 1 < rest.size() && rest[i + 1] == '"') {
                current += '"';  // a doubled quote inside quotes
                ++i;
                continue;
            }
            if (!quoted && (!current.empty() || wasQuoted))
                return false;
            quoted = !quoted;
            wasQuoted = true;
        } else if (c == ',' && !quoted) {
            arguments.push_back(current);
            current.clear();
            wasQuoted = false;
        } else if (!quoted && wasQuoted) {
            return false;  // text after a closing quote
        } else if (!quoted && (c == '(' || c == ')' || c == '[' || c == ']')) {
            return false;
        } else {
            current += c;
        }
    }
    if (quoted)
        return false;
    arguments.push_back(current);
    return !name.empty();
}

}  // namespace

std::string CreateGroupCommand(const std::string& groupName)
{
    return "[CreateGroup(" + CommandArgument(groupName) + ")]";
}

std::string AddItemCommand(const std::string& destFolder, const std::string& programName, const std::string& title)
{
    return "[AddItem(" + CommandArgument(WithoutTrailingSeparator(destFolder) + "/" + programName) + "," +
           CommandArgument(title) + ")]";
}

std::string ShowGroupCommand(const std::string& groupName)
{
    return "[ShowGroup(" + CommandArgument(groupName) + ",6)]";
}

bool ParseProgramGroupCommand(std::string_view text, ProgramGroupCommand& command)
{
    std::string name;
    std::vector<std::string> arguments;
    if (!SplitCommand(text, name, arguments))
        return false;
    if (name == "CreateGroup" && arguments.size() == 1 && !arguments[0].empty())
        command.kind = ProgramGroupCommand::Kind::CreateGroup;
    else if (name == "AddItem" && arguments.size() == 2 && !arguments[0].empty() && !arguments[1].empty())
        command.kind = ProgramGroupCommand::Kind::AddItem;
    else if (name == "ShowGroup" && arguments.size() == 2 && !arguments[0].empty())
        command.kind = ProgramGroupCommand::Kind::ShowGroup;
    else
        return false;
    command.arguments = std::move(arguments);
    return true;
}

ProgramGroup::ProgramGroup(MenuLocations locations) : m_locations(std::move(locations))
{
}

bool ProgramGroup::Execute(std::string_view commandText, ProgramGroupResult& result)
{
    ProgramGroupCommand command;
    if (!ParseProgramGroupCommand(commandText, command))
        return false;
    bool done = false;
    switch (command.kind) {
    case ProgramGroupCommand::Kind::CreateGroup: done = CreateGroup(command.arguments[0], result); break;
    case ProgramGroupCommand::Kind::AddItem: done = AddItem(command.arguments[0], command.arguments[1], result); break;
    case ProgramGroupCommand::Kind::ShowGroup:
        // Menus show themselves; the group is only checked to be the one made.
        done = command.arguments[0] == m_groupName;
        break;
    }
    if (done)
        result.carriedOut.emplace_back(commandText);
    return done;
}

ProgramGroupResult RegisterProgramGroup(const std::string& destFolder, const std::string& productName,
                                        const MenuLocations& locations)
{
    ProgramGroupResult result;
    const std::string folder = WithoutTrailingSeparator(destFolder);
    const std::string program = productName + kProgramSuffix;
    const std::string uninstaller = std::string(kUninstallerProgramName) + kProgramSuffix;
    if (KindFollowing(folder + "/" + program) != EntryKind::File &&
        KindFollowing(folder + "/" + uninstaller) != EntryKind::File)
        return result;
    ProgramGroup group(locations);
    const std::string commands[] = {
        CreateGroupCommand(productName),
        AddItemCommand(destFolder, program, productName),
        AddItemCommand(destFolder, uninstaller, kUninstallItemTitle),
        ShowGroupCommand(productName),
    };
    for (const std::string& command : commands)
        group.Execute(command, result);
    if (locations.refreshDesktopCaches && !result.writtenFiles.empty())
        RefreshDesktopCaches(locations);
    return result;
}

void UndoProgramGroup(const ProgramGroupResult& result, const MenuLocations& locations)
{
    for (const std::string& path : result.writtenFiles) {
        const auto replaced = std::find_if(result.replacedFiles.begin(), result.replacedFiles.end(),
                                           [&](const auto& entry) { return entry.first == path; });
        if (replaced != result.replacedFiles.end())
            WriteFileAtomically(path, replaced->second, nullptr, false);
        else
            RemoveFile(path);
    }
    if (locations.refreshDesktopCaches && !result.writtenFiles.empty()) {
        RefreshDesktopCaches(locations);
        std::vector<std::string> removed;
        RemoveCachesOfEmptiedFolders(result.createdFolders, locations, removed);
    }
    // Deepest first: a folder goes only once the ones inside it have.
    for (auto it = result.createdFolders.rbegin(); it != result.createdFolders.rend(); ++it)
        RemoveFolder(*it);
}
