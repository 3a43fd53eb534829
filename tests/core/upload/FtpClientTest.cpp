#include "support/FtpEntryNames.h"
#include "support/FtpTestServer.h"
#include "support/HostileFiles.h"

#include "core/files/FileIO.h"
#include "core/upload/FtpClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

using namespace stv;
using stv::test::FtpTestServer;
using stv::test::Names;
using stv::test::ServerOptions;

namespace
{

const FtpEntry *Find(const std::vector<FtpEntry> &entries, const std::string &name)
{
    for (const FtpEntry &e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

long Count(const std::vector<std::string> &commands, const std::string &prefix)
{
    return std::count_if(commands.begin(), commands.end(),
        [&](const std::string &c) { return c.rfind(prefix, 0) == 0; });
}

void ExpectNoPassword(const FtpOutcome &outcome)
{
    EXPECT_EQ(outcome.error.find(FtpTestServer::password), std::string::npos) << outcome.error;
}

FtpLimits Quick()
{
    FtpLimits limits;
    limits.connectSeconds = 2;
    limits.stallSeconds = 2;
    return limits;
}

} // namespace

class FtpClientListing : public ::testing::TestWithParam<bool>
{
};

TEST_P(FtpClientListing, ListsNamesSizesAndFoldersOverOneConnection)
{
    const bool mlsd = GetParam();
    ServerOptions options;
    options.noMlsd = !mlsd;
    FtpTestServer server(options);
    ASSERT_EQ(server.startError(), "");
    server.writeFile("index.html", std::string(1234, 'x'));
    server.writeFile("empty.txt", "");
    server.writeFile("my page.html", "<p>");
    server.makeFolder("pictures");
    server.makeFolder("empty");
    server.setTime("index.html", 2001, 2, 3, 4, 5, 6);

    FtpClient client;
    ASSERT_TRUE(client.login(server.host(), FtpTestServer::User, FtpTestServer::password).ok);
    EXPECT_EQ(client.usesMlsd(), mlsd);
    ASSERT_TRUE(client.changeDirectory("").ok);
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries),
        (std::vector<std::string> {
            "empty", "empty.txt", "index.html", "my page.html", "pictures" }));
    EXPECT_EQ(makeListingRow(*Find(entries, "index.html")).size, "1234");
    EXPECT_EQ(makeListingRow(*Find(entries, "empty.txt")).size, "");
    EXPECT_EQ(makeListingRow(*Find(entries, "pictures")).size, "");
    EXPECT_TRUE(Find(entries, "pictures")->isDirectory);
    // LIST shows only the date for a file older than half a year.
    const CivilTime expected
        = mlsd ? CivilTime { 2001, 2, 3, 4, 5, 6 } : CivilTime { 2001, 2, 3, 0, 0, 0 };
    EXPECT_EQ(Find(entries, "index.html")->modified, expected);

    ASSERT_TRUE(client.changeDirectory("empty").ok);
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_TRUE(entries.empty());

    const auto commands = server.commands();
    EXPECT_EQ(Count(commands, "CONNECT"), 1);
    EXPECT_EQ(Count(commands, mlsd ? "MLSD" : "LIST"), 2);
    EXPECT_EQ(Count(commands, "CWD empty"), 1);
}

INSTANTIATE_TEST_SUITE_P(MlsdAndList, FtpClientListing, ::testing::Bool());

TEST(FtpClient, RefusedLoginsAndUnreachableServersFailWithoutThePassword)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    FtpClient client; // the server delays its answer to a wrong password by 3 seconds
    FtpOutcome wrong = client.login(server.host(), FtpTestServer::User, "wrong");
    EXPECT_FALSE(wrong.ok);
    EXPECT_NE(wrong.error.find("530"), std::string::npos) << wrong.error;

    client.setLimits(Quick());
    FtpOutcome closed = client.login("127.0.0.1:" + std::to_string(test::ClosedPort()),
        FtpTestServer::User, FtpTestServer::password);
    EXPECT_FALSE(closed.ok);
    ExpectNoPassword(closed);
    std::vector<FtpEntry> entries;
    EXPECT_FALSE(client.list(entries).ok) << "no connection after a failed login";

    EXPECT_FALSE(client.login("bad host", "u", "p").ok);
}

TEST(FtpClient, ASilentServerIsAbandonedAtTheTimeLimit)
{
    test::SilentServer silent;
    FtpClient client;
    client.setLimits(Quick());
    const test::HangGuard guard(60);
    FtpOutcome outcome;
    test::printSecondsFor("abandoned",
        [&] { outcome = client.login("127.0.0.1:" + std::to_string(silent.port()), "u", "p"); });
    EXPECT_FALSE(outcome.ok);
}

TEST(FtpClient, DirectoriesGoToTheServerAsTyped)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    server.writeFile("top.txt", "1");
    server.makeFolder("sub dir/deeper");
    server.writeFile("sub dir/deeper/inner.txt", "22");
    FtpClient client;
    ASSERT_TRUE(client.login(server.host(), FtpTestServer::User, FtpTestServer::password).ok);
    EXPECT_FALSE(client.changeDirectory("nosuch").ok);
    std::vector<FtpEntry> entries;
    // Relative and absolute paths with blanks go to the server as typed.
    ASSERT_TRUE(client.changeDirectory("sub dir/deeper").ok);
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries), std::vector<std::string> { "inner.txt" });
    ASSERT_TRUE(client.changeDirectory("/").ok);
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries), (std::vector<std::string> { "sub dir", "top.txt" }));
}

