#pragma once
// The time a file, folder or link was last changed, in whole seconds since 1970, read
// and set without following links (a link moved aside keeps its own time, and setting
// it never touches what it points to).
#include <cstdint>
#include <string>

bool ModifiedSeconds(const std::string& path, int64_t& seconds);
bool SetModifiedSeconds(const std::string& path, int64_t seconds);
