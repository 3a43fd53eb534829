#include "core/settings/Config.h"
#include "core/files/FileIO.h"
#include "core/text/TextTools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace stv;
namespace fs = std::filesystem;

namespace
{

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "stvconfigXXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(m_path); }
    std::string folder() const { return m_path + "/"; }
    std::string file(const std::string &name) const { return folder() + name; }
    void write(const std::string &name, const std::string &bytes) const
    {
        ASSERT_TRUE(writeWholeFile(file(name), bytes).ok());
    }
    std::vector<std::string> lines(const std::string &name) const
    {
        std::vector<std::string> result;
        Result<std::vector<std::string>> resultRead = readLinesFile(file(name));
        EXPECT_TRUE(resultRead.ok());
        result = std::move(resultRead.value());
        return result;
    }

private:
    std::string m_path;
};

const std::vector<std::string> FullConfig
    = { "60", "200", "70", "20", "180", "400", "2", "0", "1" };

} // namespace

TEST(ConfigParse, NineLinesSetEveryValue)
{
    const Configuration c = parseConfiguration(FullConfig);
    EXPECT_EQ(c.mainTop, 60);
    EXPECT_EQ(c.mainLeft, 200);
    EXPECT_EQ(c.smTop, 70);
    EXPECT_EQ(c.smLeft, 20);
    EXPECT_EQ(c.smWidth, 180);
    EXPECT_EQ(c.smHeight, 400);
    EXPECT_EQ(c.decisionItem, 2);
    EXPECT_FALSE(c.pageOptions.siteLastUpdated);
    EXPECT_TRUE(c.pageOptions.updateBlack);
    EXPECT_EQ(configurationLines(c), FullConfig);
}

TEST(ConfigParse, DesignedDefaults)
{
    const Configuration c;
    EXPECT_EQ(configurationLines(c),
        (std::vector<std::string> { "45", "187", "45", "18", "165", "419", "0", "1", "1" }));
    EXPECT_EQ(parseConfiguration({}), c);
}

TEST(ConfigParse, ShortOrDamagedFilesFallBackLineByLine)
{
    // Missing lines keep their defaults.
    Configuration c = parseConfiguration({ "10", "20", "30" });
    EXPECT_EQ(c.mainTop, 10);
    EXPECT_EQ(c.smTop, 30);
    EXPECT_EQ(c.smLeft, 18);
    EXPECT_EQ(c.smWidth, 165);
    EXPECT_EQ(c.decisionItem, 0);
    EXPECT_TRUE(c.pageOptions.siteLastUpdated);
    EXPECT_TRUE(c.pageOptions.updateBlack);

    // Text reads through the leading number; an item out of range reads as 0; a size that is
    // not positive keeps its default; any flag other than 0 is ticked.
    c = parseConfiguration({ "12px", "abc", "", "-5", "0", "-30", "7", "-1", "0" });
    EXPECT_EQ(c.mainTop, 12);
    EXPECT_EQ(c.mainLeft, 0);
    EXPECT_EQ(c.smTop, 0);
    EXPECT_EQ(c.smLeft, -5);
    EXPECT_EQ(c.smWidth, 165);
    EXPECT_EQ(c.smHeight, 419);
    EXPECT_EQ(c.decisionItem, 0);
    EXPECT_TRUE(c.pageOptions.siteLastUpdated);
    EXPECT_FALSE(c.pageOptions.updateBlack);
    EXPECT_EQ(parseConfiguration({ "", "", "", "", "", "", "-1" }).decisionItem, 0);
    EXPECT_EQ(parseConfiguration({ "", "", "", "", "", "", "3" }).decisionItem, 3);

    // Binary rubbish and absurd numbers never throw.
    c = parseConfiguration({ std::string("\0\xff\xa0", 3), "99999999999999999999" });
    EXPECT_EQ(c.mainTop, 0);
    EXPECT_GT(c.mainLeft, 0);
}

TEST(ConfigFiles, FirstRunInAnEmptyFolderKeepsEverythingDesigned)
{
    TempFolder dir;
    Configuration config;
    FavouriteLists lists;
    const Result<bool> r = loadConfiguration(dir.folder(), config, lists);
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r.value());
    EXPECT_TRUE(r.error().empty());
    EXPECT_EQ(config, Configuration());
    EXPECT_EQ(lists.links, FavouriteLists::designedLinks());
    EXPECT_TRUE(lists.colours.empty());
    EXPECT_TRUE(lists.images.empty());
}

