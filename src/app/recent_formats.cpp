#include "app/recent_formats.h"

namespace {

constexpr int kSlots = 4;

std::string SlotKey(int i)
{
    return "Last" + std::to_string(i);
}

}  // namespace

void AddToRecentFormats(SettingsStore& settings, const std::string& path, int slot,
                        const std::function<void()>& refresh)
{
    // Each pass writes one slot and carries the entry it displaced to the next; the
    // carry stops at a free slot or falls off after the fourth.
    std::string carried = path;
    for (int s = slot; s >= 1 && s <= kSlots; ++s) {
        if (carried.empty())
            break;
        for (int i = 1; i <= kSlots; ++i)
            if (settings.ReadString(SlotKey(i), "") == carried)
                settings.WriteString(SlotKey(i), "");
        std::string old = settings.ReadString(SlotKey(s), "");
        settings.WriteString(SlotKey(s), carried);
        carried = std::move(old);
    }
    if (refresh)
        refresh();
}

std::vector<std::string> RecentFormats(const SettingsStore& settings)
{
    std::vector<std::string> list;
    for (int i = 1; i <= kSlots; ++i)
        list.push_back(settings.ReadString(SlotKey(i), ""));
    return list;
}
