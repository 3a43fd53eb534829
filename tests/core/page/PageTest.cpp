// The whole page: skeleton, body line, footer, copying, writing, the saved lists.
#include "support/GenerateTestUtil.h"

#include "core/text/TextTools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace stv;
using stv::test::Gen;
using stv::test::Rec;

namespace
{

const std::string Footer
    = "<P Align=Center>\r\n<FONT SIZE=4 color=\"#000000\"><B>Site Last Updated Monday, 07 "
      "December, 2026.  14:05:09</B></FONT>\r\n<P Align=Center>\r\n<Font Color=\"#000000\"><SMALL>"
      "<SMALL>Created with <A HREF=\"https://sitorva.org/\">Sitorva 98</A></SMALL></SMALL></Font>"
      "\r\n</BODY></HTML>\r\n";

GenerationTime exampleTime()
{
    return { 2026, 12, 7, 14, 5, 9, 1 };
}

class FailingSink : public ByteSink
{
public:
    bool write(std::string_view) override { return false; }
    std::string error() const override { return "disk full"; }
};

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        char pattern[] = "/tmp/stvgenXXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string file(const std::string &name) const { return (path / name).string(); }
};

void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(Page, EmptyProjectSkeletonAndFooter)
{
    Gen g;
    g.request.when = exampleTime();
    Project p;
    p.pageTitle = "A <b>&</b> title";
    StringSink sink;
    const PageResult r = writePage(p, g.lists, {}, g.request, g.copier, sink);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(sink.data(),
        "<HTML>\r\n<HEAD>\r\n<!-- Created with Sitorva 98 -->\r\n"
        "<TITLE>A <b>&</b> title</TITLE>\r\n</HEAD>\r\n<BODY BGCOLOR=#FFFFFF>\r\n"
            + Footer);
}

TEST(Page, HeadCodeBackgroundAndFooterOptions)
{
    Gen g;
    Project p;
    p.headCode = "<META a>\r\n<META b>";
    p.backgroundColour = 0xFF8000;
    PageOptions off;
    off.siteLastUpdated = false;
    off.updateBlack = false;
    const std::string page = g.make().buildPage(p, off);
    EXPECT_NE(page.find("-->\r\n<META a>\r\n<META b>\r\n<TITLE>"), std::string::npos);
    EXPECT_NE(page.find("<BODY BGCOLOR=#0080FF>\r\n<P Align=Center>\r\n<Font Color=\"#ffffff\">"
                        "<SMALL><SMALL>Created with"),
        std::string::npos);
    EXPECT_EQ(page.find("Site Last Updated"), std::string::npos);

    p.backgroundImage = "C:\\Web\\tile.gif";
    EXPECT_NE(g.make().buildPage(p, off).find("<BODY BACKGROUND=\"C:\\Web\\tile.gif\">"),
        std::string::npos);
    EXPECT_TRUE(g.copier.calls.empty()); // preview copies nothing

    Gen create(true);
    EXPECT_NE(
        create.make().buildPage(p, off).find("<BODY BACKGROUND=\"tile.gif\">"), std::string::npos);
    ASSERT_EQ(create.copier.calls.size(), 1u);
    EXPECT_EQ(create.copier.calls[0].second, "/out/tile.gif");
}

TEST(Page, DateFormatUsesGivenNames)
{
    DateNames names;
    names.days[0] = "lundi";
    names.months[11] = "d\xE9"
                       "cembre";
    EXPECT_EQ(formatLastUpdated(exampleTime(), names),
        "lundi, 07 d\xE9"
        "cembre, 2026.  14:05:09");
    EXPECT_EQ(formatLastUpdated({ 987, 1, 2, 3, 4, 5, 7 }, DateNames {}),
        "Sunday, 02 January, 0987.  03:04:05");
}

TEST(Page, SourceDateEpochIsUsed)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ::setenv("SOURCE_DATE_EPOCH", "1796652309", 1);
    const GenerationTime t = generationTimeNow();
    EXPECT_EQ(formatLastUpdated(t, {}), "Monday, 07 December, 2026.  14:05:09");
    ::setenv("SOURCE_DATE_EPOCH", "12abc", 1);
    EXPECT_NE(formatLastUpdated(generationTimeNow(), {}), "Monday, 07 December, 2026.  14:05:09");
    ::unsetenv("SOURCE_DATE_EPOCH");
}