TEST(ConfigFiles, ListFilesAreIgnoredWithoutTheConfiguration)
{
    TempFolder dir;
    dir.write(ColourListFile, "255\r\n");
    dir.write(LinkListFile, "#only\r\n");
    Configuration config;
    FavouriteLists lists;
    EXPECT_FALSE(loadConfiguration(dir.folder(), config, lists).valueOr(false));
    EXPECT_TRUE(lists.colours.empty());
    EXPECT_EQ(lists.links, FavouriteLists::designedLinks());
}

TEST(ConfigFiles, ExistingListsReplaceItemsMissingOnesKeepTheirDesign)
{
    TempFolder dir;
    dir.write(ConfigFileName, "1\r\n2\r\n3\r\n4\r\n200\r\n300\r\n3\r\n1\r\n0\r\n");
    dir.write(ColourListFile, "255\r\n65280\r\n");
    dir.write(LinkListFile, "#top\nmailto:a@b\n"); // lone LF line ends read too
    Configuration config;
    FavouriteLists lists;
    lists.images = { "kept" };
    const Result<bool> r = loadConfiguration(dir.folder(), config, lists);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.value());
    EXPECT_TRUE(r.error().empty());
    EXPECT_EQ(config.mainTop, 1);
    EXPECT_EQ(config.decisionItem, 3);
    EXPECT_FALSE(config.pageOptions.updateBlack);
    EXPECT_EQ(lists.colours, (std::vector<std::string> { "255", "65280" }));
    EXPECT_EQ(lists.links, (std::vector<std::string> { "#top", "mailto:a@b" }));
    EXPECT_EQ(lists.images, std::vector<std::string> { "kept" }); // no "StvImageList"
}

TEST(ConfigFiles, EmptyConfigurationFileStillCountsAndLoadsLists)
{
    TempFolder dir;
    dir.write(ConfigFileName, "");
    dir.write(ImageListFile, "\xa0Image\xa0pic\xa0pic.gif\xa0\r\n");
    Configuration config;
    config.decisionItem = 2;
    FavouriteLists lists;
    EXPECT_TRUE(loadConfiguration(dir.folder(), config, lists).valueOr(false));
    EXPECT_EQ(config, Configuration());
    EXPECT_EQ(lists.images.size(), 1u);
}

TEST(ConfigFiles, SaveWritesAllFourFilesAndReadsBack)
{
    TempFolder dir;
    Configuration config = parseConfiguration(FullConfig);
    FavouriteLists lists;
    lists.colours = { "10", "20" };
    lists.images = {}; // an empty list is still written
    const Result<> r = saveConfiguration(dir.folder(), config, lists);
    ASSERT_TRUE(r.ok()) << r.error();
    EXPECT_EQ(dir.lines(ConfigFileName), FullConfig);
    std::string bytes;
    Result<std::string> bytesRead = readWholeFile(dir.file(ConfigFileName));
    ASSERT_TRUE(bytesRead.ok());
    bytes = std::move(bytesRead.value());
    EXPECT_EQ(bytes, joinLines(FullConfig)); // CR LF
    EXPECT_EQ(dir.lines(ColourListFile), lists.colours);
    EXPECT_EQ(dir.lines(LinkListFile), FavouriteLists::designedLinks());
    EXPECT_TRUE(fileExists(dir.file(ImageListFile)));
    EXPECT_TRUE(dir.lines(ImageListFile).empty());

    Configuration back;
    FavouriteLists backLists;
    backLists.images = { "stale" };
    ASSERT_TRUE(loadConfiguration(dir.folder(), back, backLists).valueOr(false));
    EXPECT_EQ(back, config);
    EXPECT_EQ(backLists.colours, lists.colours);
    EXPECT_TRUE(backLists.images.empty());
}

TEST(ConfigFiles, WriteFailuresAreJoinedAndTheOtherFilesStillWritten)
{
    TempFolder dir;
    fs::create_directory(dir.file(LinkListFile)); // cannot be replaced by a file
    FavouriteLists lists;
    lists.colours = { "1" };
    const Result<> r = saveConfiguration(dir.folder(), Configuration(), lists);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error().find(LinkListFile), std::string::npos);
    EXPECT_EQ(r.error().find(ColourListFile), std::string::npos);
    EXPECT_EQ(dir.lines(ColourListFile), lists.colours);
    EXPECT_TRUE(fileExists(dir.file(ConfigFileName)));
    EXPECT_TRUE(fileExists(dir.file(ImageListFile)));

    // A folder that is gone (named without its trailing slash): every file fails, all in one
    // text.
    const Result<> gone = saveConfiguration(dir.folder() + "missing", Configuration(), lists);
    EXPECT_FALSE(gone.ok());
    EXPECT_NE(gone.error().find("missing/Sitorva.config"), std::string::npos) << gone.error();
    for (const char *name : { ConfigFileName, ColourListFile, LinkListFile, ImageListFile })
        EXPECT_NE(gone.error().find(name), std::string::npos) << name;
}

