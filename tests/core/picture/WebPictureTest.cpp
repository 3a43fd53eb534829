// Pictures made ready for the web: upright, at most the longest side, without the camera's
// data, in their own format, never larger than they were; broken pictures refused.

#include "core/picture/WebPicture.h"
#include "core/files/FileIO.h"
#include "core/picture/MetadataStrip.h"

#include "support/CameraPictures.h"
#include "support/HostileFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace stv
{
namespace
{

using test::colourAt;
using test::identifyingTags;
using test::pixelSize;
using test::runCommand;

std::string bytesOf(const std::string &path)
{
    std::string bytes;
    Result<std::string> bytesRead = readWholeFile(path);
    EXPECT_TRUE(bytesRead.ok()) << path;
    bytes = std::move(bytesRead.value());
    return bytes;
}

// Writes a made picture beside the test's files, for the tools to look at.
std::string written(const test::TempFolder &folder, const WebPicture &picture)
{
    const std::string path = folder.file("made");
    EXPECT_TRUE(writeWholeFile(path, picture.bytes).ok());
    return path;
}

TEST(WebPicture, CameraPhotoComesOutUprightSmallAndWithoutItsSecrets)
{
    test::TempFolder folder;
    const std::string photo = folder.file("photo.jpg");
    ASSERT_TRUE(test::makeCameraJpeg(photo, 2000, 1500));
    ASSERT_NE(identifyingTags(photo).find("GPSLatitude"), std::string::npos);

    const Result<WebPicture> made = makeWebPicture(photo, PictureRules {});
    ASSERT_TRUE(made) << made.error();
    EXPECT_FALSE(made.value().asItIs);
    // Stored 2000 x 1500 on its side: upright 1500 x 2000, then 1,600 px at most.
    EXPECT_EQ(made.value().width, 1200);
    EXPECT_EQ(made.value().height, 1600);
    const std::string out = written(folder, made.value());
    EXPECT_EQ(pixelSize(out), std::make_pair(1200, 1600));
    EXPECT_EQ(made.value().bytes.substr(0, 2), "\xFF\xD8"); // still a JPEG
    EXPECT_EQ(identifyingTags(out), "");
    // The stored left half (red) is the top once the photo stands upright.
    const auto top = colourAt(out, 600, 200);
    const auto bottom = colourAt(out, 600, 1400);
    EXPECT_GT(top[0], 150);
    EXPECT_LT(top[2], 110);
    EXPECT_GT(bottom[2], 150);
    EXPECT_LT(bottom[0], 110);
    EXPECT_LT(made.value().bytes.size(), std::filesystem::file_size(photo));

    // The same photo and rules always give the same bytes.
    const Result<WebPicture> again = makeWebPicture(photo, PictureRules {});
    ASSERT_TRUE(again);
    EXPECT_EQ(again.value().bytes, made.value().bytes);

    PictureRules small;
    small.longestSide = 400;
    const Result<WebPicture> thumb = makeWebPicture(photo, small);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(std::make_pair(thumb.value().width, thumb.value().height), std::make_pair(300, 400));
}

TEST(WebPicture, PicturesThatNeedNothingStayAsTheyAre)
{
    test::TempFolder folder;
    const std::string png = folder.file("plain.png");
    ASSERT_TRUE(test::makePlainPng(png));
    const Result<WebPicture> made = makeWebPicture(png, PictureRules {});
    ASSERT_TRUE(made) << made.error();
    EXPECT_TRUE(made.value().asItIs);
    EXPECT_EQ(std::make_pair(made.value().width, made.value().height), std::make_pair(40, 30));

    // A GIF is left as it is (it may be animated), whatever its size.
    const std::string gif = folder.file("big.gif");
    ASSERT_TRUE(runCommand("convert -size 2000x100 xc:yellow " + test::quoted(gif)));
    const Result<WebPicture> kept = makeWebPicture(gif, PictureRules {});
    ASSERT_TRUE(kept) << kept.error();
    EXPECT_TRUE(kept.value().asItIs);
}

TEST(WebPicture, OnlyTheMetadataOfASmallPictureGoesItsPixelsStay)
{
    test::TempFolder folder;
    const std::string jpeg = folder.file("small.jpg");
    ASSERT_TRUE(
        runCommand("convert -size 300x200 gradient:red-blue -quality 60 " + test::quoted(jpeg)));
    ASSERT_TRUE(
        runCommand("exiftool -q -overwrite_original -GPSLatitude=1 -GPSLatitudeRef=N -Make=Cam "
                   "-Comment=mine "
            + test::quoted(jpeg)));
    const Result<WebPicture> made = makeWebPicture(jpeg, PictureRules {});
    ASSERT_TRUE(made) << made.error();
    ASSERT_FALSE(made.value().asItIs);
    const std::string out = written(folder, made.value());
    EXPECT_EQ(identifyingTags(out), "");
    EXPECT_LT(made.value().bytes.size(), std::filesystem::file_size(jpeg));
    // The same pixels: the difference of the two pictures is nothing.
    EXPECT_EQ(std::stod(test::commandOutput("vips subtract " + test::quoted(jpeg) + " "
                  + test::quoted(out) + " " + folder.file("diff.v") + " && vips max "
                  + folder.file("diff.v"))),
        0.0);

    const std::string png = folder.file("texts.png");
    ASSERT_TRUE(
        runCommand("convert -size 64x64 xc:orange -set comment secret " + test::quoted(png)));
    const Result<WebPicture> cleaned = makeWebPicture(png, PictureRules {});
    ASSERT_TRUE(cleaned) << cleaned.error();
    ASSERT_FALSE(cleaned.value().asItIs);
    EXPECT_EQ(cleaned.value().bytes.find("secret"), std::string::npos);
    EXPECT_EQ(cleaned.value().bytes.find("tEXt"), std::string::npos);
    EXPECT_EQ(pixelSize(written(folder, cleaned.value())), std::make_pair(64, 64));
}

TEST(WebPicture, ATurnedPhotoIsNeverLargerThanItsOriginal)
{
    test::TempFolder folder;
    const std::string jpeg = folder.file("low.jpg");
    ASSERT_TRUE(
        runCommand("convert -size 900x600 plasma:fractal -quality 40 " + test::quoted(jpeg)));
    ASSERT_TRUE(
        runCommand("exiftool -q -overwrite_original -Orientation#=6 " + test::quoted(jpeg)));
    const Result<WebPicture> made = makeWebPicture(jpeg, PictureRules {});
    ASSERT_TRUE(made) << made.error();
    EXPECT_EQ(std::make_pair(made.value().width, made.value().height), std::make_pair(600, 900));
    EXPECT_LE(made.value().bytes.size(), std::filesystem::file_size(jpeg));
}

TEST(WebPicture, WhatIsNoPictureIsRefusedByName)
{
    test::TempFolder folder;
    const std::string fake = folder.file("holiday.jpg");
    ASSERT_TRUE(writeWholeFile(fake, "this is a letter, not a photo").ok());
    const Result<WebPicture> notPicture = makeWebPicture(fake, PictureRules {});
    ASSERT_FALSE(notPicture);
    EXPECT_NE(notPicture.error().find("not a picture that can be read"), std::string::npos);

    // A photo cut short is found out, not copied with a grey bottom.
    const std::string photo = folder.file("photo.jpg");
    ASSERT_TRUE(
        runCommand("convert -size 800x600 plasma:fractal -quality 90 " + test::quoted(photo)));
    std::string bytes = bytesOf(photo);
    const std::string cut = folder.file("cut.jpg");
    ASSERT_TRUE(writeWholeFile(cut, bytes.substr(0, bytes.size() / 2)).ok());
    EXPECT_FALSE(makeWebPicture(cut, PictureRules {}));

    const Result<WebPicture> missing = makeWebPicture(folder.file("gone.jpg"), PictureRules {});
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.missing());
    EXPECT_FALSE(makeWebPicture(folder.path(), PictureRules {})); // a folder
}

TEST(MetadataStrip, JpegLosesItsBlocksAndWhatFollowsItsEnd)
{
    // SOI, APP1 (Exif), COM, DQT, SOS with stuffed and restart bytes, EOI, a trailer.
    const std::string app1("\xFF\xE1\x00\x08"
                           "Exif\0\0",
        10);
    const std::string comment("\xFF\xFE\x00\x05"
                              "hi!",
        7);
    const std::string dqt("\xFF\xDB\x00\x04\x01\x02", 6);
    const std::string scan("\xFF\xDA\x00\x03\x00"
                           "\x12\xFF\x00\x34\xFF\xD0\x56",
        12);
    const std::string end("\xFF\xD9", 2);
    const std::string jpeg = "\xFF\xD8" + app1 + comment + dqt + scan + end + "PREVIEW";
    const Result<std::string> stripped = jpegWithoutMetadata(jpeg);
    ASSERT_TRUE(stripped) << stripped.error();
    EXPECT_EQ(stripped.value(), "\xFF\xD8" + dqt + scan + end);

    EXPECT_FALSE(jpegWithoutMetadata("\xFF\xD8\xFF\xE1\x00\x40short"));
    EXPECT_FALSE(jpegWithoutMetadata("GIF89a"));
    EXPECT_FALSE(pngWithoutMetadata("\x89PNG\r\n\x1a\n\x00\x00\x00\x09IHDR"));
}

} // namespace
} // namespace stv
