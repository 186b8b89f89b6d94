#include <gtest/gtest.h>

#include "platform/qt_settings_store.h"
#include "app/recent_formats.h"

namespace {

using List = std::vector<std::string>;

void Seed(SettingsStore& s, const List& list)
{
    for (size_t i = 0; i < list.size(); ++i)
        s.WriteString("Last" + std::to_string(i + 1), list[i]);
}

}  // namespace

TEST(RecentFormats, UsingAFormatMovesItToTheTopAndClosesTheGapOnlyDownToWhereItWas)
{
    struct Case {
        const char* name;
        List before;
        std::string used;
        List after;
    };
    const Case cases[] = {
        {"first run", {}, "A", {"A", "", "", ""}},
        {"middle entry", {"A", "B", "C", "D"}, "C", {"C", "A", "B", "D"}},
        {"with a free fourth slot", {"B", "A", "C", ""}, "A", {"A", "B", "C", ""}},
        {"fifth format pushes the oldest out", {"A", "B", "C", "D"}, "E", {"E", "A", "B", "C"}},
        {"already the most recent", {"A", "B", "C", "D"}, "A", {"A", "B", "C", "D"}},
        {"the last one", {"A", "B", "C", "D"}, "D", {"D", "A", "B", "C"}},
        {"case matters", {"/f/a.fmt", "", "", ""}, "/f/A.fmt", {"/f/A.fmt", "/f/a.fmt", "", ""}},
        {"stops at a gap", {"A", "", "C", "D"}, "E", {"E", "A", "C", "D"}},
    };
    for (const Case& c : cases) {
        MemorySettingsStore s;
        Seed(s, c.before);
        int refreshed = 0;
        AddToRecentFormats(s, c.used, 1, [&] { ++refreshed; });
        EXPECT_EQ(RecentFormats(s), c.after) << c.name;
        EXPECT_EQ(refreshed, 1) << c.name;
    }
}

TEST(RecentFormats, AnEmptyPathOnlyRefreshes)
{
    MemorySettingsStore s;
    Seed(s, {"A", "B"});
    int refreshed = 0;
    AddToRecentFormats(s, "", 1, [&] { ++refreshed; });
    EXPECT_EQ(RecentFormats(s), (List{"A", "B", "", ""}));
    EXPECT_EQ(refreshed, 1);
}

TEST(SettingsStore, QtStoreKeepsSectionConfigInTheTestsOwnFolder)
{
    // The test main points XDG_CONFIG_HOME at a temporary folder.
    const std::string home = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    ASSERT_FALSE(home.empty());
    {
        QtSettingsStore s;
        EXPECT_EQ(s.ReadInt("FacX", 0), 0);
        EXPECT_EQ(s.ReadString("Last1", ""), "");
        s.WriteInt("FacX", -15);
        s.WriteString("Last1", "/formas/Factura ñ.fmt");
    }
    QtSettingsStore again;
    EXPECT_EQ(again.ReadInt("FacX", 0), -15);
    EXPECT_EQ(again.ReadString("Last1", ""), "/formas/Factura ñ.fmt");
    QSettings raw(QString::fromStdString(home) + "/KALVOR Soft/Ordexa.conf", QSettings::IniFormat);
    EXPECT_EQ(raw.value("Config/FacX").toInt(), -15);
}
