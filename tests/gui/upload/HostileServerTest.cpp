// No server can hang the program: a listing dripped a byte at a time, a name of 60 MB, a
// listing of 100,000 entries, an upload the server stops reading. Each ends at its limit or
// on Cancel, the window never freezes, and the program quits during each (in a child process
// that really quits). Hang guards fail what never ends; the times are printed, not judged
// (bench/ measures speed).
#include "support/Controls.h"
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"

#include "gui/dialogs/Dialogs.h"
#include "gui/upload/FtpPanel.h"
#include "gui/upload/ListingModel.h"
#include "gui/upload/UploadWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>

using namespace stv;
using namespace stv::test;

namespace
{

// The longest time the event loop went without running a 5 ms timer.
class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        QObject::connect(
            &m_timer, &QTimer::timeout, [this] { m_worst = std::max(m_worst, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }
    qint64 worst() const { return m_worst; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_worst = 0;
};

// A window frozen on the network waits for the server's seconds; a window that answers never
// goes a second without its timers, however busy the machine.
constexpr qint64 FrozenMs = 1000;

// Ends the window's work if it has not ended by itself within a minute, so a hang fails the
// case instead of stopping the run, and prints how long the work took.
class WorkGuard
{
public:
    explicit WorkGuard(UploadWindow &form)
    {
        m_clock.start();
        QTimer::singleShot(60000, &form, [this, &form] {
            m_hung = true;
            control<QPushButton>(form, "CancelButton")->click();
            form.close();
        });
    }
    bool hung() const { return m_hung; }
    void print(const char *what, const StallMeter &meter) const
    {
        qInfo("%s: %lld ms, longest stall %lld ms", what, static_cast<long long>(m_clock.elapsed()),
            static_cast<long long>(meter.worst()));
    }

private:
    QElapsedTimer m_clock;
    bool m_hung = false;
};

FtpLimits QuickLimits()
{
    FtpLimits limits;
    limits.connectSeconds = 5;
    limits.stallSeconds = 2;
    limits.listingSeconds = 3;
    return limits;
}

// The window's fields for the server; the password may go over plain FTP.
void Fill(UploadWindow &form, const std::string &host, ScriptedDialogs &dialogs)
{
    control<QLineEdit>(form, "HostEdit")->setText(QString::fromStdString(host));
    control<QLineEdit>(form, "UserIDEdit")->setText(QStringLiteral("u"));
    control<QLineEdit>(form, "PasswordEdit")->setText(QStringLiteral("p"));
    dialogs.queue(Answer::Ok);
}

// The server of a test row: its options as the script takes them.
std::vector<std::string> Args(const QStringList &options)
{
    std::vector<std::string> args;
    for (const QString &o : options)
        args.push_back(o.toStdString());
    return args;
}

// How every case starts: a hostile server and the upload window filled in for it, shown.
struct HostileSession {
    explicit HostileSession(const QStringList &options)
        : server(Args(options))
    {
        Fill(form, server.host(), dialogs);
        form.show();
    }
    HostileFtpServer server;
    ScriptedDialogs dialogs;
    UploadWindow form;
};

std::string BigFile()
{
    const std::string path = "/tmp/stv-hostile-upload.bin";
    std::ofstream(path, std::ios::binary) << std::string(8 << 20, 'x');
    return path;
}

// The child's work: connects (and uploads a file when one is given), quits the program
// 800 ms after the work began, prints how long quitting took.
int QuitDuringWork(int argc, char **argv)
{
    QApplication app(argc, argv);
    ScriptedDialogs dialogs;
    UploadWindow form;
    Fill(form, argv[2], dialogs);
    const QString file = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    form.show();
    QElapsedTimer sinceQuit;
    QTimer::singleShot(0, &form, [&] {
        control<QPushButton>(form, "Button1")->click();
        if (!file.isEmpty())
            control<FtpPanel>(form, "ftp")->uploadFiles({ file });
    });
    QTimer::singleShot(800, &app, [&] {
        sinceQuit.start();
        QApplication::quit();
    });
    app.exec();
    std::printf("quit-ms %lld\n", static_cast<long long>(sinceQuit.elapsed()));
    return 0;
}

void AddHostileRows(bool withListings)
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("upload");
    QTest::newRow("dripped listing") << QStringList { "--drip", "0.4" } << false;
    if (withListings) {
        QTest::newRow("60 MB name") << QStringList { "--long-name", "60000000" } << false;
        QTest::newRow("100,000 entries") << QStringList { "--entries", "100000" } << false;
    }
    QTest::newRow("stalled upload") << QStringList { "--stall-upload", "65536" } << true;
}

} // namespace

// The test cannot go on without its server; the reason shows when it did not start.
#define REQUIRE_STARTED(session)                                                                   \
    QVERIFY2((session).server.startError().empty(), (session).server.startError().c_str())

class HostileServerTest : public QObject
{
    Q_OBJECT

    // Connects, and sends the big file too for an upload row, as the user does.
    static void startWork(HostileSession &session, bool upload)
    {
        control<QPushButton>(session.form, "Button1")->click();
        if (upload)
            control<FtpPanel>(session.form, "ftp")
                ->uploadFiles({ QString::fromStdString(BigFile()) });
    }

private slots:
    void eachEndsAtItsLimit_data() { AddHostileRows(false); }

