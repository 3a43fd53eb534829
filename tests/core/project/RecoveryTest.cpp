#include "core/project/Recovery.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace stv;
namespace fs = std::filesystem;

namespace
{

class RecoveryFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path()
            / ("sitorva-recovery-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        m_project.pageTitle = "Recovered title";
        m_project.sections = { "\xA0Heading\xA0label\xA0Hello\xA0" };
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
    Project m_project;
};

} // namespace

TEST_F(RecoveryFolder, RunningSessionIsNotOfferedButALeftOneIs)
{
    RecoverySession running(m_folder.string());
    const Result<> started = running.start();
    ASSERT_TRUE(started.ok()) << started.error();
    ASSERT_TRUE(running.write(serializeRecovery(m_project, "/home/a/Ł.stv", 1765000000)).ok());
    EXPECT_TRUE(findLeftRecoveries(m_folder.string()).empty());

    {
        // A program that ended without removing its file: its lock is free.
        RecoverySession crashed(m_folder.string());
        ASSERT_TRUE(crashed.start());
        ASSERT_TRUE(crashed.write(serializeRecovery(m_project, "", 1765000100)).ok());
    }
    const std::vector<RecoveryEntry> left = findLeftRecoveries(m_folder.string());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].projectPath, "");
    EXPECT_EQ(left[0].savedAt, 1765000100);

    RecoveryEntry entry;
    Project project;
    const Result<> read = readRecovery(left[0].file, entry, project);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(project, m_project);

    discardRecovery(left[0]);
    EXPECT_TRUE(findLeftRecoveries(m_folder.string()).empty());
    running.remove();
    EXPECT_FALSE(fs::exists(running.recoveryFile()));
}

TEST_F(RecoveryFolder, DamagedFilesAreReportedAndSetAside)
{
    fs::create_directories(m_folder);
    for (const char *bytes :
        { "", "Sitorva recovery 1\r\n/p.stv\r\n12\r\nshort\r\n", "not a recovery file\r\n" }) {
        static int n = 0;
        std::ofstream(m_folder / ("session-" + std::to_string(n++) + ".stvr")) << bytes;
    }
    std::vector<std::string> damaged;
    EXPECT_TRUE(findLeftRecoveries(m_folder.string(), &damaged).empty());
    EXPECT_EQ(damaged.size(), 3u);
    int aside = 0;
    for (const auto &item : fs::directory_iterator(m_folder))
        aside += item.path().extension() == ".damaged";
    EXPECT_EQ(aside, 3);
}

TEST_F(RecoveryFolder, LocksOfKilledProgramsGoAtTheNextStart)
{
    // Two programs killed: one with unsaved work (its recovery file and lock stay until the
    // work is recovered or discarded), one with none (its lone lock is stale).
    const auto killedProgram = [this](bool withWork) {
        const pid_t child = ::fork();
        if (child == 0) {
            RecoverySession session(m_folder.string());
            if (!session.start()
                || (withWork && !session.write(serializeRecovery(m_project, "", 1)).ok()))
                ::_exit(1);
            ::raise(SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    };
    ASSERT_TRUE(killedProgram(true));
    ASSERT_TRUE(killedProgram(false));
    RecoverySession running(m_folder.string());
    {
        const Result<> started = running.start();
        ASSERT_TRUE(started.ok()) << started.error();
    }
    const auto count = [this](const char *ending) {
        int n = 0;
        for (const auto &item : fs::directory_iterator(m_folder))
            n += item.path().extension() == ending;
        return n;
    };
    EXPECT_EQ(count(".lock"), 3);

    const std::vector<RecoveryEntry> left = findLeftRecoveries(m_folder.string());
    ASSERT_EQ(left.size(), 1u);
    // The running program's lock and the one beside the left work stay.
    EXPECT_EQ(count(".lock"), 2);
    EXPECT_TRUE(fs::exists(fs::path(running.recoveryFile()).replace_extension(".lock")));
    discardRecovery(left[0]);
    EXPECT_EQ(count(".lock"), 1);
}

// The work in the folder may hold an FTP password: the folder is private whenever a session
// uses it, also one an older copy made open, and so is every recovery file.
TEST_F(RecoveryFolder, FolderAndFilesAreReadableByTheirOwnerOnly)
{
    fs::create_directories(m_folder);
    fs::permissions(m_folder, fs::perms(0755));
    const mode_t oldMask = ::umask(022);
    RecoverySession session(m_folder.string());
    {
        const Result<> started = session.start();
        ASSERT_TRUE(started.ok()) << started.error();
    }
    EXPECT_EQ(fs::status(m_folder).permissions(), fs::perms(0700));

    m_project.ftpPassword = "secret";
    ASSERT_TRUE(session.write(serializeRecovery(m_project, "/w/a.stv", 1765000000)).ok());
    EXPECT_EQ(fs::status(session.recoveryFile()).permissions(), fs::perms(0600));
    // A file that was there open (written by an older copy) is replaced by a private one.
    fs::permissions(session.recoveryFile(), fs::perms(0644));
    ASSERT_TRUE(session.write(serializeRecovery(m_project, "/w/a.stv", 1765000001)).ok());
    EXPECT_EQ(fs::status(session.recoveryFile()).permissions(), fs::perms(0600));
    ::umask(oldMask);
    session.remove();
}