TEST(ConfigPlace, WindowsMustStayReachableOnSomeScreen)
{
    const std::vector<ScreenRect> one = { { 0, 0, 1920, 1080 } };
    EXPECT_TRUE(placeIsReachable({ 187, 45, 600, 400 }, one));
    EXPECT_TRUE(placeIsReachable({ -500, 10, 600, 400 }, one)); // mostly off the left edge
    EXPECT_FALSE(placeIsReachable({ -590, 10, 600, 400 }, one)); // only 10 pixels left
    EXPECT_FALSE(placeIsReachable({ 3000, 45, 600, 400 }, one)); // a screen that is gone
    EXPECT_FALSE(placeIsReachable({ 100, -30, 600, 400 }, one)); // title bar above the screen
    EXPECT_FALSE(placeIsReachable({ 100, 1070, 600, 400 }, one)); // title bar below it
    EXPECT_FALSE(placeIsReachable({ 100, 100, 600, 400 }, {}));

    const std::vector<ScreenRect> two = { { 0, 0, 1920, 1080 }, { 1920, -200, 1280, 1024 } };
    EXPECT_TRUE(placeIsReachable({ 3000, -100, 600, 400 }, two));
    EXPECT_FALSE(placeIsReachable({ 3300, -100, 600, 400 }, two));
    // Extreme numbers from a damaged file do not overflow.
    EXPECT_FALSE(placeIsReachable({ 2147483647, 2147483647, 2147483647, 2147483647 }, two));
}

// Saved lists that cannot be read (a folder in a file's place) keep the designed values, and
// so does a configuration that is not a file at all.
TEST(ConfigFiles, UnreadableFilesKeepTheDefaults)
{
    TempFolder dir;
    dir.write(ConfigFileName, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n0\r\n0\r\n0\r\n");
    fs::create_directory(dir.file(ColourListFile));
    fs::create_directory(dir.file(LinkListFile));
    dir.write(ImageListFile, "\xA0Image\xA0pic\xA0\r\n");
    Configuration config;
    FavouriteLists lists;
    // Two list files are folders: the failure names them, the readable ones are applied.
    const Result<bool> loaded = loadConfiguration(dir.folder(), config, lists);
    EXPECT_NE(loaded.error().find(ColourListFile), std::string::npos) << loaded.error();
    EXPECT_TRUE(lists.colours.empty());
    EXPECT_EQ(lists.links, FavouriteLists::designedLinks());
    EXPECT_EQ(lists.images.size(), 1u);
    EXPECT_FALSE(config.pageOptions.siteLastUpdated);

    fs::remove(dir.file(ConfigFileName));
    fs::create_directory(dir.file(ConfigFileName));
    Configuration none;
    FavouriteLists noLists;
    EXPECT_FALSE(loadConfiguration(dir.folder(), none, noLists).ok());
    EXPECT_TRUE(noLists.images.empty());
    EXPECT_TRUE(none.pageOptions.siteLastUpdated && none.pageOptions.updateBlack);
}

// A list saved as it changes: without a configuration beside it the list file would be skipped
// at the next start, so the first list written brings one; an existing one is left as it is.
TEST(SaveFavouriteList, BringsAConfigurationOnlyWhenThereIsNone)
{
    TempFolder dir;
    Configuration config;
    config.decisionItem = 2;
    ASSERT_TRUE(saveFavouriteList(dir.folder(), ColourListFile, { "255" }, config).ok());
    Configuration read;
    FavouriteLists lists;
    EXPECT_TRUE(loadConfiguration(dir.folder(), read, lists).valueOr(false));
    EXPECT_EQ(read.decisionItem, 2);
    EXPECT_EQ(lists.colours, std::vector<std::string> { "255" });

    config.decisionItem = 1;
    ASSERT_TRUE(saveFavouriteList(dir.folder(), ColourListFile, { "0" }, config).ok());
    EXPECT_TRUE(loadConfiguration(dir.folder(), read, lists).valueOr(false));
    EXPECT_EQ(read.decisionItem, 2);
    EXPECT_EQ(lists.colours, std::vector<std::string> { "0" });

    // A list file that could not be read at the start is not written over.
    dir.write(LinkListFile, "x");
    keepUnreadFile(dir.file(LinkListFile));
    EXPECT_FALSE(saveFavouriteList(dir.folder(), LinkListFile, { "y" }, config).ok());
    releaseUnreadFile(dir.file(LinkListFile));
}
