#pragma once
// The list of the last four formats used, kept in the settings store as "Last1".."Last4"
// (Last1 the most recent; an empty string is a free slot).
#include <functional>
#include <string>
#include <vector>

#include "base/settings_store.h"

// Puts `path` into slot `slot` (1..4), moving the old entries one place down as far as
// the first free slot; an entry equal to `path` is cleared first, so a format already in
// the list moves to the top. `refresh` runs once the list is final.
void AddToRecentFormats(SettingsStore& settings, const std::string& path, int slot,
                        const std::function<void()>& refresh);

// The four slots, Last1 first (empty strings for free slots).
std::vector<std::string> RecentFormats(const SettingsStore& settings);
