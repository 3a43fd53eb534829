// `sitorva --publish`: the sample project published to a real FTP server and an SFTP server
// whose host key is unknown.
#include "support/CliTestUtil.h"
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"

#include "core/project/Project.h"

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

namespace
{

struct Publish : CliFixture {
    fs::path project;

    void SetUp() override
    {
        CliFixture::SetUp();
        fs::copy(SAMPLE_DIR, root / "proj");
        for (const char *list : { "Sitorva.config", "StvColList", "StvLinkList", "StvImageList" })
            fs::copy_file(root / "proj" / list, prog / list);
        project = root / "proj" / "sample.stv";
        ::unsetenv("SITORVA_PASSWORD");
    }
    void setServer(const std::string &host, const std::string &user, const std::string &password,
        const std::string &dir)
    {
        Project p;
        ASSERT_TRUE(loadProjectFile(project.string(), p).ok());
        p.ftpHost = host;
        p.ftpUserId = user;
        p.ftpPassword = password;
        p.ftpInitDir = dir;
        ASSERT_TRUE(saveProjectFile(project.string(), p).ok());
    }
};

} // namespace

TEST_F(Publish, SendsThePageAsGenerateWritesItThenOnlyWhatChanged)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    server.makeFolder("site");
    setServer(server.host(), FtpTestServer::User, "not the password", "site");

    // The project's password is wrong; the environment's is used.
    ScopedEnv password("SITORVA_PASSWORD", FtpTestServer::password);
    CliOutcome r = run({ "--publish", project.string() });
    EXPECT_FALSE(r.startWindow);
    EXPECT_EQ(r.exitCode, 0) << err.str();
    EXPECT_EQ(out.str(), "published: 6 uploaded, 0 unchanged, 0 failed\n");
    EXPECT_NE(err.str().find("sending sample.html (6 of 6)"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("plain FTP: the password travels unencrypted"), std::string::npos);

    // Byte for byte what --generate writes.
    ASSERT_EQ(
        run({ "--generate", project.string(), "--output", (root / "out/sample.html").string() })
            .exitCode,
        0);
    for (const char *name : { "sample.html", "background.png", "sitorva-logo.png", "hills.png",
             "star.png", "chime.wav" })
        EXPECT_EQ(server.readFile(std::string("site/") + name), ReadAll(root / "out" / name))
            << name;

    r = run({ "--publish", project.string() });
    EXPECT_EQ(out.str(), "published: 0 uploaded, 6 unchanged, 0 failed\n");

    // A dry run names what would go and sends nothing.
    WriteAll(root / "proj" / "hills.png", "new hills");
    server.clearCommands();
    r = run({ "--publish", project.string(), "--dry-run" });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(out.str(), "would upload: hills.png\ndry run: 1 to upload, 5 unchanged, 0 failed\n");
    for (const std::string &command : server.commands())
        EXPECT_NE(command.rfind("STOR", 0), 0u) << command;
}

TEST_F(Publish, FailuresEndWithAnErrorStatus)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    setServer(server.host(), FtpTestServer::User, "not the password", "");
    CliOutcome r = run({ "--publish", project.string() });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("the server refused the user name or password"), std::string::npos)
        << err.str();

    ServerOptions options;
    options.refuse = { "chime.wav" };
    FtpTestServer refusing(options);
    ASSERT_EQ(refusing.startError(), "");
    setServer(refusing.host(), FtpTestServer::User, FtpTestServer::password, "");
    r = run({ "--publish", project.string() });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(out.str(), "published: 4 uploaded, 0 unchanged, 2 failed\n");
    EXPECT_NE(err.str().find("failed: chime.wav: the server refused it"), std::string::npos);

    EXPECT_EQ(run({ "--dry-run" }).exitCode, 2);
    EXPECT_EQ(run({ "--publish", project.string(), "--preview" }).exitCode, 2);
}

TEST_F(Publish, AnUnknownSshHostKeyIsRefusedWithItsFingerprint)
{
    SftpTestServer server({ "--known-hosts", "none" });
    ASSERT_EQ(server.startError(), "");
    ScopedEnv home("HOME", server.home());
    setServer(server.host(), server.user(), "", "");
    const CliOutcome r = run({ "--publish", project.string() });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(out.str(), "");
    const std::string message = err.str();
    EXPECT_NE(message.find(server.fingerprint()), std::string::npos) << message;
    EXPECT_NE(message.find("~/.ssh/known_hosts"), std::string::npos) << message;
    EXPECT_NE(message.find("[127.0.0.1]:" + std::to_string(server.port()) + " ssh-ed25519 "),
        std::string::npos)
        << message;
    EXPECT_FALSE(fs::exists(server.home() + "/.ssh/known_hosts"));
    EXPECT_FALSE(fs::exists(server.folder() + "/sample.html"));
}
