// The offline page check: one planted fault of each kind found on its own section and nothing
// else; projects without faults (the sample, every kind with sound values) give nothing.

#include "core/check/ColourContrast.h"
#include "core/check/PageChecker.h"
#include "core/check/PictureFacts.h"
#include "core/settings/Config.h"
#include "support/GenerateTestUtil.h"
#include "support/ScriptServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace stv
{
namespace
{

namespace fs = std::filesystem;
using test::Rec;

const std::string Sample = STV_SAMPLE_DIR;

// A PNG of the given size whose pixels are never read: the check reads sizes from the header.
std::string pngHeader(unsigned width, unsigned height)
{
    std::string bytes = "\x89PNG\r\n\x1A\n";
    bytes += std::string("\0\0\0\x0DIHDR", 8);
    for (const unsigned value : { width, height })
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((value >> shift) & 0xFF);
    bytes += std::string("\x08\x02\0\0\0\0\0\0\0", 9);
    return bytes;
}

struct PageCheckTest : ::testing::Test {
    fs::path folder;
    Project project;
    FavouriteLists lists;

    void SetUp() override
    {
        char pattern[] = "/tmp/stvcheckXXXXXX";
        folder = ::mkdtemp(pattern);
        for (const char *name : { "star.png", "hills.png", "chime.wav", "background.png" })
            fs::copy_file(fs::path(Sample) / name, folder / name);
        project.pageTitle = "A page";
        lists.colours = { "8388608" }; // navy
        lists.links = { "https://example.org/", "#Here" };
        lists.images = { Rec({ "Image", "Star", "star.png", "1", "16", "16", "a star", "0", "", "1",
            "0", "1", "0" }) };
    }
    void TearDown() override { fs::remove_all(folder); }

    PageReport check(bool picturesMadeForTheWeb = false)
    {
        Result<PageReport> report
            = checkPage(project, project.sections, lists, folder.string(), picturesMadeForTheWeb);
        EXPECT_TRUE(report.ok()) << report.error();
        return report.valueOr({});
    }

    // Every kind of section, each with values that give a visitor nothing to complain of.
    std::vector<std::string> soundSections()
    {
        return {
            Rec({ "Heading", "H", "Hello {c0}there{c/}", "4", "1", "0", "0", "0", "1", "0" }),
            Rec({ "Paragraph", "P", "See {l0}this{l/} and {l1}here{l/}.{lf13}{lf10}{i0} More.", "2",
                "0", "0", "0", "0", "0", "", "0", "#Here" }),
            Rec({ "Image", "I", "hills.png", "2", "300", "100", "Hills", "3", "Here", "0", "1", "1",
                "0" }),
            Rec({ "Divider", "D", "65535", "2", "50", "0" }),
            Rec({ "Anchor", "A", "Here", "Here we are", "0" }),
            Rec({ "List", "L", "One", "https://example.org/one", "Two {c0}x{c/}", "", "", "", "",
                "", "", "", "", "", "", "", "0", "2", "32768" }),
            Rec({ "Index", "X", "Top{lf13}{lf10}#top{lf13}{lf10}Mail{lf13}{lf10}mailto:a@b.org",
                "2", "0", "0", "0", "0", "1", "0" }),
            Rec({ "HTML", "T", "<P id=\"table\">{lf13}{lf10}<A HREF=\"#table\">x</A>" }),
            Rec({ "PlaySound", "S", "chime.wav", "0", "0", "1", "0", "1" }),
            Rec({ "Paragraph", "P2", "To the {l1}table{l/} and {code} as typed.", "2", "0", "0",
                "0", "0", "0", "", "0", "#table" }),
        };
    }
};

TEST_F(PageCheckTest, SoundProjectOfEveryKindHasNoProblem)
{
    project.sections = soundSections();
    project.backgroundImage = "background.png";
    const PageReport report = check();
    EXPECT_TRUE(report.problems.empty()) << problemLine(report.problems.front());
    // The links to other sites are kept for the online check, once per section.
    std::vector<std::pair<int, std::string>> links;
    for (const PageLink &link : report.links)
        links.emplace_back(link.section, link.address);
    EXPECT_EQ(links,
        (std::vector<std::pair<int, std::string>> { { 2, "https://example.org/" },
            { 6, "https://example.org/one" }, { 7, "mailto:a@b.org" } }));
}

TEST_F(PageCheckTest, SampleProjectHasNoProblem)
{
    Project sample;
    ASSERT_TRUE(loadProjectFile(Sample + "/sample.stv", sample).ok());
    Configuration config;
    FavouriteLists sampleLists;
    (void)loadConfiguration(Sample + "/", config, sampleLists); // the sample has no lists
    const Result<PageReport> report = checkPage(sample, sample.sections, sampleLists, Sample);
    ASSERT_TRUE(report.ok());
    for (const Problem &problem : report.value().problems)
        ADD_FAILURE() << problemLine(problem);
    EXPECT_EQ(report.value().links.size(), 7u);
}

TEST_F(PageCheckTest, EachPlantedFaultIsFoundOnItsSectionAlone)
{
    test::WriteFileBytes((folder / "notes.txt").string(), "just words");
    test::WriteFileBytes((folder / "huge.png").string(), pngHeader(3000, 1200));
    project.pageTitle = " ";
    project.sections = soundSections();
    const std::vector<std::string> faults = {
        Rec({ "Image", "I", "gone.png", "2", "", "", "Gone", "0", "", "0", "1", "1", "0" }),
        Rec({ "Image", "I", "notes.txt", "2", "", "", "Words", "0", "", "0", "1", "1", "0" }),
        Rec({ "PlaySound", "S", "star.png", "0", "0", "1", "0", "1" }),
        Rec({ "Image", "I", "huge.png", "2", "", "", "Huge", "0", "", "0", "1", "1", "0" }),
        Rec({ "Paragraph", "P", "Red {c5}words{c/}", "2", "0", "0", "0", "0", "0", "", "0", "" }),
        Rec({ "Heading", "H", "Run {c0}on and on", "4", "1", "0", "0", "0", "1", "0" }),
        Rec({ "List", "L", "Away", "#nowhere", "", "", "", "", "", "", "", "", "", "", "", "", "0",
            "2", "0" }),
        Rec({ "Anchor", "A", "Here", "Again", "1" }),
        Rec({ "Image", "I", "star.png", "1", "16", "16", "", "0", "", "1", "0", "1", "0" }),
        Rec({ "Paragraph", "P", "Pale", "2", "0", "0", "0", "0", "0", "65535", "0", "" }),
    };
    project.sections.insert(project.sections.end(), faults.begin(), faults.end());
    const std::vector<std::pair<int, std::string>> expected
        = { { 0, "empty-title" }, { 11, "missing-file" }, { 12, "not-a-picture" },
              { 13, "not-a-sound" }, { 14, "large-picture" }, { 15, "unknown-mark" },
              { 16, "unclosed-mark" }, { 17, "missing-anchor" }, { 18, "duplicate-anchor" },
              { 19, "no-alt" }, { 20, "low-contrast" } };
    const PageReport report = check();
    std::vector<std::pair<int, std::string>> found;
    for (const Problem &problem : report.problems)
        found.emplace_back(problem.section, problem.code);
    EXPECT_EQ(found, expected);
    ASSERT_EQ(report.problems.size(), expected.size());
    // The messages carry what the user needs to mend the fault.
    EXPECT_NE(report.problems[4].message.find("3000 x 1200 px"), std::string::npos);
    EXPECT_NE(report.problems[5].message.find("\"{c5}\""), std::string::npos);
    EXPECT_NE(report.problems[10].message.find("#FFFF00"), std::string::npos);
    EXPECT_NE(report.problems[10].message.find("1.0:1"), std::string::npos);
    EXPECT_EQ(problemLine(report.problems[0]).rfind("page: empty-title: ", 0), 0u);
    EXPECT_EQ(problemLine(report.problems[1]).rfind("section 11: missing-file: ", 0), 0u);
}

// Marks are judged as the generator translates them: what prints as typed is reported, and
// only that.
TEST_F(PageCheckTest, MarksAreReportedExactlyWhenTheyWouldPrintAsTyped)
{
    const auto codesOf = [&](const std::string &text) {
        project.sections
            = { Rec({ "Paragraph", "P", text, "2", "0", "0", "0", "0", "0", "", "0", "" }) };
        std::string codes;
        for (const Problem &problem : check().problems)
            codes += (codes.empty() ? "" : " ") + problem.code;
        return codes;
    };
    EXPECT_EQ(codesOf("{C0}upper{c/} {c1234}{c/}"), "unknown-mark"); // N = 123: no entry
    EXPECT_EQ(codesOf("{C0}case{c/} {c}{c/} {i0} {l0}x{l/}"), "");
    EXPECT_EQ(codesOf("{c12345}"), "unclosed-mark"); // the "}" is out of reach
    EXPECT_EQ(codesOf("{i1}"), "unknown-mark");
    EXPECT_EQ(codesOf("{l2}x{l/}"), "unknown-mark");
    EXPECT_EQ(codesOf("{lf13}{lf10} {click here} {image} {code}"), "");
    EXPECT_EQ(codesOf("{l0}never closed"), "unclosed-mark");
    EXPECT_EQ(codesOf("{c/} a closing mark alone"), "");
    lists.colours.clear();
    EXPECT_EQ(codesOf("{c0}x{c/}"), "unknown-mark");
}

TEST_F(PageCheckTest, ContrastIsJudgedAgainstTheBackgroundColourOrThePicturesAverage)
{
    project.sections = { Rec({ "Heading", "H", "Dark", "4", "1", "0", "0", "0", "1", "" }) };
    project.backgroundColour = 0x202020;
    ASSERT_EQ(check().problems.size(), 1u); // default black text on a near-black page
    EXPECT_NE(
        check().problems[0].message.find("#000000 on the background #202020"), std::string::npos);
    project.backgroundImage = "background.png"; // a pale tile: black reads well on it
    EXPECT_TRUE(check().problems.empty());
    const std::optional<int> average = averageColour((folder / "background.png").string());
    ASSERT_TRUE(average.has_value());
    EXPECT_NEAR(*average & 0xFF, 247, 1);
    EXPECT_NEAR(*average >> 16 & 0xFF, 229, 1);
    EXPECT_NEAR(storedColourContrast(0, 0xFFFFFF), 21.0, 0.01);
    EXPECT_NEAR(storedColourContrast(0xFF, 0xFFFFFF), 4.0, 0.01); // red on white
}

TEST_F(PageCheckTest, PictureSizesAreReadFromTheHeadersOfEachFormat)
{
    const auto sizeOf = [](const std::string &head) {
        PictureFacts facts;
        readPictureSize(head, facts);
        return std::make_pair(facts.width, facts.height);
    };
    EXPECT_EQ(sizeOf(pngHeader(2001, 5)), std::make_pair(2001, 5));
    EXPECT_EQ(sizeOf(std::string("GIF89a\x10\x00\x20\x00", 10)), std::make_pair(16, 32));
    EXPECT_EQ(sizeOf(std::string("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x01\x2C"
                                 "\x0B\xB8\x03",
                  18)),
        std::make_pair(3000, 300));
    EXPECT_EQ(sizeOf("not a picture"), std::make_pair(0, 0));
    // Large by bytes alone: a format whose size is not read is still judged by its weight.
    test::WriteFileBytes(
        (folder / "big.gif").string(), "GIF89a" + std::string(LargePictureBytes + 1, '\0'));
    project.sections
        = { Rec({ "Image", "I", "big.gif", "2", "", "", "Big", "0", "", "0", "1", "1", "0" }) };
    const PageReport report = check();
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].code, "large-picture");
    EXPECT_NE(report.problems[0].message.find("1.0 MB"), std::string::npos);
}