TEST(FtpClient, UploadsIntoTheCurrentDirectoryAndReportsRefusals)
{
    ServerOptions options;
    options.refuse = { "refused.html" };
    FtpTestServer server(options);
    ASSERT_EQ(server.startError(), "");
    server.makeFolder("site");
    const std::string local = server.scratch() + "/page.html";
    std::ofstream(local) << "<html></html>";
    const std::string refusedLocal = server.scratch() + "/refused.html";
    std::ofstream(refusedLocal) << "no";

    FtpClient client;
    EXPECT_FALSE(client.upload(local, "page.html").ok) << "not connected yet";
    ASSERT_TRUE(client.login(server.host(), FtpTestServer::User, FtpTestServer::password).ok);
    ASSERT_TRUE(client.changeDirectory("site").ok);
    ASSERT_TRUE(client.upload(local, "page.html").ok);
    EXPECT_EQ(server.readFile("site/page.html"), "<html></html>");

    const FtpOutcome refused = client.upload(refusedLocal, "refused.html");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("550 Uploads of this file are refused."), std::string::npos)
        << refused.error;
    ExpectNoPassword(refused);

    const FtpOutcome missing = client.upload(server.scratch() + "/gone.html", "gone.html");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("could not be read"), std::string::npos);
    EXPECT_FALSE(client.upload(server.scratch(), "local").ok) << "a folder is not sent";

    // The connection still works after the refusals.
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(client.list(entries).ok);
    EXPECT_EQ(Names(entries), std::vector<std::string> { "page.html" });
    EXPECT_EQ(Count(server.commands(), "CONNECT"), 1);
}

namespace
{
class FailingSink : public ByteSink
{
public:
    bool write(std::string_view) override { return false; }
    std::string error() const override { return "disk full"; }
};
} // namespace

TEST(FtpClient, DownloadsIntoASinkAndReportsFailures)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    server.writeFile("data.bin", std::string("a\0b\r\nc", 6));
    FtpClient client;
    ASSERT_TRUE(client.login(server.host(), FtpTestServer::User, FtpTestServer::password).ok);
    StringSink sink;
    ASSERT_TRUE(client.download("data.bin", sink).ok);
    EXPECT_EQ(sink.data(), std::string("a\0b\r\nc", 6));

    FailingSink failing;
    const FtpOutcome full = client.download("data.bin", failing);
    EXPECT_FALSE(full.ok);
    EXPECT_NE(full.error.find("disk full"), std::string::npos) << full.error;
    StringSink none;
    EXPECT_FALSE(client.download("missing.bin", none).ok);
}

TEST(FtpClient, ALibraryThatCannotStartIsReported)
{
    FtpClient::simulateStartFailure(true);
    FtpClient client;
    FtpClient::simulateStartFailure(false);
    EXPECT_FALSE(client.startError().empty());
    const FtpOutcome outcome = client.login("127.0.0.1:21", "u", "p");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, client.startError());
}

// A server or link that goes down in the middle of an upload: the upload is reported as
// failed, whatever way the connection ends, and never as sent. The small file fits in the
// socket buffers, so only the server's answer (or its silence) can tell.
TEST(FtpClient, UploadBrokenOffHalfWayIsAFailure)
{
    struct Case {
        bool dropControl;
        std::size_t fileSize;
        long dropAfter;
    };
    for (const Case c : { Case { false, 4 << 20, 64 << 10 }, Case { true, 4 << 20, 64 << 10 },
             Case { false, 2000, 1 }, Case { true, 2000, 1 } }) {
        SCOPED_TRACE(testing::Message()
            << "drop control " << c.dropControl << ", " << c.fileSize << " bytes");
        ServerOptions options;
        options.dropUploadAfter = c.dropAfter;
        options.dropControl = c.dropControl;
        FtpTestServer server(options);
        ASSERT_EQ(server.startError(), "");
        const std::string local = server.scratch() + "/big.bin";
        const std::string bytes(c.fileSize, 'x');
        std::ofstream(local, std::ios::binary) << bytes;

        FtpClient client;
        client.setLimits({ 10, 10 });
        ASSERT_TRUE(client.login(server.host(), FtpTestServer::User, FtpTestServer::password).ok);
        const test::HangGuard guard(60);
        FtpOutcome sent;
        test::printSecondsFor(
            "the dropped upload ended", [&] { sent = client.upload(local, "big.bin"); });
        EXPECT_FALSE(sent.ok);
        EXPECT_FALSE(sent.error.empty());
        ExpectNoPassword(sent);
        if (c.fileSize > 1 << 20) {
            EXPECT_LT(server.readFile("big.bin").size(), bytes.size());
        }
        EXPECT_EQ(Count(server.commands(), "DROPPED"), 1);
    }
}
