// The page style and language: read from the settings, Classic when unset, Modern written by
// a first start, the language tag taken from the desktop locale.
#include "core/page/PageStyle.h"
#include "core/settings/Config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace stv;

TEST(PageStyle, NamesAndLanguageTags)
{
    EXPECT_EQ(parsePageStyle("Modern"), PageStyle::Modern);
    EXPECT_EQ(parsePageStyle("classic"), PageStyle::Classic);
    EXPECT_EQ(parsePageStyle("fancy"), std::nullopt);
    EXPECT_EQ(pageStyleName(PageStyle::Modern), "modern");

    EXPECT_EQ(languageTag("de_DE.UTF-8@euro"), "de-DE");
    EXPECT_EQ(languageTag("EN"), "en");
    EXPECT_EQ(languageTag("sr-Latn-RS"), "sr-Latn-RS");
    for (const char *bad : { "C", "POSIX", "", "e n", "1en", "en_", "en\"><script>", "abcdefghi" })
        EXPECT_EQ(languageTag(bad), "") << bad;

    const char *saved = std::getenv("LC_ALL");
    const std::string before = saved ? saved : "";
    ::setenv("LC_ALL", "fr_CA.UTF-8", 1);
    Settings settings;
    EXPECT_EQ(pageLanguageOf(settings), "fr-CA");
    settings.set(settingKey::PageLanguage, "cy");
    EXPECT_EQ(pageLanguageOf(settings), "cy");
    settings.set(settingKey::PageLanguage, "not a tag");
    EXPECT_EQ(pageLanguageOf(settings), "fr-CA");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(desktopLanguage(), "en");
    if (saved)
        ::setenv("LC_ALL", before.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}

TEST(PageStyle, ClassicUnlessChosenAndAFirstStartChoosesModern)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "stv-page-style";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string dir = folder.string() + "/";

    // A program folder from before the choice: a configuration and no settings -> Classic,
    // and the settings file is not written.
    PageOptions options;
    ASSERT_TRUE(loadPageSettings(dir, options));
    EXPECT_EQ(options.style, PageStyle::Classic);
    ASSERT_TRUE(settingsAtStartup(dir, true));
    EXPECT_FALSE(fs::exists(folder / SettingsFileName));

    // A first start writes Modern, keeping what else the file holds.
    std::ofstream(folder / SettingsFileName) << "other=kept\r\n";
    const Result<Settings> first = settingsAtStartup(dir, false);
    ASSERT_TRUE(first);
    EXPECT_EQ(pageStyleOf(first.value()), PageStyle::Modern);
    ASSERT_TRUE(loadPageSettings(dir, options));
    EXPECT_EQ(options.style, PageStyle::Modern);

    // A choice made once is kept, also over a later start without a configuration.
    ASSERT_TRUE(savePageStyle(dir, PageStyle::Classic));
    ASSERT_TRUE(settingsAtStartup(dir, false));
    ASSERT_TRUE(loadPageSettings(dir, options));
    EXPECT_EQ(options.style, PageStyle::Classic);
    EXPECT_EQ(loadSettings(dir).value().value("other"), "kept");

    // A settings file that cannot be read is never written over.
    fs::remove(folder / SettingsFileName);
    fs::create_directory(folder / SettingsFileName);
    EXPECT_FALSE(savePageStyle(dir, PageStyle::Modern));
    EXPECT_FALSE(settingsAtStartup(dir, false));
    EXPECT_FALSE(loadPageSettings(dir, options));
    EXPECT_EQ(options.style, PageStyle::Classic);
    fs::remove_all(folder);
}
