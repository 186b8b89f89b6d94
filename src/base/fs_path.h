#pragma once
// The program keeps paths as UTF-8 strings. std::filesystem on Windows would read a
// narrow string in the system's ANSI code page, so paths cross over here: a folder named
// "José" stays "José" on both systems.
#include <filesystem>
#include <string>
#include <system_error>

std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8(const std::filesystem::path& path);
// The last part of a path: the file's name (either separator counts on Windows).
std::string FileNameOf(const std::string& path);
// The errno value of a std::filesystem failure, for the Spanish file messages (EIO when
// the failure has none).
int ErrnoOf(const std::error_code& ec);
// Six random letters and digits, for a file name made unique by trying one name after
// another where the system offers no call that does it (Windows has no mkstemp).
std::string RandomNamePart();
