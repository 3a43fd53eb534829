// Writing the page and copying beside it: the page is checked and written before anything is
// copied, every failed copy is reported, and no copy replaces the project, the page, or what
// a link in the page folder leads to.
#include "core/page/PageGenerator.h"

#include "support/GenerateTestUtil.h"
#include "support/HostileFiles.h"

#include <gtest/gtest.h>

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

namespace
{

std::string imageRecord(const std::string &file)
{
    return Rec({ "Image", "u", file, "", "", "", "", "0", "", "0", "", "1", "1" });
}

std::string contentOf(const std::string &path)
{
    std::string bytes;
    bytes = readWholeFile(path).valueOr({});
    return bytes;
}

struct PageFolder : ::testing::Test {
    TempFolder dir;
    Project project;
    FavouriteLists lists;
    PageRequest request;

    void SetUp() override
    {
        fs::create_directories(dir.file("proj/sub"));
        fs::create_directories(dir.file("web"));
        ASSERT_TRUE(writeWholeFile(dir.file("proj/site.stv"), "PROJECT").ok());
        ASSERT_TRUE(writeWholeFile(dir.file("proj/pic.png"), "PIC").ok());
        project.sections = { imageRecord("pic.png"), imageRecord("missing.png") };
        request.importRequested = true;
        request.sourceFolder = dir.file("proj");
        request.projectFile = dir.file("proj/site.stv");
        request.pageFile = dir.file("web/index.html");
    }
    PageResult write(FileCopier &copier)
    {
        return writePageFile(project, lists, {}, request, copier);
    }
};

} // namespace

// A page that cannot be written stops everything before the first copy, with the reason.
TEST_F(PageFolder, NothingIsCopiedWhenThePageCannotBeWritten)
{
    ASSERT_TRUE(writeWholeFile(dir.file("afile"), "x").ok());
    ASSERT_TRUE(makeHostile(Hostile::Fifo, dir.file("web/fifo.html")));
    const struct {
        std::string page;
        std::string reason;
    } cases[] = {
        { dir.file("afile/index.html"), "Not a directory" },
        { dir.file("none/index.html"), "No such file or directory" },
        { dir.file("web/"), "it names a folder, not a file" },
        { dir.file("web"), "it is a folder, not a regular file" },
        { dir.file("web/fifo.html"), "it is a FIFO (named pipe), not a regular file" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        request.pageFile = c.page;
        FakeCopier copier;
        const PageResult r = write(copier);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.error(), "Cannot create file " + c.page + ": " + c.reason);
        EXPECT_TRUE(copier.calls.empty());
    }
    EXPECT_EQ(typeAt(dir.file("web/fifo.html")), unsigned(S_IFIFO));
}

// A page that fails after the copies were made (its place taken meanwhile) still reports
// every copy that failed.
TEST_F(PageFolder, FailedCopiesAreReportedWhenThePageFailsLast)
{
    class TakingCopier : public FakeCopier
    {
    public:
        std::string page;
        CopyResult copy(const std::string &from, const std::string &to) override
        {
            fs::create_directory(page); // the page's place becomes a folder
            return FakeCopier::copy(from, to);
        }
    } copier;
    copier.page = request.pageFile;
    const PageResult r = write(copier);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error().rfind("Cannot create file " + request.pageFile + ": ", 0), 0u) << r.error();
    EXPECT_NE(r.error().find("These files could not be copied either:\n\nCannot open "),
        std::string::npos)
        << r.error();
    EXPECT_NE(r.error().find("missing.png"), std::string::npos);
}

// Pictures named like the project or the page are not copied over them, and a link in the
// page folder is replaced, never written through. A FIFO there is refused.
TEST_F(PageFolder, CopiesNeverReplaceTheProjectThePageOrALinksTarget)
{
    ASSERT_TRUE(writeWholeFile(dir.file("proj/sub/site.stv"), "NOT THE PROJECT").ok());
    ASSERT_TRUE(writeWholeFile(dir.file("proj/sub/index.html"), "NOT THE PAGE").ok());
    ASSERT_TRUE(writeWholeFile(dir.file("victim"), "VICTIM").ok());
    fs::create_symlink(dir.file("victim"), dir.file("proj/linked.png"));
    fs::create_directories(dir.file("elsewhere"));
    ASSERT_TRUE(writeWholeFile(dir.file("elsewhere/linked.png"), "LINKED").ok());
    ASSERT_TRUE(makeHostile(Hostile::Fifo, dir.file("proj/pipe.png")));
    ASSERT_TRUE(writeWholeFile(dir.file("proj/sub/pipe.png"), "P").ok());

    // The page beside the project, as the command line writes it by default.
    request.pageFile = dir.file("proj/index.html");
    project.sections = { imageRecord("sub/site.stv"), imageRecord("sub/index.html"),
        imageRecord(dir.file("elsewhere/linked.png")), imageRecord("sub/pipe.png") };
    DiskCopier copier;
    const PageResult r = write(copier);
    ASSERT_TRUE(r.ok()) << r.error();
    ASSERT_EQ(r.value().copyFailures.size(), 3u);
    EXPECT_NE(
        r.value().copyFailures[0].find("it would replace the project file"), std::string::npos);
    EXPECT_NE(
        r.value().copyFailures[1].find("it would replace the page itself"), std::string::npos);
    EXPECT_NE(r.value().copyFailures[2].find("pipe.png: it is a FIFO"), std::string::npos);
    EXPECT_EQ(contentOf(dir.file("proj/site.stv")), "PROJECT");
    EXPECT_EQ(contentOf(dir.file("proj/index.html")).substr(0, 6), "<HTML>");
    EXPECT_EQ(contentOf(dir.file("victim")), "VICTIM");
    EXPECT_EQ(typeAt(dir.file("proj/linked.png")), unsigned(S_IFREG));
    EXPECT_EQ(contentOf(dir.file("proj/linked.png")), "LINKED");
    EXPECT_EQ(typeAt(dir.file("proj/pipe.png")), unsigned(S_IFIFO));
}

// Only regular files are copied: a FIFO or a link to /dev/zero given as a picture fails at
// once and nothing is made beside the page.
TEST_F(PageFolder, OnlyRegularFilesAreCopied)
{
    const HangGuard guard;
    ASSERT_TRUE(makeHostile(Hostile::Fifo, dir.file("proj/fifo.png")));
    ASSERT_TRUE(makeHostile(Hostile::LinkToZero, dir.file("proj/zero.png")));
    project.sections = { imageRecord("fifo.png"), imageRecord("zero.png") };
    DiskCopier copier;
    PageResult r = fail("not written");
    EXPECT_LT(secondsFor([&] { r = write(copier); }), 1.0);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.value().copyFailures.size(), 2u);
    EXPECT_NE(r.value().copyFailures[0].find("not a regular file"), std::string::npos);
    EXPECT_NE(r.value().copyFailures[1].find("a character device"), std::string::npos);
    EXPECT_EQ(typeAt(dir.file("web/fifo.png")), 0u);
    EXPECT_EQ(typeAt(dir.file("web/zero.png")), 0u);
}
