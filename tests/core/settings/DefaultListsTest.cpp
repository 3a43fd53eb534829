#include "core/settings/DefaultLists.h"
#include "core/files/FileIO.h"
#include "core/settings/Config.h"
#include "core/text/Cp1252.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace stv;
namespace fs = std::filesystem;

TEST(DefaultLists, FirstStartCopiesListsWithFullPicturePaths)
{
    const fs::path root = fs::path(::testing::TempDir()) / "sitorva-default-lists";
    fs::remove_all(root);
    const fs::path defaults = root / "Страница defaults";
    const fs::path program = root / "program";
    fs::create_directories(defaults);
    fs::create_directories(program);
    ASSERT_TRUE(writeLinesFile((defaults / ConfigFileName).string(), { "1" }).ok());
    ASSERT_TRUE(writeLinesFile((defaults / ColourListFile).string(), { "255" }).ok());
    ASSERT_TRUE(writeLinesFile((defaults / ImageListFile).string(),
        { "\xA0Image\xA0Star\xA0star.png\xA0"
          "1\xA0",
            "\xA0Image\xA0Web\xA0http://x/y.png\xA0" })
                    .ok());
    ASSERT_TRUE(writeWholeFile((defaults / "star.png").string(), "png").ok());

    EXPECT_EQ(provideDefaultLists(defaults.string(), program.string()).error(), "");
    std::vector<std::string> images;
    Result<std::vector<std::string>> imagesRead = readLinesFile((program / ImageListFile).string());
    ASSERT_TRUE(imagesRead.ok());
    images = std::move(imagesRead.value());
    ASSERT_EQ(images.size(), 2u);
    // The folder's Cyrillic name is stored as character references, as every stored path.
    EXPECT_EQ(images[0],
        "\xA0Image\xA0Star\xA0" + storedPath((defaults / "star.png").string())
            + "\xA0"
              "1\xA0");
    EXPECT_EQ(images[1], "\xA0Image\xA0Web\xA0http://x/y.png\xA0");
    EXPECT_TRUE(fs::exists(program / ConfigFileName));

    // A program folder that is set up already is left alone.
    ASSERT_TRUE(writeLinesFile((program / ColourListFile).string(), { "0" }).ok());
    EXPECT_EQ(provideDefaultLists(defaults.string(), program.string()).error(), "");
    std::vector<std::string> colours;
    colours = readLinesFile((program / ColourListFile).string()).valueOr({});
    EXPECT_EQ(colours, std::vector<std::string> { "0" });
    fs::remove_all(root);
}
