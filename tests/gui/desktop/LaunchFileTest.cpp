// launchFile: argument splitting, what each kind of target is handed to, failure codes.
#include "gui/desktop/LaunchFile.h"

#include "support/FakeShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace stv;

namespace
{

using stv::test::FakeShell;

struct LaunchTest : ::testing::Test {
    QTemporaryDir dir;
    FakeShell shell;
    QString make(const QString &name,
        QFileDevice::Permissions perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner)
    {
        const QString p = dir.path() + QLatin1Char('/') + name;
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        f.setPermissions(perms);
        return p;
    }
};

} // namespace

TEST(LaunchSplit, ArgumentsAndWorkingFolder)
{
    LaunchParts p = splitLaunchTarget(QStringLiteral("C:\\Tools\\view.exe{args}  -x page.html "));
    EXPECT_EQ(p.target, QStringLiteral("C:\\Tools\\view.exe"));
    EXPECT_EQ(p.arguments, QStringLiteral("-x page.html"));
    EXPECT_EQ(p.workingFolder, QStringLiteral("C:\\Tools\\"));

    p = splitLaunchTarget(QStringLiteral("/opt/v{ARGS}\t\x01 a \n"));
    EXPECT_EQ(p.target, QStringLiteral("/opt/v"));
    EXPECT_EQ(p.arguments, QStringLiteral("a"));
    EXPECT_EQ(p.workingFolder, QStringLiteral("/opt/"));

    p = splitLaunchTarget(QStringLiteral("v{Args}") + QString(300, QLatin1Char('a')));
    EXPECT_EQ(p.arguments.size(), 255);
    EXPECT_TRUE(p.workingFolder.isEmpty());
}

TEST(LaunchSplit, DesktopExecLines)
{
    EXPECT_EQ(desktopExecCommand(QStringLiteral("firefox-esr %u")),
        (QStringList { QStringLiteral("firefox-esr"), QStringLiteral("%u") }));
    EXPECT_EQ(desktopExecCommand(QStringLiteral("chromium --new-window")),
        (QStringList {
            QStringLiteral("chromium"), QStringLiteral("--new-window"), QStringLiteral("%u") }));
    EXPECT_EQ(desktopExecCommand(QStringLiteral("\"/opt/my browser\" %i --x=100%% %F")),
        (QStringList {
            QStringLiteral("/opt/my browser"), QStringLiteral("--x=100%"), QStringLiteral("%u") }));
}

TEST_F(LaunchTest, MissingFileAndFolder)
{
    LaunchResult r = launchFile(dir.path() + QStringLiteral("/none.html"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.text, QStringLiteral("The specified file was not found."));
    r = launchFile(dir.path() + QStringLiteral("/nofolder/none.html"));
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.text, QStringLiteral("The specified path was not found."));
    r = launchFile(dir.path() + QStringLiteral("/nofolder/"));
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(launchFile(QString()).code, 2);
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(LaunchTest, PagesOpenInTheBrowserAsFileAddresses)
{
    const QString page = make(QStringLiteral("my page.html"));
    const QString url = QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(url.startsWith(QStringLiteral("file:///")));
    LaunchResult r = launchFile(page);
    EXPECT_TRUE(r.ok);
    EXPECT_GT(r.code, 32);
    EXPECT_EQ(shell.calls,
        QStringList { QStringLiteral("start /usr/bin/web|--new|") + url + QStringLiteral(" in ") });

    // A file:/// address of a page goes the same way; with no browser known the desktop's
    // handler gets the address.
    shell.calls.clear();
    shell.browser.clear();
    EXPECT_TRUE(launchFile(url).ok);
    EXPECT_EQ(shell.calls,
        QStringList { QStringLiteral("open ") + QUrl::fromLocalFile(page).toString() });
}

TEST_F(LaunchTest, AddressesFoldersAndDocuments)
{
    EXPECT_TRUE(launchFile(QStringLiteral("https://sitorva.org/")).ok);
    EXPECT_TRUE(launchFile(QStringLiteral("mailto:hello@sitorva.org")).ok);
    EXPECT_TRUE(launchFile(dir.path() + QLatin1Char('/')).ok);
    const QString doc = make(QStringLiteral("notes.txt"));
    EXPECT_TRUE(launchFile(doc).ok);
    EXPECT_EQ(shell.calls,
        (QStringList { QStringLiteral("start /usr/bin/web|--new|https://sitorva.org/ in "),
            QStringLiteral("open mailto:hello@sitorva.org"),
            QStringLiteral("open ") + QUrl::fromLocalFile(dir.path() + QLatin1Char('/')).toString(),
            QStringLiteral("open ") + QUrl::fromLocalFile(doc).toString() }));

    shell.openSucceeds = false;
    const LaunchResult r = launchFile(doc);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, 31);
    EXPECT_EQ(r.text,
        QStringLiteral("There is no application associated with the given "
                       "filename extension."));
    EXPECT_EQ(launchFile(QStringLiteral("mailto:x")).code, 31);
}

// A program starts only when the caller allows it (after asking the user); unasked, nothing
// reaches the shell.
TEST_F(LaunchTest, ProgramsWithArguments)
{
    const QString tool
        = make(QStringLiteral("view"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString target = tool + QStringLiteral("{ARGS}  -x \"my page.html\" ");
    const ProgramStart start = programStartOf(target);
    EXPECT_EQ(start.program, tool);
    EXPECT_EQ(
        start.arguments, (QStringList { QStringLiteral("-x"), QStringLiteral("my page.html") }));
    for (const QString &unasked : { target, tool, QStringLiteral("sh{ARGS}-c id"),
             QStringLiteral("ssh://host/"), QStringLiteral("https://x.org/{ARGS}--flag") }) {
        const LaunchResult refused = launchFile(unasked);
        EXPECT_FALSE(refused.ok) << unasked.toStdString();
        EXPECT_TRUE(programStartOf(unasked).starts()) << unasked.toStdString();
    }
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_EQ(launchFile(tool).text,
        QStringLiteral("The link starts a program, which is only done when you allow it."));
    EXPECT_FALSE(programStartOf(QStringLiteral("https://x.org/")).starts());
    EXPECT_FALSE(programStartOf(QStringLiteral("mailto:me@x.org")).starts());

    EXPECT_TRUE(launchFile(target, Programs::Start).ok);
    EXPECT_EQ(shell.calls,
        QStringList { QStringLiteral("start ") + tool + QStringLiteral("|-x|my page.html in ")
            + dir.path() + QLatin1Char('/') });
    shell.startSucceeds = false;
    const LaunchResult denied = launchFile(tool, Programs::Start);
    EXPECT_EQ(denied.code, 5);
    EXPECT_EQ(
        denied.text, QStringLiteral("The operating system denied access to the specified file."));
}

TEST_F(LaunchTest, UnreadableFileIsAccessDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QString secret = make(QStringLiteral("secret.txt"), QFileDevice::WriteOwner);
    EXPECT_EQ(launchFile(secret).code, 5);
}
