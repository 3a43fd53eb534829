#include "core/page/LastPages.h"

#include <gtest/gtest.h>

#include <string>

using namespace stv;

// Each project keeps its own page; the one written latest comes first, a project written
// again moves to the front, and the oldest are forgotten beyond the limit. The record survives
// the settings file's round trip.
TEST(LastPages, EachProjectKeepsItsPageAndTheOldestAreForgotten)
{
    Settings settings;
    EXPECT_EQ(lastPageOf(settings, "/home/me/a.stv"), "");
    rememberLastPage(settings, "/home/me/a.stv", "/home/me/site/index.html");
    rememberLastPage(settings, "/home/me/b.stv", "/home/me/other/b.html");
    rememberLastPage(settings, "/home/me/a.stv", "/home/me/site2/index.html");
    const Settings read = Settings::parse(settings.text());
    EXPECT_EQ(lastPageOf(read, "/home/me/a.stv"), "/home/me/site2/index.html");
    EXPECT_EQ(lastPageOf(read, "/home/me/b.stv"), "/home/me/other/b.html");
    EXPECT_EQ(lastPageOf(read, "/home/me/c.stv"), "");

    for (int i = 0; i < RememberedPageProjects; ++i)
        rememberLastPage(settings, "/p" + std::to_string(i) + ".stv", "/s/p.html");
    EXPECT_EQ(lastPageOf(settings, "/home/me/a.stv"), "");
    EXPECT_EQ(lastPageOf(settings, "/p0.stv"), "/s/p.html");
}

// A path holding the record's separator byte, or an empty one, is not remembered and does not
// shift the pairs of the others; a damaged record with an odd field reads as what it holds.
TEST(LastPages, PathsThatCannotBeStoredLeaveTheOthersWhole)
{
    Settings settings;
    rememberLastPage(settings, "/home/me/a.stv", "/home/me/site/index.html");
    rememberLastPage(settings, "/home/me/odd\xA0name.stv", "/x/index.html");
    rememberLastPage(settings, "/home/me/b.stv", "/x/odd\xA0page.html");
    rememberLastPage(settings, "", "/x/index.html");
    EXPECT_EQ(lastPageOf(settings, "/home/me/a.stv"), "/home/me/site/index.html");
    EXPECT_EQ(lastPageOf(settings, "/home/me/b.stv"), "");

    settings.set(settingKey::LastPages, "\xA0/a.stv\xA0/a.html\xA0/b.stv\xA0");
    EXPECT_EQ(lastPageOf(settings, "/a.stv"), "/a.html");
    EXPECT_EQ(lastPageOf(settings, "/b.stv"), "");
}
