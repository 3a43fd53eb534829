// The command line: options, exit codes, and the page it writes with the files it copies.
#include "support/CliTestUtil.h"
#include "support/HostileFiles.h"
#include "support/MediaBytes.h"

#include "core/project/Records.h"

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace stv;
using namespace stv::test;

namespace
{

std::string everyKindProject(const std::string &pageFileName = "")
{
    const std::vector<std::string> header
        = { "", "", "", "", "", pageFileName, "1", "bg.png", "16777215", "Every kind" };
    const std::vector<std::vector<std::string>> sections = {
        { "Heading", "h", "Hi {c0}there{c/}", "3", "1", "0", "0", "0", "1", "255" },
        { "Paragraph", "p", "A{lf13}{lf10}{l0}B{l/}", "2", "0", "0", "0", "0", "0", "", "0", "" },
        { "Image", "i", "pic.png", "", "", "", "Pic", "0", "", "0", "1", "1", "1" },
        { "Divider", "d", "0", "1", "100", "-1" },
        { "Anchor", "a", "top", "Top", "1" },
        { "List", "l", "X", "", "Y", "#top", "", "", "", "", "", "", "", "", "", "", "1", "2",
            "0" },
        { "Index", "x", "Top{lf13}{lf10}#top", "2", "0", "0", "0", "0", "0", "0" },
        { "HTML", "h", "<HR>{lf13}{lf10}<HR>" },
        { "PlaySound", "s", "tone.wav", "1", "1", "1", "1", "0" },
    };
    std::string text;
    for (const std::string &line : header)
        text += line + "\r\n";
    for (const auto &fields : sections)
        text += joinFields(fields) + "\r\n";
    return text;
}

const std::string EveryKindBody
    = "<H1 ALIGN=Center>\r\n<FONT COLOR=\"#FF0000\"><B><FONT SIZE=\"3\"><BIG>Hi <font "
      "color=\"0000FF\">there</font></BIG></FONT></B></FONT>\r\n</H1>\r\n"
      "<P ALIGN=Left>\r\n<FONT SIZE=\"2\">A<BR><a href=\"https://sitorva.org/\">B</a></FONT>\r\n"
      "<P ALIGN=CENTER>\r\n<IMG SRC=\"pic.png\" ALT=\"Pic\" >\r\n"
      "<P>\r\n<HR >\r\n<P>\r\n"
      "<A NAME=\"top\"><!-- -->Top</A>\r\n"
      "<OL>\r\n<LI> X\r\n<LI> <A HREF=\"#top\">Y</A>\r\n</OL>\r\n"
      "<P ALIGN=Left>\r\n<FONT SIZE=\"2\"><A HREF=\"#top\">Top</A></Font>\r\n"
      "<HR>\r\n<HR>\r\n"
      "<EMBED SRC=\"tone.wav\" AUTOSTART=\"True\" HIDDEN=\"True\">\r\n";

const std::string WhiteFooter
    = "<P Align=Center>\r\n<FONT SIZE=4 color=\"#ffffff\"><B>Site Last Updated Monday, 07 "
      "December, 2026.  14:05:09</B></FONT>\r\n<P Align=Center>\r\n<Font Color=\"#ffffff\"><SMALL>"
      "<SMALL>Created with <A HREF=\"https://sitorva.org/\">Sitorva 98</A></SMALL></SMALL></Font>"
      "\r\n</BODY></HTML>\r\n";

struct Generate : CliFixture {
    std::filesystem::path project;
    void SetUp() override
    {
        CliFixture::SetUp();
        std::filesystem::create_directories(root / "proj");
        project = root / "proj" / "site.stv";
        WriteAll(project, everyKindProject());
        WriteAll(root / "proj" / "bg.png", pngBytes("BG"));
        WriteAll(root / "proj" / "pic.png", pngBytes("PIC"));
        WriteAll(root / "proj" / "tone.wav", wavBytes("WAV"));
        WriteAll(prog / "Sitorva.config", "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n");
        WriteAll(prog / "StvColList", "16711680\r\n");
    }
};

} // namespace

