// The upload window before anything secret or lasting reaches a server: the question before a
// password goes over plain FTP (once a run for a host, or never again), Publish into a folder
// that is not there, and a page name that may not be published.
#include "support/Controls.h"
#include "support/FakeShell.h"
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"

#include "core/page/FileCopy.h"
#include "core/page/GenerationTime.h"
#include "core/page/PageGenerator.h"
#include "core/settings/Config.h"
#include "core/settings/ProgramFolderPath.h"
#include "core/settings/Settings.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/upload/FtpPanel.h"
#include "gui/upload/PublishCommand.h"
#include "gui/upload/UploadWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <filesystem>

using namespace stv;
using stv::test::control;
using stv::test::FtpTestServer;

#define REQUIRE_RUNNING(server)                                                                    \
    QVERIFY2((server).startError().empty(), (server).startError().c_str())

namespace
{

long Count(const FtpTestServer &server, const std::string &prefix)
{
    const std::vector<std::string> commands = server.commands();
    return std::count_if(commands.begin(), commands.end(),
        [&](const std::string &c) { return c.rfind(prefix, 0) == 0; });
}

void Fill(UploadWindow &form, const FtpTestServer &server, const QString &dir = {})
{
    control<QLineEdit>(form, "HostEdit")->setText(QString::fromStdString(server.host()));
    control<QLineEdit>(form, "UserIDEdit")->setText(QString::fromLatin1(FtpTestServer::User));
    control<QLineEdit>(form, "PasswordEdit")->setText(QString::fromLatin1(FtpTestServer::password));
    control<QLineEdit>(form, "InitDirEdit")->setText(dir);
}

// The sample project, its page created beside a copy of it, ready for Publish.
struct SampleSite {
    QTemporaryDir folder;
    Project project;
    FavouriteLists lists;
    Configuration config;
    QString projectFile;

    SampleSite()
    {
        std::filesystem::copy(STV_SAMPLE_DIR, folder.path().toStdString() + "/proj");
        projectFile = folder.path() + QStringLiteral("/proj/sample.stv");
        QVERIFY(loadProjectFile(projectFile.toStdString(), project).ok());
        QVERIFY(loadConfiguration(STV_SAMPLE_DIR "/", config, lists).ok());
    }
    void attach(UploadWindow &form)
    {
        form.setPublishPreparer([this, &form] {
            return preparePublish(&form, project, lists, config.pageOptions, projectFile);
        });
    }
    // Create Web Page's questions, for the page under `name` in the project's folder.
    void queueCreatePage(ScriptedDialogs &dialogs, const QString &name)
    {
        dialogs.queue(Answer::Ok);
        dialogs.queue(Answer::Ok);
        dialogs.queueText(folder.path() + QStringLiteral("/proj/") + name);
        dialogs.queue(Answer::No);
    }
};

} // namespace

class PublishSafetyWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_programFolder.isValid());
        setProgramFolderPath(m_programFolder.path().toStdString() + "/");
    }
    void cleanup() { setProgramFolderPath({}); }

    void aPasswordGoesOverPlainFtpOnlyAfterTheUserAgreed()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        ScriptedDialogs dialogs;
        UploadWindow form;
        Fill(form, server);

        // Declined: the server never hears of the user, let alone the password.
        dialogs.queueCancel();
        control<QPushButton>(form, "Button1")->click();
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QCOMPARE(dialogs.asked()[0].buttons, Buttons::SendUnencrypted);
        QVERIFY(dialogs.asked()[0].text.startsWith(
            QStringLiteral("127.0.0.1 is a plain FTP server: the password for tester would "
                           "travel unencrypted")));
        QCOMPARE(control<QLabel>(form, "Label5")->text(),
            QStringLiteral("Not connected: the password was not sent"));
        QCOMPARE(Count(server, "CONNECT"), 0);

        // Agreed once: asked no more for this host while the program runs, nor remembered.
        dialogs.queue(Answer::Ok);
        control<QPushButton>(form, "Button1")->click();
        control<QPushButton>(form, "Button1")->click();
        QCOMPARE(dialogs.asked().size(), std::size_t(2));
        QCOMPARE(Count(server, "PASS"), 2);
        QVERIFY(dialogs.unexpected().empty());
        QVERIFY(!loadSettings(programFolderPath()).value().contains("plain-ftp-hosts"));

        // "Don't ask again for this host": remembered in the settings, for every window after.
        UploadWindow another;
        Fill(another, server);
        dialogs.queue(Answer::Yes);
        control<QPushButton>(another, "Button1")->click();
        QCOMPARE(loadSettings(programFolderPath()).value().value("plain-ftp-hosts"), server.host());
        UploadWindow third;
        Fill(third, server);
        control<QPushButton>(third, "Button1")->click();
        QCOMPARE(dialogs.asked().size(), std::size_t(3));
        QCOMPARE(Count(server, "PASS"), 4);

        // Encrypted protocols and an empty password are never asked about.
        control<QLineEdit>(third, "PasswordEdit")->clear();
        control<QLineEdit>(third, "HostEdit")->setText(QStringLiteral("ftp://127.0.0.2:1"));
        control<QPushButton>(third, "Button1")->click();
        QCOMPARE(dialogs.asked().back().text, QStringLiteral("Password must be specified."));
    }

    void publishIntoAMissingFolderStopsAndOffersToCreateIt()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("index.html", "another site's page");
        ScriptedDialogs dialogs;
        test::FakeShell shell;
        SampleSite site;
        UploadWindow form;
        site.attach(form);
        Fill(form, server, QStringLiteral("public_html"));
        form.show();

        // Declined: nothing is sent anywhere, the login folder's page stays.
        dialogs.queue(Answer::Ok); // plain FTP
        site.queueCreatePage(dialogs, QStringLiteral("index.html"));
        dialogs.queue(Answer::No); // create the folder
        control<QPushButton>(form, "PublishButton")->click();
        QCOMPARE(dialogs.asked().back().text,
            QStringLiteral("Could not change to public_html on %1, so nothing has been sent.\n\n"
                           "Create the folder public_html and publish into it?")
                .arg(QString::fromStdString(server.host())));
        QCOMPARE(Count(server, "STOR"), 0);
        QCOMPARE(server.readFile("index.html"), std::string("another site's page"));
        QCOMPARE(control<QLabel>(form, "Label5")->text(),
            QStringLiteral("Not published: the folder public_html is not there"));
        QVERIFY(dialogs.messages().empty());

        // Created: everything goes into it, and the summary names the folder.
        dialogs.clear();
        dialogs.queue(Answer::Ok);
        control<QPushButton>(form, "PublishButton")->click();
        QVERIFY(dialogs.unexpected().empty());
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Published into /public_html on 127.0.0.1:\n\n"
                                                  "6 uploaded, 0 unchanged, 0 failed") });
        QVERIFY(!server.readFile("public_html/hills.png").empty());
        QCOMPARE(server.readFile("index.html"), std::string("another site's page"));
        QVERIFY(std::filesystem::exists(server.home() + "/public_html/.sitorva-publish"));
        QVERIFY(!std::filesystem::exists(server.home() + "/.sitorva-publish"));

        const QByteArray shot = qgetenv("STV_PUBLISH_SCREENSHOT");
        if (!shot.isEmpty())
            QVERIFY(form.grab().save(QString::fromLocal8Bit(shot)));
    }

    void aPageNameThatMayNotBePublishedIsReplacedByAProposal()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        ScriptedDialogs dialogs;
        test::FakeShell shell;
        SampleSite site;
        UploadWindow form;
        site.attach(form);
        Fill(form, server);
        form.show();
        // A page created (by an older version, say) under the stored name ".htaccess".
        const std::string page = site.folder.path().toStdString() + "/proj/.htaccess";
        PageRequest request;
        request.importRequested = true;
        request.pageFile = site.folder.path().toStdString() + "/proj/page.html";
        request.sourceFolder = site.folder.path().toStdString() + "/proj";
        request.when = generationTimeNow();
        request.names = systemDateNames();
        DiskCopier disk;
        QVERIFY(
            writePageFile(site.project, site.lists, site.config.pageOptions, request, disk).ok());
        std::filesystem::rename(request.pageFile, page);
        site.project.pageFileName = page;
        dialogs.queue(Answer::Ok); // plain FTP
        dialogs.queue(Answer::No); // not as "htaccess.html" either
        control<QPushButton>(form, "PublishButton")->click();
        QVERIFY(dialogs.unexpected().empty());
        QVERIFY2(dialogs.asked().back().text.endsWith(
                     QStringLiteral("so the page cannot be published under it.\n\n"
                                    "Publish it as htaccess.html?")),
            qPrintable(dialogs.asked().back().text));
        QCOMPARE(Count(server, "CONNECT"), 0);

        dialogs.clear();
        dialogs.queue(Answer::Ok); // as htaccess.html; plain FTP was agreed for this run
        control<QPushButton>(form, "PublishButton")->click();
        QVERIFY(dialogs.unexpected().empty());
        QVERIFY(!std::filesystem::exists(server.home() + "/.htaccess"));
        QCOMPARE(server.readFile("htaccess.html"), test::ReadFileBytes(page));
    }

private:
    QTemporaryDir m_programFolder;
};

QTEST_MAIN(PublishSafetyWindowTest)
#include "PublishSafetyWindowTest.moc"
