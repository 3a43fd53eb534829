#include "support/Controls.h"
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
using stv::test::control;
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

void Configure(FtpPanel &panel, const FtpTestServer &server, const QString &dir = {})
{
    panel.setHostName(Host(server));
    panel.setLoginName(QString::fromLatin1(FtpTestServer::User));
    panel.setPassword(QString::fromLatin1(FtpTestServer::password));
    panel.setRemoteDir(dir);
}

// Rows as "name|size|date", sorted (the server's order is its own).
QStringList Rows(const FtpPanel &panel)
{
    QStringList rows;
    const ListingModel *m = panel.fileListModel();
    const auto cell = [m](int r, int c) { return m->index(r, c).data().toString(); };
    for (int r = 0; r < m->rowCount(); ++r)
        rows << cell(r, 0) + u'|' + cell(r, 1) + u'|' + cell(r, 2);
    rows.sort();
    return rows;
}

QStringList Names(const FtpPanel &panel)
{
    QStringList names;
    for (const QString &row : Rows(panel))
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
bool DropFiles(FtpPanel &panel, const std::vector<std::string> &paths)
{
    QList<QUrl> urls;
    for (const std::string &p : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(p));
    QMimeData mime;
    mime.setUrls(urls);
    QWidget *target = panel.fileList()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QSignalSpy changed(&panel, &FtpPanel::changed);
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
        FtpPanel panel;
        QLabel status;
        panel.setStatusLabel(&status);
        Configure(panel, server);
        QCOMPARE(panel.connectToServer(), QString());
        QCOMPARE(panel.fileListModel()->rowCount(), 1);
        server.clearCommands();

        panel.setHostName({});
        panel.setLoginName({});
        panel.setPassword({});
        QCOMPARE(panel.connectToServer(), QStringLiteral("HostName must be specified"));
        QCOMPARE(panel.fileListModel()->rowCount(), 0);
        panel.setHostName(Host(server));
        QCOMPARE(panel.connectToServer(), QStringLiteral("LoginName must be specified"));
        panel.setLoginName(QStringLiteral("tester"));
        QCOMPARE(panel.connectToServer(), QStringLiteral("Password must be specified"));
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
        FtpPanel panel;
        QLabel status;
        panel.setStatusLabel(&status);
        Configure(panel, server);
        QCOMPARE(panel.connectToServer(), QString());
        QCOMPARE(Rows(panel),
            (QStringList { QStringLiteral("empty||03/02/2001"),
                QStringLiteral("index.html|1234|03/02/2001"),
                QStringLiteral("pictures||03/02/2001"), QStringLiteral("zero.txt||03/02/2001") }));
        QCOMPARE(status.text(), QStringLiteral("Connected to ") + Host(server));
        QVERIFY(panel.connection() != nullptr);
        QCOMPARE(panel.connection()->usesMlsd(), !noMlsd);

        panel.setRemoteDir(QStringLiteral("empty"));
        QCOMPARE(panel.connectToServer(), QString());
        QCOMPARE(panel.fileListModel()->rowCount(), 0);
        QVERIFY(dialogs.asked().empty());
    }

    void datesGoThroughTheDosFields()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("y2k.txt", "1");
        server.setTime("y2k.txt", 1999, 12, 31, 23, 59, 59);
        FtpPanel panel;
        Configure(panel, server);
        QCOMPARE(panel.connectToServer(), QString());
        QCOMPARE(Rows(panel), QStringList { QStringLiteral("y2k.txt|1|31/12/1999 23:59:58") });
        QCOMPARE(listingDateText({ 2001, 2, 3, 0, 0, 0 }, QLocale()), QStringLiteral("03/02/2001"));
        QCOMPARE(listingDateText({ 2001, 2, 3, 0, 0, 2 }, QLocale()),
            QStringLiteral("03/02/2001 00:00:02"));
        QCOMPARE(listingDateText({ 2001, 2, 31, 0, 0, 0 }, QLocale()), QString());
    }

    void refusedLoginsAndClosedPortsCannotConnect()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        FtpPanel panel;
        QLabel status;
        panel.setStatusLabel(&status);
        Configure(panel, server);
        panel.setPassword(QStringLiteral("wrong"));
        QCOMPARE(panel.connectToServer(), QStringLiteral("Could not connect to ") + Host(server));
        QCOMPARE(status.text(), QStringLiteral("Connecting to ") + Host(server));
        QVERIFY(panel.connection() == nullptr);

        const QString closed = QStringLiteral("127.0.0.1:%1").arg(test::ClosedPort());
        panel.setHostName(closed);
        panel.setPassword(QString::fromLatin1(FtpTestServer::password));
        QCOMPARE(panel.connectToServer(), QStringLiteral("Could not connect to ") + closed);
        QCOMPARE(panel.fileListModel()->rowCount(), 0);
        QCOMPARE(errorBoxText(panel.connectToServer()),
            QStringLiteral("Could not connect to ") + closed + u'.');
    }

    void theWindowKeepsRunningWhileAServerIsSilentUntilTheTimeLimit()
    {
        test::SilentServer silent;
        FtpPanel panel;
        FtpLimits limits;
        limits.connectSeconds = 1;
        limits.stallSeconds = 1;
        panel.setLimits(limits);
        const QString host = QStringLiteral("127.0.0.1:%1").arg(silent.port());
        panel.setHostName(host);
        panel.setLoginName(QStringLiteral("u"));
        panel.setPassword(QStringLiteral("p"));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        QCOMPARE(panel.connectToServer(), QStringLiteral("Could not connect to ") + host);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    }

    void aDirectoryThatCannotBeEnteredIsReportedAndTheLoginDirectoryListed()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("top.txt", "12");
        ScriptedDialogs dialogs;
        FtpPanel panel;
        Configure(panel, server, QStringLiteral("nosuch"));
        QCOMPARE(panel.connectToServer(), QString());
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Could not change to nosuch") });
        QCOMPARE(Names(panel), QStringList { QStringLiteral("top.txt") });
    }

    void threeDroppedFilesAreUploadedInOrderAndListedOnce()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.makeFolder("site");
        const std::vector<std::string> files = { Local(server, "page.html", "<p>page</p>"),
            Local(server, "b photo.jpg", std::string(3000, 'j')), Local(server, "a.css", "p{}") };
        ScriptedDialogs dialogs;
        FtpPanel panel;
        panel.setActive(true);
        Configure(panel, server, QStringLiteral("site"));
        QCOMPARE(panel.connectToServer(), QString());
        server.clearCommands();

        QVERIFY(DropFiles(panel, files));
        QVERIFY(dialogs.asked().empty());
        QCOMPARE(server.readFile("site/page.html"), std::string("<p>page</p>"));
        QCOMPARE(server.readFile("site/b photo.jpg"), std::string(3000, 'j'));
        QStringList sizes;
        for (const QString &row : Rows(panel))
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
        FtpPanel panel;
        panel.setActive(true);
        Configure(panel, server);
        QCOMPARE(panel.connectToServer(), QString());
        QVERIFY(DropFiles(panel, files));
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
        QCOMPARE(Names(panel), (QStringList { QStringLiteral("a.txt"), QStringLiteral("c.txt") }));
    }

    void uploadBrokenOffHalfWayIsReported()
    {
        ServerOptions options;
        options.dropUploadAfter = 64 * 1024;
        FtpTestServer server(options);
        REQUIRE_RUNNING(server);
        const std::string big = Local(server, "big.bin", std::string(4 << 20, 'x'));
        ScriptedDialogs dialogs;
        FtpPanel panel;
        panel.setActive(true);
        Configure(panel, server);
        QCOMPARE(panel.connectToServer(), QString());
        QVERIFY(DropFiles(panel, { big }));
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QCOMPARE(dialogs.asked().front().what, QStringLiteral("error"));
        const QString box = dialogs.asked().front().text;
        QVERIFY2(box.startsWith(QStringLiteral("This file was not uploaded:\n\nbig.bin: ")),
            qPrintable(box));
    }

    void filesDroppedBeforeConnectingAreReportedNotLost()
    {
        ScriptedDialogs dialogs;
        FtpPanel panel;
        QSignalSpy changed(&panel, &FtpPanel::changed);
        panel.uploadFiles({ QStringLiteral("/tmp/x/index.html") });
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
        FtpPanel panel;
        QVERIFY(!DropFiles(panel, { Local(server, "a.txt", "a") }));
        panel.setActive(true);
        QMimeData text;
        text.setText(QStringLiteral("not a file"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel.fileList()->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void doubleClickDownloadsOnlyWithASaveDialog()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("data.bin", "payload");
        ScriptedDialogs dialogs;
        FtpPanel panel;
        panel.resize(400, 300);
        panel.show();
        Configure(panel, server);
        QCOMPARE(panel.connectToServer(), QString());
        QSignalSpy clicked(&panel, &FtpPanel::doubleClicked);
        const auto doubleClickFirstRow = [&] {
            const QModelIndex index = panel.fileListModel()->index(0, 0);
            panel.fileList()->setCurrentIndex(index);
            QTest::mouseDClick(panel.fileList()->viewport(), Qt::LeftButton, {},
                panel.fileList()->visualRect(index).center());
        };
        doubleClickFirstRow();
        QVERIFY(clicked.wait(5000));
        QVERIFY(dialogs.asked().empty());

        const QString target
            = QString::fromStdString(server.scratch()) + QStringLiteral("/copy.bin");
        panel.setSaveDialog(SaveDialogSettings {});
        dialogs.queueText(target);
        doubleClickFirstRow();
        QVERIFY(clicked.wait(10000));
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QCOMPARE(dialogs.asked().front().initial, QDir::homePath() + QStringLiteral("/data.bin"));
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

    // The window downloads on a double-click; the server's name is made safe before the save
    // dialog proposes it, and a dialog given up fetches nothing.
    void theWindowDownloadsADoubleClickedFileUnderASafeName()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile(".a..b", "remote bytes");
        ScriptedDialogs dialogs;
        UploadWindow form;
        control<QLineEdit>(form, "HostEdit")->setText(Host(server));
        control<QLineEdit>(form, "UserIDEdit")->setText(QString::fromLatin1(FtpTestServer::User));
        control<QLineEdit>(form, "PasswordEdit")
            ->setText(QString::fromLatin1(FtpTestServer::password));
        dialogs.queue(Answer::Ok); // the password may go over plain FTP
        form.show();
        control<QPushButton>(form, "Button1")->click();
        auto *list = control<QTreeView>(form, "FileList");
        QTRY_COMPARE_WITH_TIMEOUT(list->model()->rowCount(), 1, 10000);
        // The download starts once the double-click has been answered.
        const auto doubleClickRow = [&] {
            const QModelIndex index = list->model()->index(0, 0);
            list->setCurrentIndex(index);
            const std::size_t before = dialogs.asked().size();
            QTest::mouseDClick(
                list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
            QTRY_COMPARE(dialogs.asked().size(), before + 1);
        };
        dialogs.queueCancel();
        doubleClickRow();
        QCOMPARE(dialogs.asked().back().what, QStringLiteral("save"));
        QCOMPARE(dialogs.asked().back().initial, QDir::homePath() + QStringLiteral("/a_b"));

        const QString target = QString::fromStdString(server.scratch()) + QStringLiteral("/a_b");
        dialogs.queueText(target);
        doubleClickRow();
        QTRY_COMPARE(control<QLabel>(form, "Label5")->text(), QStringLiteral("Downloaded .a..b"));
        QFile copy(target);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("remote bytes"));
        QVERIFY(dialogs.messages().empty());
    }

    void aLibraryThatCannotStartIsReported()
    {
        FtpClient::simulateStartFailure(true);
        FtpPanel panel;
        FtpClient::simulateStartFailure(false);
        panel.setHostName(QStringLiteral("127.0.0.1:1"));
        panel.setLoginName(QStringLiteral("u"));
        panel.setPassword(QStringLiteral("p"));
        QCOMPARE(panel.connectToServer(), QStringLiteral("The FTP library could not be started."));
    }

    void publishCreatesThePageFirstThenSendsItWithOneBox()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.makeFolder("site");
        ScriptedDialogs dialogs;
        test::FakeShell shell;
        Project project;
        QVERIFY(loadProjectFile(STV_SAMPLE_DIR "/sample.stv", project).ok());
        Configuration config;
        FavouriteLists lists;
        QVERIFY(loadConfiguration(STV_SAMPLE_DIR "/", config, lists).ok());
        UploadWindow form;
        QVERIFY(!control<QPushButton>(form, "PublishButton")->isEnabled());
        form.setPublishPreparer([&] {
            return preparePublish(&form, project, lists, config.pageOptions,
                QStringLiteral(STV_SAMPLE_DIR "/sample.stv"));
        });
        QVERIFY(control<QPushButton>(form, "PublishButton")->isEnabled());
        control<QLineEdit>(form, "HostEdit")->setText(Host(server));
        control<QLineEdit>(form, "UserIDEdit")->setText(QString::fromLatin1(FtpTestServer::User));
        control<QLineEdit>(form, "PasswordEdit")
            ->setText(QString::fromLatin1(FtpTestServer::password));
        control<QLineEdit>(form, "InitDirEdit")->setText(QStringLiteral("site"));
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
        QSignalSpy progress(control<FtpPanel>(form, "ftp"), &FtpPanel::progressChanged);
        control<QPushButton>(form, "PublishButton")->click();
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
        QVERIFY(Names(*control<FtpPanel>(form, "ftp")).contains(QStringLiteral("hills.png")));
        QVERIFY(!control<QProgressBar>(form, "PublishProgress")->isVisible());

        // Published again unchanged: no question, nothing sent.
        dialogs.clear();
        control<QPushButton>(form, "PublishButton")->click();
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Published into /site on 127.0.0.1:\n\n"
                                                  "0 uploaded, 6 unchanged, 0 failed") });

        // A change not in the page yet: the user declines to create it, nothing is sent.
        project.pageTitle = "Another title";
        dialogs.clear();
        server.clearCommands();
        dialogs.queue(Answer::No);
        control<QPushButton>(form, "PublishButton")->click();
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
        auto *publish = control<QPushButton>(form, "PublishButton");
        publish->click();
        control<QLineEdit>(form, "HostEdit")->setText(QStringLiteral("ftp://example.org"));
        publish->click();
        auto *user = control<QLineEdit>(form, "UserIDEdit");
        QCOMPARE(form.focusWidget(), static_cast<QWidget *>(user));
        user->setText(QStringLiteral("me"));
        publish->click();
        QCOMPARE(
            form.focusWidget(), static_cast<QWidget *>(control<QLineEdit>(form, "PasswordEdit")));
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
            QCOMPARE(control<QLineEdit>(*form, "HostEdit")->text(),
                QStringLiteral("sftp://example.org"));
            QVERIFY(control<QPushButton>(*form, "PublishButton")->isEnabled());
            auto *keep = control<QCheckBox>(*form, "KeepPasswordCB");
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
            control<QLineEdit>(*form, "InitDirEdit")->setText(QStringLiteral("www"));
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
        control<QLineEdit>(form, "HostEdit")->setText(QStringLiteral("example.com"));
        QCOMPARE(control<QLabel>(form, "SecurityLabel")->text(), warning);
        control<QLineEdit>(form, "HostEdit")->setText(QStringLiteral("sftp://example.com"));
        QCOMPARE(control<QLabel>(form, "SecurityLabel")->text(), QString());
    }

    // The note and a long status each show whole, one above the other; the status wraps
    // rather than widening the window.
    void aLongStatusShowsWholeBesideThePlainFtpNote()
    {
        UploadWindow form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int width = form.width();
        control<QLineEdit>(form, "HostEdit")->setText(QStringLiteral("ftp://ftp.example.com"));
        control<FtpPanel>(form, "ftp")
            ->showStatus(
                QStringLiteral("Sending index.html into /public_html/site on ftp.example.com"));
        const QLabel *note = control<QLabel>(form, "SecurityLabel");
        const QLabel *status = control<QLabel>(form, "Label5");
        const auto fits = [](const QLabel *label) {
            const QRect room = label->contentsRect();
            return label->isVisible()
                && room.contains(label->fontMetrics().boundingRect(
                    room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, label->text()));
        };
        QTRY_VERIFY(fits(note) && fits(status));
        QVERIFY(!note->geometry().intersects(status->geometry()));
        QCOMPARE(form.width(), width);
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
        QCOMPARE(control<QLineEdit>(form, "PasswordEdit")->echoMode(), QLineEdit::Password);
        QVERIFY(control<FtpPanel>(form, "ftp")->isActive());
        QCOMPARE(control<FtpPanel>(form, "ftp")->statusLabel(), control<QLabel>(form, "Label5"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // The password is still empty: the box says so and nothing reaches the server.
        QTest::keyClicks(control<QLineEdit>(form, "HostEdit"), Host(server) + u' ');
        QTest::keyClicks(
            control<QLineEdit>(form, "UserIDEdit"), QString::fromLatin1(FtpTestServer::User));
        QTest::keyClicks(control<QLineEdit>(form, "InitDirEdit"), QStringLiteral("site"));
        QTest::mouseClick(control<QPushButton>(form, "Button1"), Qt::LeftButton);
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Password must be specified.") });
        QTest::qWait(200);
        QVERIFY(server.commands().empty());

        QTest::keyClicks(
            control<QLineEdit>(form, "PasswordEdit"), QString::fromLatin1(FtpTestServer::password));
        dialogs.queue(Answer::Ok); // the password may go over plain FTP
        QTest::mouseClick(control<QPushButton>(form, "Button1"), Qt::LeftButton);
        QCOMPARE(control<FtpPanel>(form, "ftp")->hostName(), Host(server) + u' ');
        QCOMPARE(
            control<FtpPanel>(form, "ftp")->loginName(), QString::fromLatin1(FtpTestServer::User));
        QCOMPARE(control<FtpPanel>(form, "ftp")->password(),
            QString::fromLatin1(FtpTestServer::password));
        QCOMPARE(control<FtpPanel>(form, "ftp")->remoteDir(), QStringLiteral("site"));
        QCOMPARE(control<QLabel>(form, "Label5")->text(),
            QStringLiteral("Connected to ") + Host(server) + u' ');
        QCOMPARE(Names(*control<FtpPanel>(form, "ftp")),
            (QStringList { QStringLiteral("images"), QStringLiteral("index.html"),
                QStringLiteral("logo.gif") }));
        QCOMPARE(dialogs.messages().size(), std::size_t(1));
        QVERIFY(control<QPushButton>(form, "Button1")->isEnabled());

        const QByteArray shot = qgetenv("STV_UPLOAD_SCREENSHOT");
        if (!shot.isEmpty())
            QVERIFY(form.grab().save(QString::fromLocal8Bit(shot)));

        FtpSettings values { "ftp.example.com", "me", "pa\xE9ss", " dir " };
        form.setSettings(values);
        QCOMPARE(control<QLineEdit>(form, "PasswordEdit")->text(), QStringLiteral("pa\u00E9ss"));
        QCOMPARE(form.settings(), values);
    }
};

QTEST_MAIN(UploadWindowTest)
#include "UploadWindowTest.moc"
