// Pictures made once and used again while nothing changed, and the page written with them:
// ready pictures beside it under their own names, originals when the page does not ask for
// them, and what is no picture named in the result while the page is still written.

#include "core/picture/PictureCache.h"
#include "core/files/FileIO.h"
#include "core/page/PageGenerator.h"

#include "support/CameraPictures.h"
#include "support/GenerateTestUtil.h"
#include "support/HostileFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace stv
{
namespace
{

namespace fs = std::filesystem;

std::string contentOf(const std::string &path)
{
    std::string bytes;
    Result<std::string> bytesRead = readWholeFile(path);
    EXPECT_TRUE(bytesRead.ok()) << path;
    bytes = std::move(bytesRead.value());
    return bytes;
}

ino_t inodeOf(const std::string &path)
{
    struct stat info {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

std::size_t entriesIn(const std::string &folder)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(folder))
        ++n;
    return n;
}

struct PicturesBesidePage : ::testing::Test {
    test::TempFolder dir;
    std::string cacheFolder;

    void SetUp() override
    {
        fs::create_directories(dir.file("proj"));
        fs::create_directories(dir.file("web"));
        cacheFolder = pictureCacheFolder(dir.file("prog/"));
        ASSERT_TRUE(test::makeCameraJpeg(dir.file("proj/photo.jpg"), 2000, 1500));
        ASSERT_TRUE(test::makePlainPng(dir.file("proj/plain.png")));
        ASSERT_TRUE(writeWholeFile(dir.file("proj/broken.jpg"), "not a jpeg at all").ok());
    }

    static std::string imageRecord(const std::string &file)
    {
        return test::Rec({ "Image", "u", file, "", "", "", "", "0", "", "0", "", "1", "1" });
    }

    PageResult writeWith(PicturePreparer *pictures)
    {
        Project project;
        project.backgroundImage = "plain.png";
        project.sections
            = { imageRecord("photo.jpg"), imageRecord("plain.png"), imageRecord("broken.jpg") };
        PageRequest request;
        request.importRequested = true;
        request.sourceFolder = dir.file("proj");
        request.pageFile = dir.file("web/index.html");
        request.webReadyPictures = pictures;
        DiskCopier copier;
        return writePageFile(project, FavouriteLists {}, {}, request, copier);
    }
};

TEST_F(PicturesBesidePage, ReadyPicturesGoBesideThePageUnderTheirOwnNames)
{
    PictureCache cache(cacheFolder, PictureRules {});
    const PageResult result = writeWith(&cache);
    ASSERT_TRUE(result.ok()) << result.error();

    const std::string photo = dir.file("web/photo.jpg");
    EXPECT_EQ(test::pixelSize(photo), std::make_pair(1200, 1600));
    EXPECT_EQ(test::identifyingTags(photo), "");
    EXPECT_EQ(contentOf(dir.file("web/plain.png")), contentOf(dir.file("proj/plain.png")));
    // What is no picture is named, not copied, and the page is written all the same.
    ASSERT_EQ(result.value().copyFailures.size(), 1u);
    EXPECT_NE(result.value().copyFailures[0].find("broken.jpg"), std::string::npos);
    EXPECT_NE(result.value().copyFailures[0].find("not a picture"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("web/broken.jpg")));
    const std::string page = contentOf(dir.file("web/index.html"));
    EXPECT_NE(page.find("<IMG SRC=\"broken.jpg\""), std::string::npos);
    EXPECT_NE(page.find("<BODY BACKGROUND=\"plain.png\">"), std::string::npos);
}

TEST_F(PicturesBesidePage, WithoutReadyPicturesTheOriginalsAreCopied)
{
    const PageResult result = writeWith(nullptr);
    ASSERT_TRUE(result.ok()) << result.error();
    // What is no picture is never copied, whatever the style.
    ASSERT_EQ(result.value().copyFailures.size(), 1u);
    EXPECT_NE(result.value().copyFailures[0].find("not a picture"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.file("web/broken.jpg")));
    for (const char *name : { "photo.jpg", "plain.png" })
        EXPECT_EQ(contentOf(dir.file(std::string("web/") + name)),
            contentOf(dir.file(std::string("proj/") + name)))
            << name;
}

TEST_F(PicturesBesidePage, APictureIsMadeOnceWhileItsSourceAndRulesStay)
{
    PictureCache first(cacheFolder, PictureRules {});
    ASSERT_TRUE(writeWith(&first).ok());
    EXPECT_EQ(first.madeCount(), 3); // the photo, the PNG (found fine as it is), the broken one
    const std::string readyPhoto = first.prepare(dir.file("proj/photo.jpg")).value().file;
    const ino_t made = inodeOf(readyPhoto);
    const std::string page = contentOf(dir.file("web/photo.jpg"));

    // A second run, as a new program would: nothing is made again but what is no picture.
    PictureCache second(cacheFolder, PictureRules {});
    ASSERT_TRUE(writeWith(&second).ok());
    EXPECT_EQ(second.madeCount(), 1);
    EXPECT_EQ(inodeOf(readyPhoto), made);
    EXPECT_EQ(contentOf(dir.file("web/photo.jpg")), page);
    const Result<ReadyPicture> plain = second.prepare(dir.file("proj/plain.png"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain.value().file, dir.file("proj/plain.png")); // the source itself

    // The source changed: made again, and its older entry goes.
    const std::size_t kept = entriesIn(cacheFolder);
    ASSERT_TRUE(test::makeCameraJpeg(dir.file("proj/photo.jpg"), 1800, 1200));
    PictureCache third(cacheFolder, PictureRules {});
    const Result<ReadyPicture> changed = third.prepare(dir.file("proj/photo.jpg"));
    ASSERT_TRUE(changed) << changed.error();
    EXPECT_EQ(third.madeCount(), 1);
    EXPECT_EQ(
        std::make_pair(changed.value().width, changed.value().height), std::make_pair(1067, 1600));
    EXPECT_EQ(entriesIn(cacheFolder), kept);

    // Other rules: made again.
    PictureRules small;
    small.longestSide = 800;
    PictureCache fourth(cacheFolder, small);
    const Result<ReadyPicture> smaller = fourth.prepare(dir.file("proj/photo.jpg"));
    ASSERT_TRUE(smaller);
    EXPECT_EQ(fourth.madeCount(), 1);
    EXPECT_EQ(smaller.value().height, 800);

    // A kept picture that was damaged (its size is not the stamp's) is made again.
    ASSERT_TRUE(writeWholeFile(smaller.value().file, "x").ok());
    PictureCache fifth(cacheFolder, small);
    ASSERT_TRUE(fifth.prepare(dir.file("proj/photo.jpg")));
    EXPECT_EQ(fifth.madeCount(), 1);
}

} // namespace
} // namespace stv