TEST_F(CliFixture, OptionsAndUsage)
{
    CliOutcome r = run({});
    EXPECT_TRUE(r.startWindow);
    EXPECT_TRUE(r.projectToOpen.empty());

    r = run({ "my project.stv" });
    EXPECT_TRUE(r.startWindow);
    EXPECT_EQ(r.projectToOpen, "my project.stv");

    r = run({ "--help" });
    EXPECT_FALSE(r.startWindow);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(out.str().find("--generate PROJECT.stv [--output PAGE.html] [--preview]"),
        std::string::npos);
    // Captions are quoted as the menus show them, without their access-key marks.
    EXPECT_NE(out.str().find("\"Create Web Page\""), std::string::npos);
    EXPECT_EQ(out.str().find('&'), std::string::npos);

    r = run({ "--version" });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(out.str(), std::string("sitorva ") + SITORVA_VERSION + "\n");

    for (const std::vector<std::string> &bad : { std::vector<std::string> { "--generate" },
             { "--generate", "a.stv", "--output" }, { "--frobnicate" }, { "--preview" },
             { "a.stv", "b.stv" }, { "--generate", "a.stv", "extra" } }) {
        r = run(bad);
        EXPECT_FALSE(r.startWindow);
        EXPECT_EQ(r.exitCode, 2) << bad.front();
        EXPECT_NE(err.str().find("Usage: sitorva"), std::string::npos);
    }
}

TEST_F(CliFixture, MissingOrRefusedProject)
{
    CliOutcome r = run({ "--generate", (root / "none.stv").string() });
    EXPECT_EQ(r.exitCode, 1);
    const std::string message = err.str();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
    EXPECT_NE(err.str().find("none.stv"), std::string::npos);

    WriteAll(root / "short.stv", "only\r\nthree\r\nlines\r\n");
    r = run(
        { "--generate", (root / "short.stv").string(), "--output", (root / "p.html").string() });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(root / "p.html"));
}

TEST_F(Generate, WritesPageAndCopiesFiles)
{
    const auto page = root / "out" / "deep" / "index.html";
    const std::string projectBytes = ReadAll(project);
    const CliOutcome r = run({ "--generate", project.string(), "--output", page.string() });
    EXPECT_EQ(r.exitCode, 0) << err.str();
    EXPECT_FALSE(r.startWindow);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(ReadAll(page),
        "<HTML>\r\n<HEAD>\r\n<!-- Created with Sitorva 98 -->\r\n<TITLE>Every "
        "kind</TITLE>\r\n</HEAD>\r\n<BODY BACKGROUND=\"bg.png\">\r\n"
            + EveryKindBody + WhiteFooter);
    EXPECT_EQ(ReadAll(root / "out" / "deep" / "bg.png"), pngBytes("BG"));
    EXPECT_EQ(ReadAll(root / "out" / "deep" / "pic.png"), pngBytes("PIC"));
    EXPECT_EQ(ReadAll(root / "out" / "deep" / "tone.wav"), wavBytes("WAV"));
    EXPECT_EQ(ReadAll(project), projectBytes); // the project file is not changed
}