// A modern page shows a camera's photo made small beside it: only the large pictures it shows
// from where they are (not imported) are still slow for a visitor.
TEST_F(PageCheckTest, PicturesMadeForTheWebAreNeverTooLarge)
{
    test::WriteFileBytes((folder / "photo.png").string(), pngHeader(4000, 3000));
    const auto image = [](const char *import) {
        return Rec(
            { "Image", "I", "photo.png", "2", "", "", "A photo", "0", "", "0", "1", import, "0" });
    };
    const auto codes = [](const PageReport &report) {
        std::vector<std::string> found;
        for (const Problem &problem : report.problems)
            found.push_back(problem.code);
        return found;
    };
    project.backgroundImage = "photo.png";
    project.sections = { image("1"), image("0") };
    const std::vector<std::string> both { "large-picture", "large-picture", "large-picture" };
    EXPECT_EQ(codes(check()), both);
    EXPECT_EQ(codes(check(true)), std::vector<std::string> { "large-picture" }); // not imported
    EXPECT_EQ(check(true).problems[0].section, 2);
    project.importBackgroundImage = false; // the page copies nothing at all
    EXPECT_EQ(codes(check(true)), both);
}

TEST_F(PageCheckTest, AnchorsWrittenByHtmlSectionsCountAndDuplicatesNameTheFirst)
{
    project.sections = {
        Rec({ "HTML", "T", "<div id=Box>x</div><a name='Old'></a>" }),
        Rec({ "Paragraph", "P", "To", "2", "0", "0", "0", "0", "0", "", "0", "#Box" }),
        Rec({ "Index", "X", "Old{lf13}{lf10}#Old", "2", "0", "0", "0", "0", "1", "0" }),
        Rec({ "Anchor", "A", "Box", "", "0" }),
        Rec({ "Image", "I", "star.png", "1", "16", "16", "S", "3", "box", "1", "0", "1", "0" }),
    };
    const PageReport report = check();
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0].code, "duplicate-anchor");
    EXPECT_EQ(report.problems[0].section, 4);
    EXPECT_NE(report.problems[0].message.find("section 1"), std::string::npos);
    EXPECT_EQ(report.problems[1].code, "missing-anchor"); // anchors match with letter case
    EXPECT_EQ(report.problems[1].section, 5);
}

} // namespace
} // namespace stv