    void eachEndsAtItsLimit()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, upload);
        HostileSession session(options);
        REQUIRE_STARTED(session);
        control<FtpPanel>(session.form, "ftp")->setLimits(QuickLimits());
        StallMeter meter;
        const WorkGuard guard(session.form);
        startWork(session, upload);
        guard.print("ended at its limit", meter);
        QVERIFY(!guard.hung());
        QVERIFY(!session.dialogs.messages().empty());
        const QString box = session.dialogs.messages().back();
        QVERIFY2(box.contains(upload ? QStringLiteral("too slow")
                                     : QStringLiteral("Could not list the directory: the ")),
            qPrintable(box));
        QVERIFY2(meter.worst() < FrozenMs, "the window froze");
    }

    void cancelEndsEveryStep_data() { AddHostileRows(false); }

    void cancelEndsEveryStep()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, upload);
        HostileSession session(options);
        REQUIRE_STARTED(session);
        UploadWindow &form = session.form;
        QElapsedTimer sinceCancel;
        QTimer::singleShot(upload ? 1500 : 1000, &form, [&] {
            QVERIFY(control<QPushButton>(form, "CancelButton")->isVisible());
            sinceCancel.start();
            control<QPushButton>(form, "CancelButton")->click();
        });
        StallMeter meter;
        const WorkGuard guard(form);
        // Connecting to the upload row's server lists at once; the upload is what hangs.
        startWork(session, upload);
        QVERIFY(sinceCancel.isValid());
        qInfo("cancel took %lld ms, longest stall %lld ms",
            static_cast<long long>(sinceCancel.elapsed()), static_cast<long long>(meter.worst()));
        QVERIFY(!guard.hung());
        QVERIFY2(meter.worst() < FrozenMs, "the window froze");
        QVERIFY(control<QPushButton>(form, "Button1")->isEnabled());
        QCOMPARE(control<QLabel>(form, "Label5")->text(), QStringLiteral("Cancelled"));
    }

    void closingTheWindowCancelsWhatRuns()
    {
        HostileSession session({ "--drip", "0.4" });
        REQUIRE_STARTED(session);
        QElapsedTimer sinceClose;
        QTimer::singleShot(800, &session.form, [&] {
            sinceClose.start();
            session.form.close();
        });
        const WorkGuard guard(session.form);
        startWork(session, false);
        QVERIFY(sinceClose.isValid());
        qInfo("closing ended the work in %lld ms", static_cast<long long>(sinceClose.elapsed()));
        QVERIFY(!guard.hung());
        QVERIFY(!session.form.isVisible());
        QCOMPARE(session.dialogs.asked().size(), std::size_t(1)); // only the plain FTP question
    }

    void hugeListingsAreCutWithoutFreezingTheWindow_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("note");
        QTest::newRow("60 MB name") << QStringList { "--long-name", "60000000" } << 1 << QString();
        QTest::newRow("100,005 entries")
            << QStringList { "--entries", "100005" } << 100000
            << QStringLiteral("The folder holds more than can be shown: only the first 100000 "
                              "entries are listed.");
    }

    void hugeListingsAreCutWithoutFreezingTheWindow()
    {
        QFETCH(QStringList, options);
        QFETCH(int, rows);
        QFETCH(QString, note);
        HostileSession session(options);
        REQUIRE_STARTED(session);
        StallMeter meter;
        const WorkGuard guard(session.form);
        startWork(session, false);
        QTest::qWait(50); // painted
        guard.print("listed", meter);
        QVERIFY(!guard.hung());
        const ListingModel *model = control<FtpPanel>(session.form, "ftp")->fileListModel();
        QCOMPARE(model->rowCount(), rows);
        if (rows == 1)
            QCOMPARE(model->index(0, 0).data().toString(), QString(ShownNameLength, u'n'));
        QCOMPARE(session.dialogs.messages(),
            note.isEmpty() ? std::vector<QString> {} : std::vector { note });
        QVERIFY2(meter.worst() < FrozenMs, "the window froze");
    }

    void textTheServerSendsIsShownWithoutControlCharacters()
    {
        QCOMPARE(remoteText("a\x1B[2Jb\r\nc"), QStringLiteral("a[2Jbc"));
        QCOMPARE(remoteText(std::string(2000, 'x')).size(), ShownNameLength);
        QCOMPARE(remoteText("caf\xE9"), QStringLiteral("caf\u00E9")); // Windows-1252
    }

    void quittingDuringEachEnds_data() { AddHostileRows(true); }

    void quittingDuringEachEnds()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, upload);
        HostileFtpServer server(Args(options));
        QVERIFY2(server.startError().empty(), server.startError().c_str());
        QStringList childArgs { QStringLiteral("--quit-during-work"),
            QString::fromStdString(server.host()) };
        if (upload)
            childArgs << QString::fromStdString(BigFile());
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), childArgs);
        // The hang guard: a program that does not quit is killed and fails the case.
        const bool ended = child.waitForFinished(60000);
        if (!ended)
            child.kill();
        QVERIFY(ended);
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        bool ok = false;
        const int ms = out.section(QStringLiteral("quit-ms "), 1).trimmed().toInt(&ok);
        QVERIFY2(ok, qPrintable(out + QString::fromLocal8Bit(child.readAllStandardError())));
        qInfo("quitting took %d ms", ms);
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && std::string(argv[1]) == "--quit-during-work")
        return QuitDuringWork(argc, argv);
    QApplication app(argc, argv);
    HostileServerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HostileServerTest.moc"
