#include "FtpTestServer.h"

#include "platform/Dialogs.h"
#include "upload/FTPUnit.h"
#include "upload/ddftp.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
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

void Configure(TDragDropFTP &ftp, const FtpTestServer &server, const QString &dir = {})
{
    ftp.setHostName(Host(server));
    ftp.setLoginName(QString::fromLatin1(FtpTestServer::User));
    ftp.setPassword(QString::fromLatin1(FtpTestServer::Password));
    ftp.setRemoteDir(dir);
}

// Rows as "name|size|date", sorted (the server's order is its own).
QStringList Rows(const TDragDropFTP &ftp)
{
    QStringList rows;
    const QStandardItemModel *m = ftp.FileListModel();
    for (int r = 0; r < m->rowCount(); ++r)
        rows << m->item(r, 0)->text() + u'|' + m->item(r, 1)->text() + u'|' + m->item(r, 2)->text();
    rows.sort();
    return rows;
}

QStringList Names(const TDragDropFTP &ftp)
{
    QStringList names;
    for (const QString &row : Rows(ftp))
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
bool DropFiles(TDragDropFTP &ftp, const std::vector<std::string> &paths)
{
    QList<QUrl> urls;
    for (const std::string &p : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(p));
    QMimeData mime;
    mime.setUrls(urls);
    QWidget *target = ftp.FileList()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QSignalSpy changed(&ftp, &TDragDropFTP::OnChange);
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
        TDragDropFTP ftp;
        QLabel status;
        ftp.setStatusLabel(&status);
        Configure(ftp, server);
        QCOMPARE(ftp.Connect(), QString());
        QCOMPARE(ftp.FileListModel()->rowCount(), 1);
        server.clearCommands();

        ftp.setHostName({});
        ftp.setLoginName({});
        ftp.setPassword({});
        QCOMPARE(ftp.Connect(), QStringLiteral("HostName must be specified"));
        QCOMPARE(ftp.FileListModel()->rowCount(), 0);
        ftp.setHostName(Host(server));
        QCOMPARE(ftp.Connect(), QStringLiteral("LoginName must be specified"));
        ftp.setLoginName(QStringLiteral("tester"));
        QCOMPARE(ftp.Connect(), QStringLiteral("Password must be specified"));
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
        TDragDropFTP ftp;
        QLabel status;
        ftp.setStatusLabel(&status);
        Configure(ftp, server);
        QCOMPARE(ftp.Connect(), QString());
        QCOMPARE(Rows(ftp),
            (QStringList { QStringLiteral("empty||03/02/2001"),
                QStringLiteral("index.html|1234|03/02/2001"),
                QStringLiteral("pictures||03/02/2001"), QStringLiteral("zero.txt||03/02/2001") }));
        QCOMPARE(status.text(), QStringLiteral("Connected to ") + Host(server));
        QVERIFY(ftp.Connection() != nullptr);
        QCOMPARE(ftp.Connection()->usesMlsd(), !noMlsd);

        ftp.setRemoteDir(QStringLiteral("empty"));
        QCOMPARE(ftp.Connect(), QString());
        QCOMPARE(ftp.FileListModel()->rowCount(), 0);
        QVERIFY(dialogs.asked().empty());
    }

    void datesGoThroughTheDosFields()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("y2k.txt", "1");
        server.setTime("y2k.txt", 1999, 12, 31, 23, 59, 59);
        TDragDropFTP ftp;
        Configure(ftp, server);
        QCOMPARE(ftp.Connect(), QString());
        QCOMPARE(Rows(ftp), QStringList { QStringLiteral("y2k.txt|1|31/12/1999 23:59:58") });
        QCOMPARE(ListingDateText({ 2001, 2, 3, 0, 0, 0 }, QLocale()), QStringLiteral("03/02/2001"));
        QCOMPARE(ListingDateText({ 2001, 2, 3, 0, 0, 2 }, QLocale()),
            QStringLiteral("03/02/2001 00:00:02"));
        QCOMPARE(ListingDateText({ 2001, 2, 31, 0, 0, 0 }, QLocale()), QString());
    }

    void refusedLoginsAndClosedPortsCannotConnect()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        TDragDropFTP ftp;
        QLabel status;
        ftp.setStatusLabel(&status);
        Configure(ftp, server);
        ftp.setPassword(QStringLiteral("wrong"));
        QCOMPARE(ftp.Connect(), QStringLiteral("Could not connect to ") + Host(server));
        QCOMPARE(status.text(), QStringLiteral("Connecting to ") + Host(server));
        QVERIFY(ftp.Connection() == nullptr);

        const QString closed = QStringLiteral("127.0.0.1:%1").arg(test::ClosedPort());
        ftp.setHostName(closed);
        ftp.setPassword(QString::fromLatin1(FtpTestServer::Password));
        QCOMPARE(ftp.Connect(), QStringLiteral("Could not connect to ") + closed);
        QCOMPARE(ftp.FileListModel()->rowCount(), 0);
        QCOMPARE(
            ErrorBoxText(ftp.Connect()), QStringLiteral("Could not connect to ") + closed + u'.');
    }

    void theWindowKeepsRunningWhileAServerIsSilentUntilTheTimeLimit()
    {
        test::SilentServer silent;
        TDragDropFTP ftp;
        FtpLimits limits;
        limits.connectSeconds = 1;
        limits.stallSeconds = 1;
        ftp.setLimits(limits);
        const QString host = QStringLiteral("127.0.0.1:%1").arg(silent.port());
        ftp.setHostName(host);
        ftp.setLoginName(QStringLiteral("u"));
        ftp.setPassword(QStringLiteral("p"));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        QCOMPARE(ftp.Connect(), QStringLiteral("Could not connect to ") + host);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    }

    void aDirectoryThatCannotBeEnteredIsReportedAndTheLoginDirectoryListed()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("top.txt", "12");
        ScriptedDialogs dialogs;
        TDragDropFTP ftp;
        Configure(ftp, server, QStringLiteral("nosuch"));
        QCOMPARE(ftp.Connect(), QString());
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Could not change to nosuch") });
        QCOMPARE(Names(ftp), QStringList { QStringLiteral("top.txt") });
    }

    void threeDroppedFilesAreUploadedInOrderAndListedOnce()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.makeFolder("site");
        const std::vector<std::string> files = { Local(server, "page.html", "<p>page</p>"),
            Local(server, "b photo.jpg", std::string(3000, 'j')), Local(server, "a.css", "p{}") };
        ScriptedDialogs dialogs;
        TDragDropFTP ftp;
        ftp.setActive(true);
        Configure(ftp, server, QStringLiteral("site"));
        QCOMPARE(ftp.Connect(), QString());
        server.clearCommands();

        QVERIFY(DropFiles(ftp, files));
        QVERIFY(dialogs.asked().empty());
        QCOMPARE(server.readFile("site/page.html"), std::string("<p>page</p>"));
        QCOMPARE(server.readFile("site/b photo.jpg"), std::string(3000, 'j'));
        QStringList sizes;
        for (const QString &row : Rows(ftp))
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
        TDragDropFTP ftp;
        ftp.setActive(true);
        Configure(ftp, server);
        QCOMPARE(ftp.Connect(), QString());
        QVERIFY(DropFiles(ftp, files));
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
        QVERIFY(!box.contains(QString::fromLatin1(FtpTestServer::Password)));
        QCOMPARE(Names(ftp), (QStringList { QStringLiteral("a.txt"), QStringLiteral("c.txt") }));
    }

    void uploadBrokenOffHalfWayIsReported()
    {
        ServerOptions options;
        options.dropUploadAfter = 64 * 1024;
        FtpTestServer server(options);
        REQUIRE_RUNNING(server);
        const std::string big = Local(server, "big.bin", std::string(4 << 20, 'x'));
        ScriptedDialogs dialogs;
        TDragDropFTP ftp;
        ftp.setActive(true);
        Configure(ftp, server);
        QCOMPARE(ftp.Connect(), QString());
        QVERIFY(DropFiles(ftp, { big }));
        QCOMPARE(dialogs.asked().size(), std::size_t(1));
        QCOMPARE(dialogs.asked().front().what, QStringLiteral("error"));
        const QString box = dialogs.asked().front().text;
        QVERIFY2(box.startsWith(QStringLiteral("This file was not uploaded:\n\nbig.bin: ")),
            qPrintable(box));
    }

    void filesDroppedBeforeConnectingAreReportedNotLost()
    {
        ScriptedDialogs dialogs;
        TDragDropFTP ftp;
        QSignalSpy changed(&ftp, &TDragDropFTP::OnChange);
        ftp.uploadFiles({ QStringLiteral("/tmp/x/index.html") });
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
        TDragDropFTP ftp;
        QVERIFY(!DropFiles(ftp, { Local(server, "a.txt", "a") }));
        ftp.setActive(true);
        QMimeData text;
        text.setText(QStringLiteral("not a file"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ftp.FileList()->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void doubleClickDownloadsOnlyWithASaveDialog()
    {
        FtpTestServer server;
        REQUIRE_RUNNING(server);
        server.writeFile("data.bin", "payload");
        ScriptedDialogs dialogs;
        TDragDropFTP ftp;
        ftp.resize(400, 300);
        ftp.show();
        Configure(ftp, server);
        QCOMPARE(ftp.Connect(), QString());
        QSignalSpy clicked(&ftp, &TDragDropFTP::OnDblClick);
        const auto doubleClickFirstRow = [&] {
            const QModelIndex index = ftp.FileListModel()->index(0, 0);
            ftp.FileList()->setCurrentIndex(index);
            QTest::mouseDClick(ftp.FileList()->viewport(), Qt::LeftButton, {},
                ftp.FileList()->visualRect(index).center());
        };
        doubleClickFirstRow();
        QVERIFY(clicked.wait(5000));
        QVERIFY(dialogs.asked().empty());

        const QString target
            = QString::fromStdString(server.scratch()) + QStringLiteral("/copy.bin");
        ftp.setSaveDialog(TSaveDialog {});
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
        TDragDropFTP ftp;
        FtpClient::simulateStartFailure(false);
        ftp.setHostName(QStringLiteral("127.0.0.1:1"));
        ftp.setLoginName(QStringLiteral("u"));
        ftp.setPassword(QStringLiteral("p"));
        QCOMPARE(ftp.Connect(), QStringLiteral("The FTP library could not be started."));
    }

    void errorBoxAddsAFullStopAfterLettersOnly()
    {
        QCOMPARE(ErrorBoxText(QStringLiteral("HostName must be specified")),
            QStringLiteral("HostName must be specified."));
        QCOMPARE(ErrorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
        QCOMPARE(ErrorBoxText(QStringLiteral("Could not connect to host!")),
            QStringLiteral("Could not connect to host!"));
        QCOMPARE(ErrorBoxText(QStringLiteral("to 10.0.0.1")), QStringLiteral("to 10.0.0.1."));
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
        TFTPForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Simple FTP Client"));
        QCOMPARE(form.PasswordEdit->echoMode(), QLineEdit::Password);
        QVERIFY(form.ftp->Active());
        QCOMPARE(form.ftp->StatusLabel(), form.Label5);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // The password is still empty: the box says so and nothing reaches the server.
        QTest::keyClicks(form.HostEdit, Host(server) + u' ');
        QTest::keyClicks(form.UserIDEdit, QString::fromLatin1(FtpTestServer::User));
        QTest::keyClicks(form.InitDirEdit, QStringLiteral("site"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(dialogs.messages(),
            std::vector<QString> { QStringLiteral("Password must be specified.") });
        QTest::qWait(200);
        QVERIFY(server.commands().empty());

        QTest::keyClicks(form.PasswordEdit, QString::fromLatin1(FtpTestServer::Password));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.ftp->HostName(), Host(server) + u' ');
        QCOMPARE(form.ftp->LoginName(), QString::fromLatin1(FtpTestServer::User));
        QCOMPARE(form.ftp->Password(), QString::fromLatin1(FtpTestServer::Password));
        QCOMPARE(form.ftp->RemoteDir(), QStringLiteral("site"));
        QCOMPARE(form.Label5->text(), QStringLiteral("Connected to ") + Host(server) + u' ');
        QCOMPARE(Names(*form.ftp),
            (QStringList { QStringLiteral("images"), QStringLiteral("index.html"),
                QStringLiteral("logo.gif") }));
        QCOMPARE(dialogs.messages().size(), std::size_t(1));
        QVERIFY(form.Button1->isEnabled());

        const QByteArray shot = qgetenv("STV_UPLOAD_SCREENSHOT");
        if (!shot.isEmpty())
            QVERIFY(form.grab().save(QString::fromLocal8Bit(shot)));

        FtpSettings values { "ftp.example.com", "me", "pa\xE9ss", " dir " };
        form.setSettings(values);
        QCOMPARE(form.PasswordEdit->text(), QStringLiteral("pa\u00E9ss"));
        QCOMPARE(form.settings(), values);
    }
};

QTEST_MAIN(UploadWindowTest)
#include "UploadWindowTest.moc"