// The settings file chooses the style; --style overrides it for one run; the modern page's
// files are copied as the classic page's are.
TEST_F(Generate, StyleFromTheSettingsOrTheOption)
{
    const auto page = root / "out" / "index.html";
    const auto generate = [&](std::vector<std::string> extra) {
        std::vector<std::string> args { "--generate", project.string(), "--output", page.string() };
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(run(args).exitCode, 0) << err.str();
        return ReadAll(page);
    };
    EXPECT_EQ(generate({}).rfind("<HTML>\r\n", 0), 0u); // no settings: classic
    ::setenv("LC_ALL", "de_AT.UTF-8", 1);
    const std::string modern = generate({ "--style", "modern" });
    EXPECT_EQ(modern.rfind("<!DOCTYPE html>\n<html lang=\"de-AT\">", 0), 0u);
    EXPECT_NE(modern.find("<span style=\"color:#0000FF\">there</span>"), std::string::npos);
    EXPECT_EQ(ReadAll(root / "out" / "pic.png"), pngBytes("PIC"));

    WriteAll(prog / "Sitorva.settings", "page-style=modern\r\npage-language=cy\r\n");
    EXPECT_EQ(generate({}).rfind("<!DOCTYPE html>\n<html lang=\"cy\">", 0), 0u);
    EXPECT_EQ(generate({ "--style=classic" }).rfind("<HTML>\r\n", 0), 0u);

    for (const std::vector<std::string> &bad : { std::vector<std::string> { "--style", "fancy" },
             { "--style" }, { "--style", "--preview" } }) {
        std::vector<std::string> args { "--generate", project.string() };
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(run(args).exitCode, 2) << bad.back();
        EXPECT_NE(err.str().find("--style needs modern or classic"), std::string::npos);
    }
    EXPECT_EQ(run({ "--style", "modern" }).exitCode, 2);
    EXPECT_EQ(run({ "--publish", project.string(), "--style", "modern" }).exitCode, 2);
}

// Without --output the page goes into the project's folder under the bare name of the stored
// page name, whatever folder that name gives, and the command says where it wrote.
TEST_F(Generate, StoredPageNamesNeverLeaveTheProjectFolder)
{
    std::filesystem::create_directories(root / "outside");
    const struct {
        std::string stored;
        std::string written;
    } cases[] = {
        { "", "site.html" },
        { (root / "outside" / "abs.html").string(), "abs.html" },
        { "../up.html", "up.html" },
        { "C:\\Web\\Home.html", "Home.html" },
        { "pages/rel.html", "rel.html" },
        { "..", "site.html" },
        { (root / "outside").string() + "/", "site.html" },
    };
    const auto here = std::filesystem::current_path();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        WriteAll(project, everyKindProject(c.stored));
        const CliOutcome r = run({ "--generate", project.string() });
        EXPECT_EQ(r.exitCode, 0) << err.str();
        const auto page = root / "proj" / c.written;
        EXPECT_TRUE(std::filesystem::exists(page));
        EXPECT_EQ(out.str(), "The page was written to " + page.string() + "\n");
    }
    EXPECT_TRUE(std::filesystem::is_empty(root / "outside"));
    EXPECT_FALSE(std::filesystem::exists(root / "up.html"));
    EXPECT_FALSE(std::filesystem::exists(here / "C:\\Web\\Home.html"));
    EXPECT_FALSE(std::filesystem::exists(here / "pages"));
}

