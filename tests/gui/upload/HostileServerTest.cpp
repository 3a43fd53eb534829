// No server can hang the program: a listing dripped a byte at a time, a name of 60 MB, a
// listing of 100,000 entries, an upload the server stops reading. Each ends at its limit or
// on Cancel, the event loop never stalls, and quitting during each takes under two seconds
// (measured in a child process that really quits).
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
using stv::test::control;
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

} // namespace

// The server of a test row: its options as the script takes them.
std::vector<std::string> Args(const QStringList &options)
{
    std::vector<std::string> args;
    for (const QString &o : options)
        args.push_back(o.toStdString());
    return args;
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

class HostileServerTest : public QObject
{
    Q_OBJECT
private slots:
    void eachEndsAtItsLimit_data() { AddHostileRows(false); }

    void eachEndsAtItsLimit()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, upload);
        HostileFtpServer server(Args(options));
        QVERIFY2(server.startError().empty(), server.startError().c_str());
        ScriptedDialogs dialogs;
        UploadWindow form;
        Fill(form, server.host(), dialogs);
        control<FtpPanel>(form, "ftp")->setLimits(QuickLimits());
        const QString file = QString::fromStdString(BigFile());
        StallMeter meter;
        QElapsedTimer clock;
        clock.start();
        control<QPushButton>(form, "Button1")->click();
        if (upload)
            control<FtpPanel>(form, "ftp")->uploadFiles({ file });
        QVERIFY2(clock.elapsed() < 12000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!dialogs.messages().empty());
        const QString box = dialogs.messages().back();
        QVERIFY2(box.contains(upload ? QStringLiteral("too slow")
                                     : QStringLiteral("Could not list the directory: the ")),
            qPrintable(box));
        QVERIFY2(meter.worst() < 100, qPrintable(QString::number(meter.worst())));
    }

    void cancelEndsEveryStepWithinASecond_data() { AddHostileRows(false); }

    void cancelEndsEveryStepWithinASecond()
    {
        QFETCH(QStringList, options);
        QFETCH(bool, upload);
        HostileFtpServer server(Args(options));
        QVERIFY2(server.startError().empty(), server.startError().c_str());
        ScriptedDialogs dialogs;
        UploadWindow form;
        Fill(form, server.host(), dialogs);
        form.show();
        const QString file = QString::fromStdString(BigFile());
        QElapsedTimer sinceCancel;
        StallMeter meter;
        QTimer::singleShot(upload ? 1500 : 1000, &form, [&] {
            QVERIFY(control<QPushButton>(form, "CancelButton")->isVisible());
            sinceCancel.start();
            control<QPushButton>(form, "CancelButton")->click();
        });
        // Connecting to the upload row's server lists at once; the upload is what hangs.
        control<QPushButton>(form, "Button1")->click();
        if (upload)
            control<FtpPanel>(form, "ftp")->uploadFiles({ file });
        QVERIFY(sinceCancel.isValid());
        qInfo("cancel took %lld ms, longest stall %lld ms", sinceCancel.elapsed(), meter.worst());
        QVERIFY2(sinceCancel.elapsed() < 1000, qPrintable(QString::number(sinceCancel.elapsed())));
        QVERIFY2(meter.worst() < 100, qPrintable(QString::number(meter.worst())));
        QVERIFY(control<QPushButton>(form, "Button1")->isEnabled());
        QCOMPARE(control<QLabel>(form, "Label5")->text(), QStringLiteral("Cancelled"));
    }

    void closingTheWindowCancelsWhatRuns()
    {
        HostileFtpServer server({ "--drip", "0.4" });
        QVERIFY2(server.startError().empty(), server.startError().c_str());
        ScriptedDialogs dialogs;
        UploadWindow form;
        Fill(form, server.host(), dialogs);
        form.show();
        QElapsedTimer sinceClose;
        QTimer::singleShot(800, &form, [&] {
            sinceClose.start();
            form.close();
        });
        control<QPushButton>(form, "Button1")->click();
        QVERIFY(sinceClose.isValid());
        QVERIFY2(sinceClose.elapsed() < 1000, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(!form.isVisible());
        QCOMPARE(dialogs.asked().size(), std::size_t(1)); // only the plain FTP question
    }

    void hugeListingsAreCutWithoutStallingTheWindow_data()
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

    void hugeListingsAreCutWithoutStallingTheWindow()
    {
        QFETCH(QStringList, options);
        QFETCH(int, rows);
        QFETCH(QString, note);
        HostileFtpServer server(Args(options));
        QVERIFY2(server.startError().empty(), server.startError().c_str());
        ScriptedDialogs dialogs;
        UploadWindow form;
        Fill(form, server.host(), dialogs);
        form.show();
        StallMeter meter;
        control<QPushButton>(form, "Button1")->click();
        const ListingModel *model = control<FtpPanel>(form, "ftp")->fileListModel();
        QCOMPARE(model->rowCount(), rows);
        if (rows == 1)
            QCOMPARE(model->index(0, 0).data().toString(), QString(ShownNameLength, u'n'));
        QCOMPARE(
            dialogs.messages(), note.isEmpty() ? std::vector<QString> {} : std::vector { note });
        QTest::qWait(50); // painted
        QVERIFY2(meter.worst() < 100, qPrintable(QString::number(meter.worst())));
    }

    void textTheServerSendsIsShownWithoutControlCharacters()
    {
        QCOMPARE(remoteText("a\x1B[2Jb\r\nc"), QStringLiteral("a[2Jbc"));
        QCOMPARE(remoteText(std::string(2000, 'x')).size(), ShownNameLength);
        QCOMPARE(remoteText("caf\xE9"), QStringLiteral("caf\u00E9")); // Windows-1252
    }

    void quittingDuringEachTakesUnderTwoSeconds_data() { AddHostileRows(true); }

    void quittingDuringEachTakesUnderTwoSeconds()
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
        QVERIFY(child.waitForFinished(20000));
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        bool ok = false;
        const int ms = out.section(QStringLiteral("quit-ms "), 1).trimmed().toInt(&ok);
        QVERIFY2(ok, qPrintable(out + QString::fromLocal8Bit(child.readAllStandardError())));
        qInfo("quitting took %d ms", ms);
        QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
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
