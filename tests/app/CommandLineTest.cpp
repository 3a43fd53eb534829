// The command line: options, exit codes, and the page it writes with the files it copies.
#include "support/CliTestUtil.h"

#include "core/project/Records.h"

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
        WriteAll(root / "proj" / "bg.png", "BG");
        WriteAll(root / "proj" / "pic.png", "PIC");
        WriteAll(root / "proj" / "tone.wav", "WAV");
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
    EXPECT_EQ(ReadAll(root / "out" / "deep" / "bg.png"), "BG");
    EXPECT_EQ(ReadAll(root / "out" / "deep" / "pic.png"), "PIC");
    EXPECT_EQ(ReadAll(root / "out" / "deep" / "tone.wav"), "WAV");
    EXPECT_EQ(ReadAll(project), projectBytes); // the project file is not changed
}

TEST_F(Generate, DefaultOutputNames)
{
    EXPECT_EQ(run({ "--generate", project.string() }).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(root / "proj" / "site.html"));

    WriteAll(project, everyKindProject((root / "named.html").string()));
    EXPECT_EQ(run({ "--generate", project.string() }).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(root / "named.html"));
    EXPECT_TRUE(std::filesystem::exists(root / "pic.png"));
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

TEST_F(Generate, NeverReplacesTheProject)
{
    const auto other = root / "proj" / "site.txt";
    WriteAll(other, everyKindProject());
    const std::string before = ReadAll(other);
    const CliOutcome r = run({ "--generate", other.string() }); // no ".stv": the same name
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(err.str().find("project file"), std::string::npos);
    EXPECT_EQ(ReadAll(other), before);
    EXPECT_EQ(run({ "--generate", project.string(), "--output", project.string() }).exitCode, 1);
}

TEST_F(Generate, UnwritablePageAndMissingFiles)
{
    WriteAll(root / "afile", "x");
    CliOutcome r
        = run({ "--generate", project.string(), "--output", (root / "afile" / "p.html").string() });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        err.str(), "sitorva: Cannot create file " + (root / "afile" / "p.html").string() + "\n");

    std::filesystem::remove(root / "proj" / "pic.png");
    std::filesystem::remove(root / "proj" / "tone.wav");
    r = run({ "--generate", project.string(), "--output", (root / "o" / "p.html").string() });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(root / "o" / "p.html"));
    const std::string warnings = err.str();
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 2);
    EXPECT_NE(warnings.find("warning: "), std::string::npos);
    EXPECT_NE(warnings.find("pic.png"), std::string::npos);
    EXPECT_NE(warnings.find("tone.wav"), std::string::npos);
}