TEST_F(Generate, PreviewCopiesNothing)
{
    EXPECT_EQ(run({ "--generate", project.string(), "--preview" }).exitCode, 0);
    const std::string page = ReadAll(prog / "test.html");
    EXPECT_NE(page.find("<BODY BACKGROUND=\"bg.png\">"), std::string::npos);
    EXPECT_NE(page.find("<EMBED SRC=\"tone.wav\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(prog / "pic.png"));
    EXPECT_FALSE(std::filesystem::exists(prog / "bg.png"));
}

// The page never replaces its project: a project without ".stv" in its name gets ".html"
// added, and a page named as the project is refused. A picture named like the project is not
// copied over it.
TEST_F(Generate, NeverReplacesTheProject)
{
    const auto other = root / "proj" / "site.txt";
    WriteAll(other, everyKindProject());
    const std::string before = ReadAll(other);
    EXPECT_EQ(run({ "--generate", other.string() }).exitCode, 0) << err.str();
    EXPECT_TRUE(std::filesystem::exists(root / "proj" / "site.txt.html"));
    EXPECT_EQ(ReadAll(other), before);

    EXPECT_EQ(run({ "--generate", project.string(), "--output", project.string() }).exitCode, 1);
    EXPECT_NE(err.str().find("project file"), std::string::npos);
    WriteAll(project, everyKindProject("site.stv"));
    EXPECT_EQ(run({ "--generate", project.string() }).exitCode, 1);

    std::filesystem::create_directories(root / "proj" / "pics");
    WriteAll(root / "proj" / "pics" / "site.stv", "A PICTURE");
    std::string text = everyKindProject();
    text.replace(text.find("pic.png"), 7, "pics/site.stv");
    WriteAll(project, text);
    const std::string projectBytes = ReadAll(project);
    EXPECT_EQ(run({ "--generate", project.string() }).exitCode, 0);
    EXPECT_NE(
        err.str().find("warning: Not copied: " + (root / "proj" / "pics" / "site.stv").string()
            + " (it would replace the project file"),
        std::string::npos)
        << err.str();
    EXPECT_EQ(ReadAll(project), projectBytes);
}

// A page that cannot be written says why, and nothing is copied; copies that fail are named.
TEST_F(Generate, UnwritablePageAndMissingFiles)
{
    const HangGuard guard;
    WriteAll(root / "afile", "x");
    std::filesystem::create_directories(root / "dir");
    ASSERT_TRUE(makeHostile(Hostile::Fifo, (root / "fifo.html").string()));
    ASSERT_TRUE(makeHostile(Hostile::Socket, (root / "socket.html").string()));
    const bool device = makeHostile(Hostile::Device, (root / "null.html").string());
    const struct {
        std::string page;
        std::string reason;
    } cases[] = {
        { (root / "afile" / "p.html").string(), "Not a directory" },
        { (root / "dir").string() + "/", "it names a folder, not a file" },
        { (root / "dir").string(), "it is a folder, not a regular file" },
        { (root / "fifo.html").string(), "it is a FIFO (named pipe), not a regular file" },
        { (root / "socket.html").string(), "it is a socket, not a regular file" },
        { device ? (root / "null.html").string() : "",
            "it is a character device, not a regular file" },
    };
    for (const auto &c : cases) {
        if (c.page.empty())
            continue; // no right to make a device node here
        SCOPED_TRACE(c.page);
        const CliOutcome r = run({ "--generate", project.string(), "--output", c.page });
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(err.str(), "sitorva: Cannot create file " + c.page + ": " + c.reason + "\n");
        EXPECT_FALSE(std::filesystem::exists(root / "pic.png"));
        EXPECT_FALSE(std::filesystem::exists(root / "dir" / "pic.png"));
    }
    EXPECT_EQ(typeAt((root / "fifo.html").string()), unsigned(S_IFIFO));
    EXPECT_EQ(typeAt((root / "socket.html").string()), unsigned(S_IFSOCK));
    if (device) {
        EXPECT_EQ(typeAt((root / "null.html").string()), unsigned(S_IFCHR));
    }

    std::filesystem::remove(root / "proj" / "pic.png");
    std::filesystem::remove(root / "proj" / "tone.wav");
    const CliOutcome r
        = run({ "--generate", project.string(), "--output", (root / "o" / "p.html").string() });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(root / "o" / "p.html"));
    const std::string warnings = err.str();
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 2);
    EXPECT_NE(warnings.find("warning: "), std::string::npos);
    EXPECT_NE(warnings.find("pic.png"), std::string::npos);
    EXPECT_NE(warnings.find("tone.wav"), std::string::npos);
}

// A link named like a picture in the page folder is replaced by the picture; what it led to
// stays as it was.
TEST_F(Generate, ALinkInThePageFolderIsNotFollowed)
{
    std::filesystem::create_directories(root / "out");
    WriteAll(root / "victim", "VICTIM");
    std::filesystem::create_symlink(root / "victim", root / "out" / "pic.png");
    EXPECT_EQ(
        run({ "--generate", project.string(), "--output", (root / "out" / "p.html").string() })
            .exitCode,
        0);
    EXPECT_EQ(ReadAll(root / "victim"), "VICTIM");
    EXPECT_FALSE(std::filesystem::is_symlink(root / "out" / "pic.png"));
    EXPECT_EQ(ReadAll(root / "out" / "pic.png"), pngBytes("PIC"));
}

