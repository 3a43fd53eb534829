#include "support/FakeShell.h"
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"

#include "core/settings/Config.h"
#include "core/upload/PublishManifest.h"
#include "gui/upload/PublishCommand.h"

#include "gui/dialogs/Dialogs.h"
#include "gui/upload/FtpPanel.h"
#include "gui/upload/ListingModel.h"
#include "gui/upload/UploadWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <QProgressBar>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace stv;
using stv::test::FtpTestServer;
using stv::test::ServerOptions;

// The test cannot go on without its server; the reason shows when it did not start.
#define REQUIRE_RUNNING(server)                                                                    \
    QVERIFY2((server).startError().empty(), (server).startError().c_str())

namespace
{

QString Host(const FtpTestServer &server)
{
    return QString::fromStdString(server.host());
}

void Configure(FtpPanel &m_ftpPanel, const FtpTestServer &server, const QString &dir = {})
{
    m_ftpPanel.setHostName(Host(server));
    m_ftpPanel.setLoginName(QString::fromLatin1(FtpTestServer::User));
    m_ftpPanel.setPassword(QString::fromLatin1(FtpTestServer::password));
    m_ftpPanel.setRemoteDir(dir);
}

// Rows as "name|size|date", sorted (the server's order is its own).
QStringList Rows(const FtpPanel &m_ftpPanel)
{
    QStringList rows;
    const ListingModel *m = m_ftpPanel.fileListModel();
    const auto cell = [m](int r, int c) { return m->index(r, c).data().toString(); };
    for (int r = 0; r < m->rowCount(); ++r)
        rows << cell(r, 0) + u'|' + cell(r, 1) + u'|' + cell(r, 2);
    rows.sort();
    return rows;
}

QStringList Names(const FtpPanel &m_ftpPanel)
{
    QStringList names;
    for (const QString &row : Rows(m_ftpPanel))
        names << row.section(u'|', 0, 0);
    return names;
}

long Count(const std::vector<std::string> &commands, const std::string &prefix)
{
    return std::count_if(commands.begin(), commands.end(),
        [&](const std::string &c) { return c.rfind(prefix, 0) == 0; });
}

std::string Local(const FtpTestServer &server, const std::string &name, const std::string &bytes)
{
    const std::string path = server.scratch() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Drops the files on the listing as a file manager does and waits for the work to finish.
bool DropFiles(FtpPanel &m_ftpPanel, const std::vector<std::string> &paths)
{
    QList<QUrl> urls;
    for (const std::string &p : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(p));
    QMimeData mime;
    mime.setUrls(urls);
    QWidget *target = m_ftpPanel.fileList()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QSignalSpy changed(&m_ftpPanel, &FtpPanel::changed);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() && changed.wait(30000) && changed.count() == 1;
}

} // namespace

class UploadWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }

    void missingFieldsAreTestedInOrderBeforeAnythingIsSent()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("a.txt", "a");
        FtpPanel m_ftpPanel;
        QLabel status;
        m_ftpPanel.setStatusLabel(&status);
        Configure(m_ftpPanel, server);
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QCOMPARE(m_ftpPanel.fileListModel()->rowCount(), 1);
        server.clearCommands();

        m_ftpPanel.setHostName({});
        m_ftpPanel.setLoginName({});
        m_ftpPanel.setPassword({});
        QCOMPARE(m_ftpPanel.connectToServer(), QStringLiteral("HostName must be specified"));
        QCOMPARE(m_ftpPanel.fileListModel()->rowCount(), 0);
        m_ftpPanel.setHostName(Host(server));
        QCOMPARE(m_ftpPanel.connectToServer(), QStringLiteral("LoginName must be specified"));
        m_ftpPanel.setLoginName(QStringLiteral("tester"));
        QCOMPARE(m_ftpPanel.connectToServer(), QStringLiteral("Password must be specified"));
        QCOMPARE(status.text(), QStringLiteral("Connected to ") + Host(server));
        QTest::qWait(200);
        QVERIFY(server.commands().empty());
    }

    void connectsAndLists_data()
    {
        QTest::addColumn<bool>("noMlsd");
        QTest::newRow("MLSD") << false;
        QTest::newRow("LIST") << true;
    }

    void connectsAndLists()
    {
        QFETCH(bool, noMlsd);
        ServerOptions options;
        options.noMlsd = noMlsd;
        FtpTestServer server(options);
        REQUIRE_RUNNING(server);
        server.writeFile("index.html", std::string(1234, 'x'));
        server.writeFile("zero.txt", "");
        server.makeFolder("pictures");
        server.makeFolder("empty");
        for (const char *name : { "index.html", "zero.txt", "pictures", "empty" })
            server.setTime(name, 2001, 2, 3, 0, 0, 0);

        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        QLabel status;
        m_ftpPanel.setStatusLabel(&status);
        Configure(m_ftpPanel, server);
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QCOMPARE(Rows(m_ftpPanel),
            (QStringList { QStringLiteral("empty||03/02/2001"),
                QStringLiteral("index.html|1234|03/02/2001"),
                QStringLiteral("pictures||03/02/2001"), QStringLiteral("zero.txt||03/02/2001") }));
        QCOMPARE(status.text(), QStringLiteral("Connected to ") + Host(server));
        QVERIFY(m_ftpPanel.connection() != nullptr);
        QCOMPARE(m_ftpPanel.connection()->usesMlsd(), !noMlsd);

        m_ftpPanel.setRemoteDir(QStringLiteral("empty"));
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QCOMPARE(m_ftpPanel.fileListModel()->rowCount(), 0);
        QVERIFY(dialogs.asked().empty());
    }

    void datesGoThroughTheDosFields()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("y2k.txt", "1");
        server.setTime("y2k.txt", 1999, 12, 31, 23, 59, 59);
        FtpPanel m_ftpPanel;
        Configure(m_ftpPanel, server);
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QCOMPARE(Rows(m_ftpPanel), QStringList { QStringLiteral("y2k.txt|1|31/12/1999 23:59:58") });
        QCOMPARE(listingDateText({ 2001, 2, 3, 0, 0, 0 }, QLocale()), QStringLiteral("03/02/2001"));
        QCOMPARE(listingDateText({ 2001, 2, 3, 0, 0, 2 }, QLocale()),
            QStringLiteral("03/02/2001 00:00:02"));
        QCOMPARE(listingDateText({ 2001, 2, 31, 0, 0, 0 }, QLocale()), QString());
    }

    void refusedLoginsAndClosedPortsCannotConnect()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        FtpPanel m_ftpPanel;
        QLabel status;
        m_ftpPanel.setStatusLabel(&status);
        Configure(m_ftpPanel, server);
        m_ftpPanel.setPassword(QStringLiteral("wrong"));
        QCOMPARE(
            m_ftpPanel.connectToServer(), QStringLiteral("Could not connect to ") + Host(server));
        QCOMPARE(status.text(), QStringLiteral("Connecting to ") + Host(server));
        QVERIFY(m_ftpPanel.connection() == nullptr);

        const QString closed = QStringLiteral("127.0.0.1:%1").arg(test::ClosedPort());
        m_ftpPanel.setHostName(closed);
        m_ftpPanel.setPassword(QString::fromLatin1(FtpTestServer::password));
        QCOMPARE(m_ftpPanel.connectToServer(), QStringLiteral("Could not connect to ") + closed);
        QCOMPARE(m_ftpPanel.fileListModel()->rowCount(), 0);
        QCOMPARE(errorBoxText(m_ftpPanel.connectToServer()),
            QStringLiteral("Could not connect to ") + closed + u'.');
    }

    void theWindowKeepsRunningWhileAServerIsSilentUntilTheTimeLimit()
    {
        test::SilentServer silent;
        FtpPanel m_ftpPanel;
        FtpLimits limits;
        limits.connectSeconds = 1;
        limits.stallSeconds = 1;
        m_ftpPanel.setLimits(limits);
        const QString host = QStringLiteral("127.0.0.1:%1").arg(silent.port());
        m_ftpPanel.setHostName(host);
        m_ftpPanel.setLoginName(QStringLiteral("u"));
        m_ftpPanel.setPassword(QStringLiteral("p"));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        QCOMPARE(m_ftpPanel.connectToServer(), QStringLiteral("Could not connect to ") + host);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    }

    void aDirectoryThatCannotBeEnteredIsReportedAndTheLoginDirectoryListed()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("top.txt", "12");
        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        Configure(m_ftpPanel, server, QStringLiteral("nosuch"));
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Could not change to nosuch") });
        QCOMPARE(Names(m_ftpPanel), QStringList { QStringLiteral("top.txt") });
    }

    void threeDroppedFilesAreUploadedInOrderAndListedOnce()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.makeFolder("site");
        const std::vector<std::string> files = { Local(server, "page.html", "<p>page</p>"),
            Local(server, "b photo.jpg", std::string(3000, 'j')), Local(server, "a.css", "p{}") };
        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        m_ftpPanel.setActive(true);
        Configure(m_ftpPanel, server, QStringLiteral("site"));
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        server.clearCommands();

        QVERIFY(DropFiles(m_ftpPanel, files));
        QVERIFY(dialogs.asked().empty());
        QCOMPARE(server.readFile("site/page.html"), std::string("<p>page</p>"));
        QCOMPARE(server.readFile("site/b photo.jpg"), std::string(3000, 'j'));
        QStringList sizes;
        for (const QString &row : Rows(m_ftpPanel))
            sizes << row.section(u'|', 0, 1);
        QCOMPARE(sizes,
            (QStringList { QStringLiteral("a.css|3"), QStringLiteral("b photo.jpg|3000"),
                QStringLiteral("page.html|11") }));
        std::vector<std::string> stores;
        for (const std::string &c : server.commands())
            if (c.rfind("STOR", 0) == 0)
                stores.push_back(c);
        QCOMPARE(stores,
            (std::vector<std::string> { "STOR page.html", "STOR b photo.jpg", "STOR a.css" }));
        QCOMPARE(Count(server.commands(), "MLSD"), 1L);
    }

    void failedUploadsAreListedInOneBox()
    {
        ServerOptions options;
        options.refuse = { "b.txt" };
        FtpTestServer server(options);
        REQUIRE_RUNNING(server);
        const std::vector<std::string> files
            = { Local(server, "a.txt", "a"), Local(server, "b.txt", "b"),
                  server.scratch() + "/gone.txt", Local(server, "c.txt", "c") };
        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        m_ftpPanel.setActive(true);
        Configure(m_ftpPanel, server);
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QVERIFY(DropFiles(m_ftpPanel, files));
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        const QString box = dialogs.asked().front().text;
        QCOMPARE(dialogs.asked().front().what, QStringLiteral("error"));
        QVERIFY2(
            box.startsWith(QStringLiteral("These 2 files were not uploaded:")), qPrintable(box));
        QVERIFY2(box.contains(QStringLiteral("b.txt: the server refused it (the server said: 550")),
            qPrintable(box));
        QVERIFY2(
            box.contains(QStringLiteral("gone.txt: the file could not be read")), qPrintable(box));
        QVERIFY(!box.contains(QStringLiteral("a.txt")));
        QVERIFY(!box.contains(QString::fromLatin1(FtpTestServer::password)));
        QCOMPARE(
            Names(m_ftpPanel), (QStringList { QStringLiteral("a.txt"), QStringLiteral("c.txt") }));
    }

    void uploadBrokenOffHalfWayIsReported()
    {
        ServerOptions options;
        options.dropUploadAfter = 64 * 1024;
        FtpTestServer server(options);
        REQUIRE_RUNNING(server);
        const std::string big = Local(server, "big.bin", std::string(4 << 20, 'x'));
        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        m_ftpPanel.setActive(true);
        Configure(m_ftpPanel, server);
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QVERIFY(DropFiles(m_ftpPanel, { big }));
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QCOMPARE(dialogs.asked().front().what, QStringLiteral("error"));
        const QString box = dialogs.asked().front().text;
        QVERIFY2(box.startsWith(QStringLiteral("This file was not uploaded:\n\nbig.bin: ")),
            qPrintable(box));
    }

    void filesDroppedBeforeConnectingAreReportedNotLost()
    {
        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        QSignalSpy changed(&m_ftpPanel, &FtpPanel::changed);
        m_ftpPanel.uploadFiles({ QStringLiteral("/tmp/x/index.html") });
        QCOMPARE(dialogs.messages(),
            (std::vector<QString> {
                QStringLiteral(
                    "This file was not uploaded:\n\nindex.html: not connected to a server"),
                QStringLiteral("HostName must be specified.") }));
        QCOMPARE(changed.count(), 1);
    }

    void dropsAreRefusedWhileInactive()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        FtpPanel m_ftpPanel;
        QVERIFY(!DropFiles(m_ftpPanel, { Local(server, "a.txt", "a") }));
        m_ftpPanel.setActive(true);
        QMimeData text;
        text.setText(QStringLiteral("not a file"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_ftpPanel.fileList()->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void doubleClickDownloadsOnlyWithASaveDialog()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("data.bin", "payload");
        ScriptedDialogs dialogs;
        FtpPanel m_ftpPanel;
        m_ftpPanel.resize(400, 300);
        m_ftpPanel.show();
        Configure(m_ftpPanel, server);
        QCOMPARE(m_ftpPanel.connectToServer(), QString());
        QSignalSpy clicked(&m_ftpPanel, &FtpPanel::doubleClicked);
        const auto doubleClickFirstRow = [&] {
            const QModelIndex index = m_ftpPanel.fileListModel()->index(0, 0);
            m_ftpPanel.fileList()->setCurrentIndex(index);
            QTest::mouseDClick(m_ftpPanel.fileList()->viewport(), Qt::LeftButton, {},
                m_ftpPanel.fileList()->visualRect(index).center());
        };
        doubleClickFirstRow();
        QVERIFY(clicked.wait(5000));
        QVERIFY(dialogs.asked().empty());

        const QString target
            = QString::fromStdString(server.scratch()) + QStringLiteral("/copy.bin");
        m_ftpPanel.setSaveDialog(SaveDialogSettings {});
        dialogs.queueText(target);
        doubleClickFirstRow();
        QVERIFY(clicked.wait(10000));
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QCOMPARE(dialogs.asked().front().initial, QStringLiteral("data.bin"));
        QFile copy(target);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("payload"));

        server.writeFile("data.bin", "");
        std::remove((server.home() + "/data.bin").c_str());
        dialogs.queueText(target);
        doubleClickFirstRow();
        QVERIFY(clicked.wait(10000));
        QCOMPARE(dialogs.messages().size(), std::size_t(1));
        QVERIFY(
            dialogs.messages().front().startsWith(QStringLiteral("Could not download data.bin: ")));
        copy.close();
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("payload")); // the old copy is kept whole
    }

    void aLibraryThatCannotStartIsReported()
    {
        FtpClient::simulateStartFailure(true);
        FtpPanel m_ftpPanel;
        FtpClient::simulateStartFailure(false);
        m_ftpPanel.setHostName(QStringLiteral("127.0.0.1:1"));
        m_ftpPanel.setLoginName(QStringLiteral("u"));
        m_ftpPanel.setPassword(QStringLiteral("p"));
        QCOMPARE(
            m_ftpPanel.connectToServer(), QStringLiteral("The FTP library could not be started."));
    }

    void publishCreatesThePageFirstThenSendsItWithOneBox()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.makeFolder("site");
        ScriptedDialogs dialogs;
        test::FakeShell shell;
        Project project;
        QVERIFY(loadProjectFile(STV_SAMPLE_DIR "/sample.stv", project).ok);
        Configuration config;
        FavouriteLists lists;
        loadConfiguration(STV_SAMPLE_DIR "/", config, lists);
        UploadWindow form;
        QVERIFY(!form.m_publishButton->isEnabled());
        form.setPublishPreparer([&] {
            return preparePublish(&form, project, lists, config.pageOptions,
                QStringLiteral(STV_SAMPLE_DIR "/sample.stv"));
        });
        QVERIFY(form.m_publishButton->isEnabled());
        form.m_hostEdit->setText(Host(server));
        form.m_userEdit->setText(QString::fromLatin1(FtpTestServer::User));
        form.m_passwordEdit->setText(QString::fromLatin1(FtpTestServer::password));
        form.m_initialDirEdit->setText(QStringLiteral("site"));
        form.show();

        // No page yet: Create Web Page runs first (its confirmation, file and test question),
        // once the connection is settled.
        const QString page
            = QString::fromStdString(server.scratch()) + QStringLiteral("/index.html");
        dialogs.queue(Answer::Ok); // the password may go over plain FTP
        dialogs.queue(Answer::Ok);
        dialogs.queue(Answer::Ok);
        dialogs.queueText(page);
        dialogs.queue(Answer::No);
        QSignalSpy progress(form.m_ftpPanel, &FtpPanel::progressChanged);
        form.m_publishButton->click();
        QCOMPARE(dialogs.asked().at(1).text,
            QStringLiteral("No web page has been created for this project yet.\n\n"
                           "Create Web Page first, then publish it?"));
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Published into /site on 127.0.0.1:\n\n"
                                                  "6 uploaded, 0 unchanged, 0 failed") });
        QVERIFY(dialogs.unexpected().empty());
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(2).toInt(), 6); // files done
        QCOMPARE(server.readFile("site/index.html"), test::ReadFileBytes(page.toStdString()));
        QVERIFY(Names(*form.m_ftpPanel).contains(QStringLiteral("hills.png")));
        QVERIFY(!form.m_progressBar->isVisible());

        // Published again unchanged: no question, nothing sent.
        dialogs.clear();
        form.m_publishButton->click();
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Published into /site on 127.0.0.1:\n\n"
                                                  "0 uploaded, 6 unchanged, 0 failed") });

        // A change not in the page yet: the user declines to create it, nothing is sent.
        project.pageTitle = "Another title";
        dialogs.clear();
        server.clearCommands();
        dialogs.queue(Answer::No);
        form.m_publishButton->click();
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QVERIFY(dialogs.asked().front().text.startsWith(
            QStringLiteral("The project has changes that are not in the web page yet.")));
        QVERIFY(server.commands().empty());
    }

    // An empty connection field is said before the page is checked or created, and the
    // cursor waits in that field.
    void publishSaysAnEmptyFieldFirst()
    {
        ScriptedDialogs dialogs;
        UploadWindow form;
        int prepared = 0;
        form.setPublishPreparer([&prepared] {
            ++prepared;
            return std::optional<PublishRequest>();
        });
        form.show();
        form.m_publishButton->click();
        form.m_hostEdit->setText(QStringLiteral("ftp://example.org"));
        form.m_publishButton->click();
        QCOMPARE(form.focusWidget(), static_cast<QWidget *>(form.m_userEdit));
        form.m_userEdit->setText(QStringLiteral("me"));
        form.m_publishButton->click();
        QCOMPARE(form.focusWidget(), static_cast<QWidget *>(form.m_passwordEdit));
        QCOMPARE(dialogs.messages(),
            (std::vector<QString> { QStringLiteral("HostName must be specified."),
                QStringLiteral("LoginName must be specified."),
                QStringLiteral("Password must be specified.") }));
        QCOMPARE(prepared, 0);
        QVERIFY(dialogs.unexpected().empty());
    }

    void theProjectsFieldsGoIntoTheWindowAndComeBack()
    {
        Project project;
        project.ftpHost = "sftp://example.org";
        project.ftpUserId = "me";
        project.keepPasswordInFile = true;
        QTimer::singleShot(0, [] {
            auto *form = qobject_cast<UploadWindow *>(QApplication::activeModalWidget());
            QVERIFY(form != nullptr);
            QCOMPARE(form->m_hostEdit->text(), QStringLiteral("sftp://example.org"));
            QVERIFY(form->m_publishButton->isEnabled());
            auto *keep = form->findChild<QCheckBox *>(QStringLiteral("KeepPasswordCB"));
            QVERIFY(keep != nullptr);
            QVERIFY(keep->isChecked());
            QCOMPARE(keep->text(), QStringLiteral("&Keep the password in the project file"));
            // Its letter is its own in the window (Alt+K), and a click unticks it.
            QStringList letters;
            for (const QWidget *w : form->findChildren<QWidget *>()) {
                QString text = w->property("text").toString();
                if (const auto *box = qobject_cast<const QGroupBox *>(w))
                    text = box->title();
                const qsizetype amp = text.indexOf(u'&');
                if (amp >= 0 && amp + 1 < text.size() && text[amp + 1] != u'&')
                    letters << text.mid(amp + 1, 1).toLower();
            }
            form->m_initialDirEdit->setText(QStringLiteral("www"));
            QTest::mouseClick(keep, Qt::LeftButton);
            const bool unticked = !keep->isChecked();
            form->close();
            QCOMPARE(letters.count(QStringLiteral("k")), 1);
            QCOMPARE(letters.removeDuplicates(), 0);
            QVERIFY(unticked);
        });
        runUploadWindow(nullptr, project, FavouriteLists {}, PageOptions {});
        QCOMPARE(project.ftpInitDir, std::string("www"));
        QCOMPARE(project.ftpUserId, std::string("me"));
        QVERIFY(!project.keepPasswordInFile);
    }

    void plainFtpShowsThatThePasswordTravelsUnencrypted()
    {
        const QString warning = QStringLiteral("Plain FTP: the password travels unencrypted");
        QCOMPARE(securityNote(QStringLiteral("ftp.example.com")), warning);
        QCOMPARE(securityNote(QStringLiteral("ftp://ftp.example.com:2121")), warning);
        QCOMPARE(securityNote(QStringLiteral("ftps://ftp.example.com")), QString());
        QCOMPARE(securityNote(QStringLiteral("sftp://example.com")), QString());
        QCOMPARE(securityNote(QString()), QString());
        UploadWindow form;
        form.m_hostEdit->setText(QStringLiteral("example.com"));
        QCOMPARE(form.m_securityLabel->text(), warning);
        form.m_hostEdit->setText(QStringLiteral("sftp://example.com"));
        QCOMPARE(form.m_securityLabel->text(), QString());
    }

    void anUntrustedCertificateIsRefusedNamingTheHostAndTheReason()
    {
        if (!test::CanRunVsftpd())
            QSKIP(test::VsftpdNeedsRoot);
        test::FtpsTestServer server("expired");
        REQUIRE_RUNNING(server);
        test::ScopedEnv trusted("SSL_CERT_FILE", server.ca());
        ScriptedDialogs dialogs;
        FtpPanel panel;
        panel.setHostName(QString::fromStdString(server.host()));
        panel.setLoginName(QStringLiteral("anonymous"));
        panel.setPassword(QStringLiteral("x"));
        QCOMPARE(panel.connectToServer(),
            QStringLiteral("Could not connect to ") + QString::fromStdString(server.host())
                + QStringLiteral(": the certificate of 127.0.0.1 has expired"));
    }

    void anUnknownSshHostKeyIsAskedAboutWithItsFingerprint()
    {
        test::SftpTestServer server({ "--known-hosts", "none" });
        REQUIRE_RUNNING(server);
        test::ScopedEnv home("HOME", server.home());
        ScriptedDialogs dialogs;
        FtpPanel panel;
        panel.setHostName(QString::fromStdString(server.host()));
        panel.setLoginName(QString::fromStdString(server.user()));
        // Refused: no connection, and the reason names the key.
        dialogs.queueCancel();
        QVERIFY(panel.connectToServer().endsWith(QStringLiteral("is not known (")
            + QString::fromStdString(server.fingerprint()) + u')'));
        QCOMPARE(dialogs.asked().back().buttons, Buttons::TrustKey);
        QVERIFY(dialogs.asked().back().text.contains(QString::fromStdString(server.fingerprint())));
        // Trusted and remembered: logged in with the key of HOME, and known_hosts has the line.
        dialogs.queue(Answer::Yes);
        QCOMPARE(panel.connectToServer(), QString());
        QVERIFY(panel.connection() != nullptr);
        QVERIFY(test::ReadFileBytes(server.home() + "/.ssh/known_hosts")
                    .rfind("[127.0.0.1]:" + std::to_string(server.port()) + " ssh-ed25519 ", 0)
            == 0);
    }

    void droppedFilesAreUploadedOverFtpsAndSftpToo()
    {
        if (!test::CanRunVsftpd())
            QSKIP(test::VsftpdNeedsRoot);
        test::FtpsTestServer ftps;
        REQUIRE_RUNNING(ftps);
        test::SftpTestServer sftp;
        REQUIRE_RUNNING(sftp);
        test::ScopedEnv trusted("SSL_CERT_FILE", ftps.ca());
        test::ScopedEnv home("HOME", sftp.home());
        const std::string file = sftp.home() + "/dropped page.html";
        std::ofstream(file, std::ios::binary) << "<p>dropped</p>";
        struct Target {
            std::string host, user, password, dir, folder;
        };
        for (const Target &t : { Target { ftps.host(), "anonymous", "x", "upload", ftps.folder() },
                 Target { sftp.host(), sftp.user(), "", "", sftp.folder() } }) {
            ScriptedDialogs dialogs;
            FtpPanel panel;
            panel.setActive(true);
            panel.setHostName(QString::fromStdString(t.host));
            panel.setLoginName(QString::fromStdString(t.user));
            panel.setPassword(QString::fromStdString(t.password));
            panel.setRemoteDir(QString::fromStdString(t.dir));
            QCOMPARE(panel.connectToServer(), QString());
            QVERIFY(DropFiles(panel, { file }));
            QVERIFY(dialogs.asked().empty());
            QCOMPARE(test::ReadFileBytes(t.folder + "/dropped page.html"),
                std::string("<p>dropped</p>"));
            QVERIFY(Names(panel).contains(QStringLiteral("dropped page.html")));
        }
    }

    void errorBoxAddsAFullStopAfterLettersOnly()
    {
        QCOMPARE(errorBoxText(QStringLiteral("HostName must be specified")),
            QStringLiteral("HostName must be specified."));
        QCOMPARE(errorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
        QCOMPARE(errorBoxText(QStringLiteral("Could not connect to host!")),
            QStringLiteral("Could not connect to host!"));
        QCOMPARE(errorBoxText(QStringLiteral("to 10.0.0.1")), QStringLiteral("to 10.0.0.1."));
    }

    void theWindowCopiesItsEditsAsTypedOnConnect()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.makeFolder("site");
        server.writeFile("site/index.html", std::string(2048, 'i'));
        server.writeFile("site/logo.gif", std::string(512, 'g'));
        server.makeFolder("site/images");
        server.setTime("site/index.html", 2024, 5, 17, 14, 30, 11);
        server.setTime("site/logo.gif", 2023, 11, 2, 0, 0, 0);
        server.setTime("site/images", 2024, 1, 9, 8, 5, 0);

        ScriptedDialogs dialogs;
        UploadWindow form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Simple FTP Client"));
        QCOMPARE(form.m_passwordEdit->echoMode(), QLineEdit::Password);
        QVERIFY(form.m_ftpPanel->isActive());
        QCOMPARE(form.m_ftpPanel->statusLabel(), form.m_statusLabel);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // The password is still empty: the box says so and nothing reaches the server.
        QTest::keyClicks(form.m_hostEdit, Host(server) + u' ');
        QTest::keyClicks(form.m_userEdit, QString::fromLatin1(FtpTestServer::User));
        QTest::keyClicks(form.m_initialDirEdit, QStringLiteral("site"));
        QTest::mouseClick(form.m_connectButton, Qt::LeftButton);
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Password must be specified.") });
        QTest::qWait(200);
        QVERIFY(server.commands().empty());

        QTest::keyClicks(form.m_passwordEdit, QString::fromLatin1(FtpTestServer::password));
        dialogs.queue(Answer::Ok); // the password may go over plain FTP
        QTest::mouseClick(form.m_connectButton, Qt::LeftButton);
        QCOMPARE(form.m_ftpPanel->hostName(), Host(server) + u' ');
        QCOMPARE(form.m_ftpPanel->loginName(), QString::fromLatin1(FtpTestServer::User));
        QCOMPARE(form.m_ftpPanel->password(), QString::fromLatin1(FtpTestServer::password));
        QCOMPARE(form.m_ftpPanel->remoteDir(), QStringLiteral("site"));
        QCOMPARE(form.m_statusLabel->text(), QStringLiteral("Connected to ") + Host(server) + u' ');
        QCOMPARE(Names(*form.m_ftpPanel),
            (QStringList { QStringLiteral("images"), QStringLiteral("index.html"),
                QStringLiteral("logo.gif") }));
        QCOMPARE(dialogs.messages().size(), std::size_t(1));
        QVERIFY(form.m_connectButton->isEnabled());

        const QByteArray shot = qgetenv("STV_UPLOAD_SCREENSHOT");
        if (!shot.isEmpty())
            QVERIFY(form.grab().save(QString::fromLocal8Bit(shot)));

        FtpSettings values { "ftp.example.com", "me", "pa\xE9ss", " dir " };
        form.setSettings(values);
        QCOMPARE(form.m_passwordEdit->text(), QStringLiteral("pa\u00E9ss"));
        QCOMPARE(form.settings(), values);
    }
};

QTEST_MAIN(UploadWindowTest)
#include "UploadWindowTest.moc"
