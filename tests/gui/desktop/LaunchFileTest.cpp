// launchFile: argument splitting, what each kind of target is handed to, failure codes.
#include "gui/desktop/LaunchFile.h"

#include "support/FakeShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

#include <unistd.h>

using namespace stv;
using stv::test::FakeShell;

class LaunchFileTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void splitArgumentsAndWorkingFolder();
    void splitDesktopExecLines();
    void missingFileAndFolder();
    void pagesOpenInTheBrowserAsFileAddresses();
    void addressesFoldersAndDocuments();
    void programsWithArguments();
    void unreadableFileIsAccessDenied();

private:
    QString make(const QString &name,
        QFileDevice::Permissions perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeShell> m_shell;
};

void LaunchFileTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_shell = std::make_unique<FakeShell>();
}

void LaunchFileTest::cleanup()
{
    m_shell.reset();
    m_dir.reset();
}

QString LaunchFileTest::make(const QString &name, QFileDevice::Permissions perms)
{
    const QString p = m_dir->path() + QLatin1Char('/') + name;
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly))
        QTest::qFail(qPrintable(QStringLiteral("cannot create ") + p), __FILE__, __LINE__);
    f.write("x");
    f.close();
    f.setPermissions(perms);
    return p;
}

void LaunchFileTest::splitArgumentsAndWorkingFolder()
{
    LaunchParts p = splitLaunchTarget(QStringLiteral("C:\\Tools\\view.exe{args}  -x page.html "));
    QCOMPARE(p.target, QStringLiteral("C:\\Tools\\view.exe"));
    QCOMPARE(p.arguments, QStringLiteral("-x page.html"));
    QCOMPARE(p.workingFolder, QStringLiteral("C:\\Tools\\"));

    p = splitLaunchTarget(QStringLiteral("/opt/v{ARGS}\t\x01 a \n"));
    QCOMPARE(p.target, QStringLiteral("/opt/v"));
    QCOMPARE(p.arguments, QStringLiteral("a"));
    QCOMPARE(p.workingFolder, QStringLiteral("/opt/"));

    p = splitLaunchTarget(QStringLiteral("v{Args}") + QString(300, QLatin1Char('a')));
    QCOMPARE(p.arguments.size(), 255);
    QVERIFY(p.workingFolder.isEmpty());
}

void LaunchFileTest::splitDesktopExecLines()
{
    QCOMPARE(desktopExecCommand(QStringLiteral("firefox-esr %u")),
        (QStringList { QStringLiteral("firefox-esr"), QStringLiteral("%u") }));
    QCOMPARE(desktopExecCommand(QStringLiteral("chromium --new-window")),
        (QStringList {
            QStringLiteral("chromium"), QStringLiteral("--new-window"), QStringLiteral("%u") }));
    QCOMPARE(desktopExecCommand(QStringLiteral("\"/opt/my browser\" %i --x=100%% %F")),
        (QStringList {
            QStringLiteral("/opt/my browser"), QStringLiteral("--x=100%"), QStringLiteral("%u") }));
}

void LaunchFileTest::missingFileAndFolder()
{
    LaunchResult r = launchFile(m_dir->path() + QStringLiteral("/none.html"));
    QVERIFY(!r.ok);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.text, QStringLiteral("The specified file was not found."));
    r = launchFile(m_dir->path() + QStringLiteral("/nofolder/none.html"));
    QCOMPARE(r.code, 3);
    QCOMPARE(r.text, QStringLiteral("The specified path was not found."));
    r = launchFile(m_dir->path() + QStringLiteral("/nofolder/"));
    QCOMPARE(r.code, 3);
    QCOMPARE(launchFile(QString()).code, 2);
    QVERIFY(m_shell->calls.isEmpty());
}