// A project, a configuration or a list file that is a FIFO, a link to /dev/zero or too large:
// the command returns at once; the project is an error, the others are warnings.
TEST_F(Generate, HostileFilesReturnAtOnce)
{
    const HangGuard guard;
    for (const Hostile kind : { Hostile::Fifo, Hostile::LinkToZero }) {
        SCOPED_TRACE(hostileName(kind));
        const auto bad = root / "bad.stv";
        ASSERT_TRUE(makeHostile(kind, bad.string()));
        CliOutcome r;
        printSecondsFor(hostileName(kind), [&] { r = run({ "--generate", bad.string() }); });
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(err.str().find(bad.string() + ": it is a"), std::string::npos) << err.str();
        std::filesystem::remove(bad);
    }

    std::filesystem::remove(prog / "StvColList");
    ASSERT_TRUE(makeHostile(Hostile::Fifo, (prog / "StvColList").string()));
    ASSERT_TRUE(makeHostile(Hostile::LinkToZero, (prog / "StvLinkList").string()));
    ASSERT_TRUE(makeHostile(Hostile::Oversized, (prog / "StvImageList").string(), 64 << 20));
    CliOutcome r;
    const auto page = root / "o" / "p.html";
    printSecondsFor("a page over hostile list files", [&] {
        r = run({ "--generate", project.string(), "--output", page.string() });
    });
    EXPECT_EQ(r.exitCode, 0);
    for (const char *name : { "StvColList", "StvLinkList", "StvImageList" })
        EXPECT_NE(err.str().find((prog / name).string() + ": it "), std::string::npos) << err.str();
    const std::string warnings = err.str();
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 3);
    EXPECT_NE(ReadAll(page).find("{c0}"), std::string::npos); // the mark stays, as warned

    std::filesystem::remove(prog / "Sitorva.config");
    ASSERT_TRUE(makeHostile(Hostile::Oversized, (prog / "Sitorva.config").string(), 1 << 20));
    EXPECT_EQ(run({ "--generate", project.string(), "--output", page.string() }).exitCode, 0);
    EXPECT_NE(err.str().find((prog / "Sitorva.config").string() + ": it holds"), std::string::npos)
        << err.str();
}

// Names from the command line or a project reach the terminal with their control characters
// escaped, and an option is never taken for a value.
TEST_F(Generate, MessagesEscapeControlCharactersAndOptionsAreNotValues)
{
    const std::string name = (root / "\x1B]0;owned\x07\x1B[2J.stv").string();
    CliOutcome r = run({ "--generate", name });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(err.str().find('\x1B'), std::string::npos);
    EXPECT_EQ(err.str().find('\x07'), std::string::npos);
    EXPECT_NE(err.str().find("\\x1B]0;owned\\x07\\x1B[2J.stv"), std::string::npos) << err.str();

    // A stored name with ESC and a byte that stands for a C1 control.
    std::string text = everyKindProject();
    text.replace(text.find("tone.wav"), 8, "t\x1B[31m\x9D.wav");
    WriteAll(project, text);
    r = run({ "--generate", project.string(), "--output", (root / "o" / "p.html").string() });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(err.str().find('\x1B'), std::string::npos);
    EXPECT_NE(err.str().find("t\\x1B[31m\\xC2\\x9D.wav"), std::string::npos) << err.str();

    const auto here = std::filesystem::current_path();
    for (const std::vector<std::string> &args :
        { std::vector<std::string> { "--generate", project.string(), "--output", "--preview" },
            { "--generate", "--output", "x.html" } }) {
        r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(err.str().find(", not the option --"), std::string::npos) << err.str();
    }
    EXPECT_FALSE(std::filesystem::exists(here / "--preview"));
    EXPECT_FALSE(std::filesystem::exists(here / "x.html"));
}