TEST(Page, CopyFailuresAreCollectedAndRepeatsCopiedOnce)
{
    Gen g(true);
    Project p;
    const std::string img
        = Rec({ "Image", "u", "/a/x.png", "", "", "", "", "0", "", "0", "", "1", "1" });
    p.sections
        = { img, img, Rec({ "Image", "u", "/b/x.png", "", "", "", "", "0", "", "0", "", "1", "1" }),
              Rec({ "Image", "u", "/missing/y.png", "", "", "", "", "0", "", "0", "", "1", "1" }),
              Rec({ "Image", "u", "rel/z.png", "", "", "", "", "0", "", "0", "", "1", "1" }),
              Rec({ "Image", "u", "", "", "", "", "", "0", "", "0", "", "1", "1" }) };
    StringSink sink;
    const PageResult r = writePage(p, g.lists, {}, g.request, g.copier, sink);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(g.copier.calls.size(), 3u); // /a/x.png once, /missing/y.png, /proj/rel/z.png
    EXPECT_EQ(g.copier.calls[2].first, "/proj/rel/z.png");
    ASSERT_EQ(r.value().copyFailures.size(), 2u);
    EXPECT_NE(r.value().copyFailures[0].find("/b/x.png"), std::string::npos);
    EXPECT_NE(r.value().copyFailures[1].find("/missing/y.png"), std::string::npos);
    EXPECT_NE(sink.data().find("<IMG SRC=\"\" >"), std::string::npos); // no file: no copy
}

TEST(Page, SinkFailureAndFileWriting)
{
    Gen g;
    FailingSink failing;
    const PageResult r = writePage(Project {}, g.lists, {}, g.request, g.copier, failing);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error(), "disk full");

    TempDir dir;
    g.request.pageFile = dir.file("no/such/folder/page.html");
    const PageResult missing = writePageFile(Project {}, g.lists, {}, g.request, g.copier);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(),
        "Cannot create file " + g.request.pageFile + ": No such file or directory");

    g.request.pageFile = dir.file("page.html");
    writeFile(g.request.pageFile, "old");
    ASSERT_TRUE(writePageFile(Project {}, g.lists, {}, g.request, g.copier).ok());
    std::string bytes;
    bytes = readWholeFile(g.request.pageFile).valueOr({});
    EXPECT_EQ(bytes.substr(0, 8), "<HTML>\r\n");
}

TEST(Page, WrittenInBlocksAndFromAProjectFileAlike)
{
    class BlockSink : public ByteSink
    {
    public:
        bool write(std::string_view bytes) override
        {
            data.append(bytes);
            sizes.push_back(bytes.size());
            return sizes.size() < refuseAt;
        }
        std::string error() const override { return "disk full"; }
        std::string data;
        std::vector<std::size_t> sizes;
        std::size_t refuseAt = 1000;
    };

    Gen g(true);
    g.lists.colours = { "255" };
    Project p;
    p.backgroundImage = "bg.png";
    for (int i = 0; i < 4000; ++i)
        p.sections.push_back(
            Rec({ "Paragraph", "u", "{c0}" + std::to_string(i) + "{c/}" + std::string(100, 'x'),
                "2", "0", "0", "0", "0", "0", "", "0", "" }));
    p.sections.push_back(
        Rec({ "Image", "u", "/a/x.png", "", "", "", "", "0", "", "0", "", "1", "1" }));
    const std::string whole = g.make().buildPage(p, {});

    BlockSink sink;
    ASSERT_TRUE(writePage(p, g.lists, {}, g.request, g.copier, sink).ok());
    EXPECT_EQ(sink.data, whole);
    ASSERT_GT(sink.sizes.size(), 1u);
    for (std::size_t i = 0; i + 1 < sink.sizes.size(); ++i)
        EXPECT_GE(sink.sizes[i], PageGenerator::PageBlockSize);

    BlockSink refusing;
    refusing.refuseAt = 1;
    const PageResult refused = writePage(p, g.lists, {}, g.request, g.copier, refusing);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), "disk full");

    // From the project's bytes in memory, and from its file, which is read a block at a time
    // (the records span several blocks).
    TempDir dir;
    g.request.pageFile = dir.file("page.html");
    writeFile(dir.file("p.stv"), serializeProject(p));
    for (const bool fromDisk : { false, true }) {
        ProjectFile file;
        ASSERT_TRUE(fromDisk ? file.read(dir.file("p.stv")).ok()
                             : file.parse(serializeProject(p), "p.stv").ok());
        ASSERT_TRUE(writePageFile(file, g.lists, {}, g.request, g.copier).ok());
        std::string bytes;
        bytes = readWholeFile(g.request.pageFile).valueOr({});
        EXPECT_EQ(bytes, whole) << fromDisk;
    }
}

