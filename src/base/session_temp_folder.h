#pragma once
#include <string>

// A folder of this process's own inside the system's temporary folder, made on first use
// (mode 0700, so nobody else can plant, block or read files there) and removed with what
// it holds when the program ends. Temporary tables go here, so that two programs never
// race for the same generated name.
//
// There is no fallback to the shared temporary folder, where generated names can be
// guessed: when the folder cannot be made the result is empty, and
// SessionTempFolderProblem() says why in a Spanish sentence for the clerk.
const std::string& SessionTempFolder();
const std::string& SessionTempFolderProblem();

// Makes a new private folder "ordexa-XXXXXX" inside `parent`. On failure returns false
// with a Spanish sentence naming `parent` and what is wrong.
bool MakePrivateTempFolder(const std::string& parent, std::string& folder, std::string& problem);

// Makes a new folder "<prefix>XXXXXX" inside `parent`, under a name nobody can know in
// advance and readable by its owner only. False with errno's value in `error`.
bool MakeUniqueFolder(const std::string& parent, const std::string& prefix, std::string& folder, int& error);
// Makes an existing folder readable by its owner only (on Windows a folder in the
// user's profile is already). False with errno's value in `error`.
bool MakeFolderOwnerOnly(const std::string& folder, int& error);
