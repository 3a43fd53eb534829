#include "core/settings/Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace stv;
namespace fs = std::filesystem;

TEST(Settings, ReadLenientlyAndWrittenBackWithUnknownKeysKept)
{
    const Settings s = Settings::parse("page-style=modern\r\nno equals sign\n=nokey\n"
                                       "future-key=a=b\rpage-style=classic\n\n");
    EXPECT_EQ(s.value(settingKey::PageStyle), "classic"); // the last wins
    EXPECT_EQ(s.value("future-key"), "a=b");
    EXPECT_EQ(s.value("absent", "fallback"), "fallback");
    EXPECT_EQ(s.text(), "page-style=classic\r\nfuture-key=a=b\r\n");
    EXPECT_EQ(Settings::parse(s.text()), s);
}

TEST(Settings, ValuesStayOneLineAndNumbersReadStrictly)
{
    Settings s;
    s.set("a=\nb", "one\r\ntwo");
    s.set("width", "1600");
    s.set("bad", "16px");
    EXPECT_EQ(s.text(), "ab=onetwo\r\nwidth=1600\r\nbad=16px\r\n");
    EXPECT_EQ(s.number("width", 0), 1600);
    EXPECT_EQ(s.number("bad", 7), 7);
    EXPECT_EQ(s.number("absent", 9), 9);
    s.remove("bad");
    EXPECT_FALSE(s.contains("bad"));
}

TEST(Settings, FileMissingReadsEmptyUnreadableFailsAndSaveReplacesWhole)
{
    std::string pattern = (fs::temp_directory_path() / "stvsettingsXXXXXX").string();
    const std::string folder = std::string(::mkdtemp(pattern.data())) + "/";
    const Result<Settings> missing = loadSettings(folder);
    ASSERT_TRUE(missing.ok());
    EXPECT_TRUE(missing.value().entries().empty());

    Settings s;
    s.set(settingKey::PageStyle, "modern");
    ASSERT_TRUE(saveSettings(folder, s).ok());
    const Result<Settings> back = loadSettings(folder);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value(), s);

    fs::remove(folder + SettingsFileName);
    fs::create_directory(folder + SettingsFileName);
    const Result<Settings> folderInstead = loadSettings(folder);
    EXPECT_FALSE(folderInstead.ok());
    EXPECT_NE(folderInstead.error().find(SettingsFileName), std::string::npos);
    EXPECT_FALSE(saveSettings(folder, s).ok());
    fs::remove_all(folder);
}