void LaunchFileTest::pagesOpenInTheBrowserAsFileAddresses()
{
    FakeShell &shell = *m_shell;
    const QString page = make(QStringLiteral("my page.html"));
    const QString url = QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded);
    QVERIFY(url.startsWith(QStringLiteral("file:///")));
    LaunchResult r = launchFile(page);
    QVERIFY(r.ok);
    QCOMPARE_GT(r.code, 32);
    QCOMPARE(shell.calls,
        QStringList { QStringLiteral("start /usr/bin/web|--new|") + url + QStringLiteral(" in ") });

    // A file:/// address of a page goes the same way; with no browser known the desktop's
    // handler gets the address.
    shell.calls.clear();
    shell.browser.clear();
    QVERIFY(launchFile(url).ok);
    QCOMPARE(shell.calls,
        QStringList { QStringLiteral("open ") + QUrl::fromLocalFile(page).toString() });
}

void LaunchFileTest::addressesFoldersAndDocuments()
{
    FakeShell &shell = *m_shell;
    const QString dir = m_dir->path();
    QVERIFY(launchFile(QStringLiteral("https://sitorva.org/")).ok);
    QVERIFY(launchFile(QStringLiteral("mailto:hello@sitorva.org")).ok);
    QVERIFY(launchFile(dir + QLatin1Char('/')).ok);
    const QString doc = make(QStringLiteral("notes.txt"));
    QVERIFY(launchFile(doc).ok);
    QCOMPARE(shell.calls,
        (QStringList { QStringLiteral("start /usr/bin/web|--new|https://sitorva.org/ in "),
            QStringLiteral("open mailto:hello@sitorva.org"),
            QStringLiteral("open ") + QUrl::fromLocalFile(dir + QLatin1Char('/')).toString(),
            QStringLiteral("open ") + QUrl::fromLocalFile(doc).toString() }));

    shell.openSucceeds = false;
    const LaunchResult r = launchFile(doc);
    QVERIFY(!r.ok);
    QCOMPARE(r.code, 31);
    QCOMPARE(r.text,
        QStringLiteral("There is no application associated with the given "
                       "filename extension."));
    QCOMPARE(launchFile(QStringLiteral("mailto:x")).code, 31);
}

// A program starts only when the caller allows it (after asking the user); unasked, nothing
// reaches the shell.
void LaunchFileTest::programsWithArguments()
{
    FakeShell &shell = *m_shell;
    const QString tool
        = make(QStringLiteral("view"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString target = tool + QStringLiteral("{ARGS}  -x \"my page.html\" ");
    const ProgramStart start = programStartOf(target);
    QCOMPARE(start.program, tool);
    QCOMPARE(
        start.arguments, (QStringList { QStringLiteral("-x"), QStringLiteral("my page.html") }));
    for (const QString &unasked : { target, tool, QStringLiteral("sh{ARGS}-c id"),
             QStringLiteral("ssh://host/"), QStringLiteral("https://x.org/{ARGS}--flag") }) {
        const LaunchResult refused = launchFile(unasked);
        QVERIFY2(!refused.ok, qPrintable(unasked));
        QVERIFY2(programStartOf(unasked).starts(), qPrintable(unasked));
    }
    QVERIFY(shell.calls.isEmpty());
    QCOMPARE(launchFile(tool).text,
        QStringLiteral("The link starts a program, which is only done when you allow it."));
    QVERIFY(!programStartOf(QStringLiteral("https://x.org/")).starts());
    QVERIFY(!programStartOf(QStringLiteral("mailto:me@x.org")).starts());

    QVERIFY(launchFile(target, Programs::Start).ok);
    QCOMPARE(shell.calls,
        QStringList { QStringLiteral("start ") + tool + QStringLiteral("|-x|my page.html in ")
            + m_dir->path() + QLatin1Char('/') });
    shell.startSucceeds = false;
    const LaunchResult denied = launchFile(tool, Programs::Start);
    QCOMPARE(denied.code, 5);
    QCOMPARE(
        denied.text, QStringLiteral("The operating system denied access to the specified file."));
}

void LaunchFileTest::unreadableFileIsAccessDenied()
{
    if (::geteuid() == 0)
        QSKIP("root reads every file");
    const QString secret = make(QStringLiteral("secret.txt"), QFileDevice::WriteOwner);
    QCOMPARE(launchFile(secret).code, 5);
}

QTEST_GUILESS_MAIN(LaunchFileTest)
#include "LaunchFileTest.moc"