TEST(DiskCopy, CopiesReplacesAndSkipsItself)
{
    TempDir dir;
    writeFile(dir.file("a.png"), "AAA");
    writeFile(dir.file("b.png"), "old");
    DiskCopier copier;
    EXPECT_EQ(copier.copy(dir.file("a.png"), dir.file("b.png")).value(), CopyDone::Copied);
    EXPECT_EQ(copier.copy(dir.file("a.png"), dir.file("./a.png")).value(), CopyDone::Skipped);
    const CopyResult missing = copier.copy(dir.file("none.png"), dir.file("c.png"));
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(missing.error().empty());
    std::string a, b;
    a = readWholeFile(dir.file("a.png")).valueOr({});
    b = readWholeFile(dir.file("b.png")).valueOr({});
    EXPECT_EQ(a, "AAA");
    EXPECT_EQ(b, "AAA");
    EXPECT_FALSE(fileExists(dir.file("c.png")));
}

TEST(PageName, Proposal)
{
    EXPECT_EQ(proposedPageName("C:\\Web\\Home.STV", ""), "C:\\Web\\Home.html");
    EXPECT_EQ(proposedPageName("", ""), "index.html");
    EXPECT_EQ(proposedPageName("/w/a.stv.stv", ""), "/w/a.html.html");
    EXPECT_EQ(proposedPageName("/w/a.stv", "/x/b.html"), "/x/b.html");
    // Only the file's own name changes, and a name without ".stv" never proposes itself.
    EXPECT_EQ(proposedPageName("/w/old.stv/a.stv", ""), "/w/old.stv/a.html");
    EXPECT_EQ(proposedPageName("/w/site.txt", ""), "/w/site.txt.html");
}

// The preview's marks: one comment before each section, in order, and nothing else changed;
// a written page never has them.
TEST(Page, SectionMarksOnlyWhenAsked)
{
    Project project;
    project.pageTitle = "T";
    project.sections = { Rec({ "Heading", "", "Hello", "3", "0", "0", "0", "0", "0", "0" }),
        Rec({ "Paragraph", "", "Text", "2", "0", "0", "0", "0", "0", "0", "0", "" }),
        Rec({ "Divider", "" }) };
    for (const PageStyle style : { PageStyle::Classic, PageStyle::Modern }) {
        PageOptions options;
        options.style = style;
        const auto page = [&](bool marks) {
            stv::test::Gen g;
            g.request.sectionMarks = marks;
            StringSink sink;
            EXPECT_TRUE(writePage(project, g.lists, options, g.request, g.copier, sink).ok());
            return sink.take();
        };
        const std::string plain = page(false);
        std::string marked = page(true);
        EXPECT_EQ(plain.find(SectionMarkStart), std::string::npos);
        std::size_t previous = 0;
        for (int n = 0; n < 3; ++n) {
            const std::string mark = "<!--stv-section " + std::to_string(n) + "-->";
            const std::size_t at = marked.find(mark);
            ASSERT_NE(at, std::string::npos) << mark;
            EXPECT_GT(at, previous);
            previous = at;
        }
        for (int n = 0; n < 3; ++n) {
            const std::string mark = "<!--stv-section " + std::to_string(n) + "-->";
            marked.erase(marked.find(mark), mark.size());
        }
        EXPECT_EQ(marked, plain);
    }
}