// A stored page name that is no page's is refused without --output (a project must not make
// the page a shell's start-up file or a server's configuration); --output still chooses.
TEST_F(Generate, StoredNamesThatAreNoPagesAreRefused)
{
    for (const std::string stored : { ".vimrc", ".bashrc.html", "x.php", ".htaccess", "page" }) {
        SCOPED_TRACE(stored);
        WriteAll(project, everyKindProject(stored));
        EXPECT_EQ(run({ "--generate", project.string() }).exitCode, 1);
        EXPECT_EQ(err.str(),
            "sitorva: The page's file name \"" + stored
                + "\" must end in .html or .htm and must not start with \".\"; choose the "
                  "page's name with --output\n");
        EXPECT_FALSE(std::filesystem::exists(root / "proj" / stored));
    }
    const auto chosen = root / "proj" / "notes.txt";
    EXPECT_EQ(run({ "--generate", project.string(), "--output", chosen.string() }).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(chosen));
}

// An unpacked archive's index.html may be a link to another user's file: generating replaces
// the link with the page and leaves that file as it was.
TEST_F(Generate, APageLinkIsReplacedNotFollowed)
{
    std::filesystem::create_directories(root / "victim" / ".ssh");
    const auto keys = root / "victim" / ".ssh" / "authorized_keys";
    WriteAll(keys, "ssh-ed25519 AAAA me");
    std::filesystem::create_symlink("../victim/.ssh/authorized_keys", root / "proj" / "index.html");
    WriteAll(project, everyKindProject("index.html"));
    EXPECT_EQ(run({ "--generate", project.string() }).exitCode, 0) << err.str();
    EXPECT_EQ(ReadAll(keys), "ssh-ed25519 AAAA me");
    EXPECT_FALSE(std::filesystem::is_symlink(root / "proj" / "index.html"));
    EXPECT_EQ(ReadAll(root / "proj" / "index.html").substr(0, 6), "<HTML>");
}

// Memory follows the longest record, not the page: 8 MB of picture marks in one paragraph
// expand to a page some twenty times larger, generated here in a child process whose peak
// resident size its parent reads. The grandchild runs the command so that no other child of
// this test binary counts.
TEST_F(Generate, MemoryStaysNearTheLongestRecord)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "resident memory under AddressSanitizer is its shadow, not the page's";
#endif
    WriteAll(prog / "StvImageList",
        joinFields({ "Image", "m", "mark.png", "", "", "", "Mark", "0", "", "0", "", "1", "1" })
            + "\r\n");
    std::string marks;
    for (int i = 0; i < 2 * 1024 * 1024; ++i)
        marks += "{i0}";
    const std::vector<std::string> header = { "", "", "", "", "", "", "1", "", "0", "Marks" };
    std::string text;
    for (const std::string &line : header)
        text += line + "\r\n";
    text += joinFields({ "Paragraph", "p", marks, "2", "0", "0", "0", "0", "0", "", "0", "" });
    marks = std::string();
    WriteAll(project, text + "\r\n");
    text = std::string();
    const auto page = root / "out.html";

    const HangGuard guard(120);
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const pid_t worker = ::fork();
        if (worker == 0) {
            std::ostringstream quiet;
            const CliOutcome r = runCommandLine(
                { "--generate", project.string(), "--output", page.string() }, quiet, quiet);
            ::_exit(r.exitCode);
        }
        int status = 0;
        ::waitpid(worker, &status, 0);
        rusage usage {};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        const long sizes[2] = { WIFEXITED(status) ? WEXITSTATUS(status) : 99, usage.ru_maxrss };
        (void)!::write(report[1], sizes, sizeof sizes);
        ::_exit(0);
    }
    ::close(report[1]);
    long sizes[2] = { -1, -1 };
    ASSERT_EQ(::read(report[0], sizes, sizeof sizes), static_cast<ssize_t>(sizeof sizes));
    ::close(report[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(sizes[0], 0);
    const auto pageSize = std::filesystem::file_size(page);
    std::printf("8 MB of {i0}: a page of %llu MB in %ld MB resident at most\n",
        static_cast<unsigned long long>(pageSize >> 20), sizes[1] / 1024);
    EXPECT_GT(pageSize, 64u << 20);
    EXPECT_LT(sizes[1], 100 * 1024) << "KB resident at most";
}
