// The client over FTPS (vsftpd, TLS required, a test authority) and SFTP (sshd, key log-in,
// known_hosts in a temporary HOME).
#include "support/FtpEntryNames.h"
#include "support/ScriptServer.h"

#include "core/files/FileIO.h"
#include "core/upload/FtpClient.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

namespace
{

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(Ftps, TrustsTheSystemStoreAndTheExtraAuthorityAndSendsEverythingEncrypted)
{
    if (!CanRunVsftpd())
        GTEST_SKIP() << VsftpdNeedsRoot;
    FtpsTestServer server;
    ASSERT_EQ(server.startError(), "");
    const std::string local = (fs::temp_directory_path() / "stv-ftps-a.txt").string();
    WriteFileBytes(local, "hello over TLS");

    FtpClient client;
    {
        // Without the test authority the server's certificate is refused before log-in.
        ScopedEnv none("SSL_CERT_FILE", "");
        const FtpOutcome refused
            = client.login(server.host(), FtpsTestServer::User, FtpsTestServer::Password);
        EXPECT_EQ(refused.problem, FtpProblem::Security);
        EXPECT_EQ(refused.error,
            "the certificate of 127.0.0.1 is not signed by an authority this computer trusts");
        for (const std::string &command : server.commands())
            EXPECT_TRUE(command.rfind("USER", 0) != 0 && command.rfind("PASS", 0) != 0) << command;
    }
    ScopedEnv trusted("SSL_CERT_FILE", server.ca());
    ASSERT_TRUE(client.login(server.host(), FtpsTestServer::User, FtpsTestServer::Password).ok);
    ASSERT_TRUE(client.changeDirectory("upload").ok);
    ASSERT_TRUE(client.upload(local, "a.txt").ok);
    ASSERT_TRUE(client.rename("a.txt", "b.txt").ok);
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries), std::vector<std::string> { "b.txt" });
    StringSink back;
    ASSERT_TRUE(client.download("b.txt", back).ok);
    EXPECT_EQ(back.data(), "hello over TLS");
    fs::remove(local);

    // The log-in went through AUTH TLS, and data connections were protected.
    const std::vector<std::string> commands = server.commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "AUTH TLS");
    EXPECT_NE(std::find(commands.begin(), commands.end(), "PROT P"), commands.end());
}

TEST(Ftps, ExpiredAndForeignCertificatesAreRefusedWithTheReason)
{
    if (!CanRunVsftpd())
        GTEST_SKIP() << VsftpdNeedsRoot;
    for (const auto &[cert, reason] :
        { std::pair<std::string, std::string> { "expired", "has expired" },
            { "wrong-host", "was made for another host name" } }) {
        FtpsTestServer server(cert);
        ASSERT_EQ(server.startError(), "");
        ScopedEnv trusted("SSL_CERT_FILE", server.ca());
        FtpClient client;
        const FtpOutcome outcome
            = client.login(server.host(), FtpsTestServer::User, FtpsTestServer::Password);
        EXPECT_EQ(outcome.problem, FtpProblem::Security) << cert;
        EXPECT_EQ(outcome.error, "the certificate of 127.0.0.1 " + reason);
    }
}

TEST(Ftps, APlainServerIsNeverUsedWithoutEncryption)
{
    // pyftpdlib speaks no TLS: nothing, not even the user name, may be sent in clear text.
    HostileFtpServer plain({});
    ASSERT_EQ(plain.startError(), "");
    FtpClient client;
    const FtpOutcome outcome = client.login("ftps://" + plain.host(), "me", "secret");
    EXPECT_EQ(outcome.problem, FtpProblem::Security);
    EXPECT_TRUE(Contains(outcome.error, "does not offer encryption")) << outcome.error;
}

TEST(Sftp, LogsInWithTheKeyOfHomeAndListsSendsRenamesAndDeletes)
{
    SftpTestServer server;
    ASSERT_EQ(server.startError(), "");
    ScopedEnv home("HOME", server.home());
    fs::create_directories(server.folder() + "/site dir");
    WriteFileBytes(server.folder() + "/site dir/old.html", "old");
    const std::string local = server.home() + "/new.html";
    WriteFileBytes(local, "new page");

    FtpClient client;
    ASSERT_TRUE(client.login(server.host(), server.user(), "").ok);
    EXPECT_FALSE(client.changeDirectory("no such folder").ok);
    ASSERT_TRUE(client.changeDirectory("site dir").ok);
    ASSERT_TRUE(client.upload(local, "tmp name.html").ok);
    // A rename replaces the old file, which SFTP itself would refuse.
    ASSERT_TRUE(client.rename("tmp name.html", "old.html").ok);
    ASSERT_TRUE(client.remove("missing.html").ok);
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries), std::vector<std::string> { "old.html" });
    EXPECT_EQ(ReadFileBytes(server.folder() + "/site dir/old.html"), "new page");

    // An absolute folder works too.
    ASSERT_TRUE(client.changeDirectory(server.folder() + "/site dir").ok);
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries), std::vector<std::string> { "old.html" });
}

TEST(Sftp, AnUnknownHostKeyIsOfferedWithItsFingerprintAndTrustedOnlyWhenAsked)
{
    SftpTestServer server({ "--known-hosts", "none" });
    ASSERT_EQ(server.startError(), "");
    ScopedEnv home("HOME", server.home());
    const std::string knownHosts = server.home() + "/.ssh/known_hosts";

    FtpClient client;
    FtpOutcome outcome = client.login(server.host(), server.user(), "");
    EXPECT_EQ(outcome.problem, FtpProblem::UnknownHostKey);
    ASSERT_TRUE(client.offeredHostKey());
    EXPECT_EQ(client.offeredHostKey()->fingerprint, server.fingerprint());
    EXPECT_EQ(
        outcome.error, "the SSH host key of 127.0.0.1 is not known (" + server.fingerprint() + ")");

    // Trusted once: this client logs in, nothing is written.
    ASSERT_TRUE(client.trustOfferedHostKey(false).ok);
    ASSERT_TRUE(client.login(server.host(), server.user(), "").ok);
    EXPECT_FALSE(fs::exists(knownHosts));
    FtpClient another;
    EXPECT_EQ(another.login(server.host(), server.user(), "").problem, FtpProblem::UnknownHostKey);

    // Trusted and remembered: the line is added, and the next client needs no question.
    WriteFileBytes(knownHosts, "# my hosts");
    ASSERT_TRUE(another.trustOfferedHostKey(true).ok);
    const std::string line = knownHostsLine(another.address(), *another.offeredHostKey());
    EXPECT_EQ(ReadFileBytes(knownHosts), "# my hosts\n" + line + "\n");
    EXPECT_EQ(line.rfind("[127.0.0.1]:" + std::to_string(server.port()) + " ssh-ed25519 ", 0), 0u);
    FtpClient third;
    EXPECT_TRUE(third.login(server.host(), server.user(), "").ok);
}

TEST(Sftp, AChangedHostKeyIsRefusedWithAWarning)
{
    SftpTestServer server({ "--known-hosts", "wrong" });
    ASSERT_EQ(server.startError(), "");
    ScopedEnv home("HOME", server.home());
    FtpClient client;
    const FtpOutcome outcome = client.login(server.host(), server.user(), "");
    EXPECT_EQ(outcome.problem, FtpProblem::ChangedHostKey);
    EXPECT_EQ(outcome.error.rfind(
                  "WARNING: the SSH host key of 127.0.0.1 has changed (" + server.fingerprint(), 0),
        0u)
        << outcome.error;
    std::vector<FtpEntry> entries;
    EXPECT_FALSE(client.list(entries).ok) << "never connected";
}
