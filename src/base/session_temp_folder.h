#pragma once
#include <string>

// A folder of this process's own inside the system's temporary folder, made on first use
// (mode 0700, so nobody else can plant or read files there) and removed with what it
// holds when the program ends. Temporary tables go here, so that two programs never race
// for the same generated name. Falls back to the system's temporary folder itself when
// the folder cannot be made.
const std::string& SessionTempFolder();
