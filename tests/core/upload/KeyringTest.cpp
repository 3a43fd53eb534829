// FTP passwords in the desktop's keyring, against a real GNOME Keyring on a private session
// bus (run_with_keyring.sh), and the fallback to the project file when no keyring runs.
// KeyringRunning.* expect a running keyring when STV_EXPECT_KEYRING is set (they skip
// otherwise); KeyringAbsent.* run without one.
#include "support/CliTestUtil.h"
#include "support/FtpTestServer.h"

#include "core/project/Project.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"
#include "core/upload/Keyring.h"
#include "core/upload/ProjectPassword.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

namespace
{

unsigned modeOf(const fs::path &path)
{
    struct stat info {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

// Line 3 of a project file: the password.
std::string passwordLine(const fs::path &path)
{
    const std::vector<std::string> lines = splitLines(ReadAll(path));
    return lines.size() > 2 ? lines[2] : "(short file)";
}

Project connection(const std::string &host, const std::string &user, const std::string &password)
{
    Project p;
    p.ftpHost = host;
    p.ftpUserId = user;
    p.ftpPassword = password;
    p.ftpInitDir = "site";
    return p;
}

struct KeyringRunning : CliFixture {
    void SetUp() override
    {
        if (!keyringAvailable()) {
            if (std::getenv("STV_EXPECT_KEYRING") != nullptr)
                FAIL() << "no keyring: " << keyringAvailable().error();
            GTEST_SKIP() << keyringAvailable().error();
        }
        CliFixture::SetUp();
        ::umask(022);
    }
};

} // namespace

TEST_F(KeyringRunning, StoresLooksUpReplacesAndDeletesByProtocolHostAndUser)
{
    const KeyringKey key { "ftps", "round.example", "ann" };
    ASSERT_TRUE(storeKeyringPassword(key, "first pw")) << "store";
    Result<std::string> found = lookupKeyringPassword(key);
    ASSERT_TRUE(found) << found.error();
    EXPECT_EQ(found.value(), "first pw");

    // Each part of the key tells passwords apart.
    EXPECT_EQ(lookupKeyringPassword({ "sftp", "round.example", "ann" }).value(), "");
    EXPECT_EQ(lookupKeyringPassword({ "ftps", "other.example", "ann" }).value(), "");
    EXPECT_EQ(lookupKeyringPassword({ "ftps", "round.example", "bob" }).value(), "");

    // Storing again replaces, never adds a second.
    ASSERT_TRUE(storeKeyringPassword(key,
        "s\xC3\xA9"
        "cond"));
    EXPECT_EQ(lookupKeyringPassword(key).value(),
        "s\xC3\xA9"
        "cond");

    Result<bool> deleted = deleteKeyringPassword(key);
    ASSERT_TRUE(deleted) << deleted.error();
    EXPECT_TRUE(deleted.value());
    EXPECT_EQ(lookupKeyringPassword(key).value(), "");
    EXPECT_FALSE(deleteKeyringPassword(key).value());
}

TEST_F(KeyringRunning, ASavedProjectLeavesItsPasswordLineEmptyAndTheKeyringHoldsIt)
{
    // Windows-1252 in the project ("é" is 0xE9), UTF-8 in the keyring.
    const Project project = connection("ftps://Files.Example:990", "ann", "pa\xE9ss");
    Project fileProject = project;
    ASSERT_TRUE(movePasswordToKeyring(fileProject));
    EXPECT_EQ(fileProject.ftpPassword, "");
    const fs::path file = root / "site.stv";
    ASSERT_TRUE(saveProjectFile(file.string(), fileProject).ok());
    EXPECT_EQ(passwordLine(file), "");
    EXPECT_EQ(modeOf(file), 0644u); // nothing secret in it
    EXPECT_EQ(lookupKeyringPassword({ "ftps", "files.example", "ann" }).value(), "pa\xC3\xA9ss");

    // Loading it gives the password back for the window and for --publish.
    Project loaded;
    ASSERT_TRUE(loadProjectFile(file.string(), loaded).ok());
    EXPECT_EQ(loaded.ftpPassword, "");
    Result<bool> filled = takePasswordFromKeyring(loaded);
    ASSERT_TRUE(filled) << filled.error();
    EXPECT_TRUE(filled.value());
    EXPECT_EQ(loaded.ftpPassword, "pa\xE9ss");
    EXPECT_EQ(publishPassword(fileProject, nullptr), "pa\xC3\xA9ss");
    EXPECT_EQ(publishPassword(fileProject, "from env"), "from env");

    // Another user on the same host has no password there.
    Project other = connection("ftps://files.example", "bob", "");
    EXPECT_FALSE(takePasswordFromKeyring(other).value());
    EXPECT_EQ(other.ftpPassword, "");
    (void)deleteKeyringPassword({ "ftps", "files.example", "ann" });
}

TEST_F(KeyringRunning, AProjectHoldingAPasswordUsesItAndMovesItOnTheNextSave)
{
    ASSERT_TRUE(storeKeyringPassword({ "ftp", "held.example", "ann" }, "keyring's"));
    const fs::path file = root / "held.stv";
    ASSERT_TRUE(saveProjectFile(file.string(), connection("held.example", "ann", "file's")).ok());
    EXPECT_EQ(modeOf(file), 0600u);

    Project loaded;
    ASSERT_TRUE(loadProjectFile(file.string(), loaded).ok());
    EXPECT_FALSE(takePasswordFromKeyring(loaded).value());
    EXPECT_EQ(loaded.ftpPassword, "file's"); // the file's own password wins
    EXPECT_EQ(publishPassword(loaded, nullptr), "file's");

    Project fileProject = loaded;
    ASSERT_TRUE(movePasswordToKeyring(fileProject));
    ASSERT_TRUE(saveProjectFile(file.string(), fileProject).ok());
    EXPECT_EQ(passwordLine(file), "");
    EXPECT_EQ(lookupKeyringPassword({ "ftp", "held.example", "ann" }).value(), "file's");
    (void)deleteKeyringPassword({ "ftp", "held.example", "ann" });
}

TEST_F(KeyringRunning, TheTickKeepsThePasswordInTheFileAndIsRememberedPerProject)
{
    Project project = connection("sftp://tick.example", "ann", "in the file");
    project.keepPasswordInFile = true;
    Project fileProject = project;
    ASSERT_TRUE(movePasswordToKeyring(fileProject));
    EXPECT_EQ(fileProject.ftpPassword, "in the file");
    EXPECT_EQ(lookupKeyringPassword({ "sftp", "tick.example", "ann" }).value(), "");

    // An existing file readable by all that now gets the password becomes private.
    const fs::path file = root / "tick.stv";
    WriteAll(file, std::string(10, '\n'));
    ::chmod(file.c_str(), 0644);
    ASSERT_TRUE(saveProjectFile(file.string(), fileProject).ok());
    EXPECT_EQ(passwordLine(file), "in the file");
    EXPECT_EQ(modeOf(file), 0600u);

    Settings settings;
    const std::string path = "/w/tick.stv", other = "/w/Tick.stv";
    setKeepsPasswordInFile(settings, path, true);
    setKeepsPasswordInFile(settings, other, true);
    setKeepsPasswordInFile(settings, path, true);
    Settings reread = Settings::parse(settings.text());
    EXPECT_TRUE(keepsPasswordInFile(reread, path));
    EXPECT_TRUE(keepsPasswordInFile(reread, other));
    EXPECT_FALSE(keepsPasswordInFile(reread, "/w/tick"));
    setKeepsPasswordInFile(reread, path, false);
    EXPECT_FALSE(keepsPasswordInFile(reread, path));
    EXPECT_TRUE(keepsPasswordInFile(reread, other));
    setKeepsPasswordInFile(reread, other, false);
    EXPECT_FALSE(reread.contains(settingKey::PasswordInProjectFile));
}

TEST_F(KeyringRunning, PublishLogsInWithTheKeyringsPasswordWhenTheProjectHasNone)
{
    FtpTestServer server;
    ASSERT_EQ(server.startError(), "");
    server.makeFolder("site");
    const fs::path project = root / "pub.stv";
    Project p = connection(server.host(), FtpTestServer::User, "");
    p.pageFileName = "pub.html";
    ASSERT_TRUE(saveProjectFile(project.string(), p).ok());
    ::unsetenv("SITORVA_PASSWORD");
    const std::optional<KeyringKey> key = passwordKeyFor(p);
    ASSERT_TRUE(key);
    EXPECT_EQ(*key, (KeyringKey { "ftp", "127.0.0.1", FtpTestServer::User }));
    ASSERT_TRUE(storeKeyringPassword(*key, FtpTestServer::password));

    // The keyring's password is a password like any other: not in clear unless allowed.
    CliOutcome r = run({ "--publish", project.string() });
    EXPECT_EQ(r.exitCode, 2) << err.str();
    EXPECT_EQ(server.readFile("site/pub.html"), "");
    r = run({ "--publish", project.string(), "--allow-plain-ftp" });
    EXPECT_EQ(r.exitCode, 0) << err.str();
    EXPECT_EQ(out.str(), "published: 1 uploaded, 0 unchanged, 0 failed\n") << err.str();
    EXPECT_NE(server.readFile("site/pub.html").find("<body"), std::string::npos)
        << server.readFile("site/pub.html");
    (void)deleteKeyringPassword(*key);
}

// Without a keyring (no session bus, or a bus where no Secret Service runs) the password stays
// in the project file as it always did, and the reason can be told to the user.
TEST(KeyringAbsent, ThePasswordStaysInTheProjectFile)
{
    const Result<> available = keyringAvailable();
    ASSERT_FALSE(available);
    EXPECT_TRUE(available.error().find("session bus") != std::string::npos
        || available.error().find("no keyring") != std::string::npos)
        << available.error();
    EXPECT_FALSE(storeKeyringPassword({ "ftp", "a.example", "ann" }, "pw"));
    EXPECT_FALSE(lookupKeyringPassword({ "ftp", "a.example", "ann" }));

    Project project = connection("a.example", "ann", "typed");
    const Result<> moved = movePasswordToKeyring(project);
    EXPECT_FALSE(moved);
    EXPECT_EQ(moved.error(), available.error());
    EXPECT_EQ(project.ftpPassword, "typed");
    EXPECT_EQ(publishPassword(project, nullptr), "typed");

    Project empty = connection("a.example", "ann", "");
    EXPECT_FALSE(takePasswordFromKeyring(empty));
    EXPECT_EQ(empty.ftpPassword, "");
    EXPECT_EQ(publishPassword(empty, nullptr), "");
}
