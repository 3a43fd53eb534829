// `sitorva --check PROJECT.stv [--online]`: the lines, the exit status, the usage errors, and
// the problems --publish says before it publishes.
#include "support/CliTestUtil.h"
#include "support/FtpTestServer.h"
#include "support/GenerateTestUtil.h"
#include "support/ScriptServer.h"

#include "core/project/Project.h"

using namespace stv;
using namespace stv::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{

struct Check : CliFixture {
    fs::path project;

    void SetUp() override
    {
        CliFixture::SetUp();
        project = copySample(SAMPLE_DIR);
    }
    // The sample with its last section replaced; with `alone`, the only section.
    void plant(const std::string &record, const std::string &title = "Sitorva sample page",
        bool alone = false)
    {
        Project p;
        ASSERT_TRUE(loadProjectFile(project.string(), p).ok());
        if (alone)
            p.sections = { "" };
        p.sections.back() = record;
        p.pageTitle = title;
        ASSERT_TRUE(saveProjectFile(project.string(), p).ok());
    }
};

} // namespace

TEST_F(Check, TheSampleHasNothingWrongAndFaultsGiveOneLineEach)
{
    CliOutcome r = run({ "--check", project.string() });
    EXPECT_FALSE(r.startWindow);
    EXPECT_EQ(r.exitCode, 0) << out.str() << err.str();
    EXPECT_EQ(out.str(), "");

    plant(Rec({ "Paragraph", "P", "Words {c7}in a colour{c/}", "2", "0", "0", "0", "0", "0", "",
              "0", "#Nowhere" }),
        "");
    r = run({ "--check", project.string() });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(out.str(),
        "page: empty-title: the page has no title: browsers and search results show its file "
        "name instead\n"
        "section 16: unknown-mark: the mark \"{c7}\" has no entry in the Colour List (4 "
        "entries): it prints as typed\n"
        "section 16: missing-anchor: the link to \"#Nowhere\" goes nowhere: no anchor of the "
        "page is named \"Nowhere\"\n");
}

TEST_F(Check, WrongUsageExitsWithTwo)
{
    EXPECT_EQ(run({ "--check" }).exitCode, 2);
    EXPECT_EQ(run({ "--check", project.string(), "--output", "x.html" }).exitCode, 2);
    EXPECT_EQ(run({ "--check", project.string(), "--dry-run" }).exitCode, 2);
    EXPECT_EQ(run({ "--online" }).exitCode, 2);
    EXPECT_EQ(run({ "--generate", project.string(), "--online" }).exitCode, 2);
    EXPECT_NE(err.str().find("--online goes with --check"), std::string::npos);
    const CliOutcome missing = run({ "--check", (root / "none.stv").string() });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(err.str().find("none.stv"), std::string::npos);
}

TEST_F(Check, OnlineAsksTheSitesTheLinksGoTo)
{
    const std::string log = (root / "links.log").string();
    LinkTestServer server(log);
    ASSERT_EQ(server.startError(), "");
    plant(Rec({ "List", "L", "Gone", server.url("/missing"), "Fine", server.url("/moved"),
              "Refusing robots", server.url("/busy"), "", "", "", "", "", "", "", "", "0", "2",
              "0" }),
        "Links", true);
    // Without --online nothing is sent.
    EXPECT_EQ(run({ "--check", project.string() }).exitCode, 0);
    EXPECT_TRUE(server.requests().empty());

    linkLimits.perLink = 5s;
    const CliOutcome r = run({ "--check", project.string(), "--online" });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(out.str(),
        "section 1: broken-link: \"" + server.url("/missing")
            + "\": the site answers 404 (not found)\n"
              "section 1: unverified-link: \""
            + server.url("/busy")
            + "\": the site answers 429 (too many requests): it may refuse programs, not "
              "visitors\n");
}

TEST_F(Check, PublishSaysTheProblemsAndPublishesAllTheSame)
{
    ::unsetenv("SITORVA_PASSWORD");
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    server.makeFolder("site");
    plant(Rec({ "Image", "I", "star.png", "1", "16", "16", "", "0", "", "1", "0", "1", "0" }));
    Project p;
    ASSERT_TRUE(loadProjectFile(project.string(), p).ok());
    p.ftpHost = server.host();
    p.ftpUserId = FtpTestServer::User;
    p.ftpPassword = FtpTestServer::password;
    p.ftpInitDir = "site";
    ASSERT_TRUE(saveProjectFile(project.string(), p).ok());

    const CliOutcome r = run({ "--publish", project.string(), "--allow-plain-ftp" });
    EXPECT_EQ(r.exitCode, 0) << err.str();
    EXPECT_NE(err.str().find("section 16: no-alt: the picture has no alternative text"),
        std::string::npos)
        << err.str();
    EXPECT_EQ(out.str(), "published: 6 uploaded, 0 unchanged, 0 failed\n");
}
