// Autosave and recovery. The crash cases run the program's start-up sequence (ProgramWindows)
// in a separate process of this test binary ("--child"), which the test kills with SIGKILL
// after an autosave and then starts again to answer "Recover Unsaved Work".
#include "core/project/Recovery.h"
#include "core/files/FileIO.h"
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/RecoveryBox.h"
#include "gui/wizard/Autosave.h"
#include "gui/wizard/ProgramWindows.h"

#include "gui/dialogs/LongTextEdit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <csignal>
#include <iostream>
#include <memory>

#include "support/FullFileSystem.h"

using namespace stv;

namespace
{

const QString ChangedTitle = QStringLiteral("Changed title");
const QString ChangedWords = QStringLiteral("Changed words of the paragraph");

void jump(ProgramWindows &p, int position)
{
    p.sectionManager.jumpToRow(position + FixedRowsBefore);
}

// The changes of the crash cases: a new title, then a paragraph edited and left on its page.
// A project never saved gets its paragraph first.
void makeChanges(ProgramWindows &p, const QString &extra = {})
{
    WizardWindow &w = p.window;
    if (w.project().sections.empty()) {
        jump(p, 0);
        w.findChild<QListWidget *>(QStringLiteral("SelectBox"))->setCurrentRow(1);
        w.acceptSection();
    }
    jump(p, TitleBarPosition);
    w.findChild<QLineEdit *>(QStringLiteral("TitleEdit"))->setText(ChangedTitle + extra);
    jump(p, 1 % static_cast<int>(w.project().sections.size()));
    w.findChild<LongTextEdit *>(QStringLiteral("ParaMemo"))->setText(ChangedWords);
}

// Clicks a button of the recovery box as soon as it is open and prints its rows.
void answerRecoveryBox(const QString &button)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, button] {
        auto *box = qobject_cast<RecoveryBox *>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        poll->deleteLater();
        for (int i = 0; i < box->list()->count(); ++i)
            std::cout << "ROW " << box->list()->item(i)->text().toStdString() << std::endl;
        box->findChild<QPushButton *>(button)->click();
    });
    poll->start(20);
}

// The separate program: argv = --child edit|Recover|Discard|Later FOLDER [PROJECT|SAVEAS].
int runChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[2]);
    setProgramFolder(QString::fromLocal8Bit(argv[3]));
    const QString file = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    ScriptedDialogs dialogs;
    ProgramWindows p;
    WizardWindow &w = p.window;
    w.skipStartupDecision();
    if (mode == QLatin1String("edit")) {
        if (!file.isEmpty() && !w.loadProjectFromPath(file))
            return 2;
        QObject::connect(&w.autosave(), &Autosave::written, &w, [&w](bool ok) {
            if (ok)
                std::cout << "SAVED " << w.autosave().recoveryFile() << std::endl;
        });
        w.show();
        makeChanges(p);
        w.startDecisionTimer();
        return QApplication::exec(); // until killed
    }
    answerRecoveryBox(mode == QLatin1String("Recover") ? QStringLiteral("RecoverBtn")
            : mode == QLatin1String("Discard")         ? QStringLiteral("DiscardBtn")
                                                       : QStringLiteral("LaterBtn"));
    if (mode == QLatin1String("Discard"))
        dialogs.queue(Answer::Yes); // the confirmation
    w.show();
    const bool recovered = w.offerRecovery();
    std::cout << "RECOVERED " << recovered << std::endl;
    if (recovered) {
        std::cout << "CHANGED " << w.projectChanged() << std::endl;
        std::cout << "PATH " << w.projectFileName().toStdString() << std::endl;
        std::cout << "TITLE " << w.project().pageTitle << std::endl;
        std::cout << "WORDS "
                  << splitFields(w.project().sections.at(1 % w.project().sections.size()),
                         20)[field::ParaText]
                  << std::endl;
        const std::string recovery = w.autosave().recoveryFile();
        std::cout << "OWNFILE " << QFile::exists(QString::fromStdString(recovery)) << std::endl;
        dialogs.queueText(file); // Save As for a project never saved
        w.saveProject();
        std::cout << "AFTERSAVE " << QFile::exists(QString::fromStdString(recovery)) << " "
                  << w.projectChanged() << std::endl;
    }
    w.close();
    return 0;
}

} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->filePath(QStringLiteral("program")); }
    QString recoveryFolder() const { return folder() + QStringLiteral("/Recovery"); }
    QString path(const QString &name) const { return m_dir->filePath(name); }

    // Starts the separate program; "edit" returns once it has autosaved.
    std::unique_ptr<QProcess> child(const QStringList &args)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SITORVA_AUTOSAVE_SECONDS"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(),
            QStringList { QStringLiteral("--child") } + args);
        return process;
    }
    QString runToEnd(const QStringList &args)
    {
        std::unique_ptr<QProcess> process = child(args);
        if (!process->waitForFinished(30000))
            return QStringLiteral("did not end");
        return QString::fromLocal8Bit(process->readAllStandardOutput());
    }
    // An edit session autosaved and then killed.
    void killedAfterAutosave(const QString &project)
    {
        QStringList args { QStringLiteral("edit"), folder() };
        if (!project.isEmpty())
            args << project;
        std::unique_ptr<QProcess> process = child(args);
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT(
            (out += process->readAllStandardOutput()).contains("SAVED"), 20000);

        // Two running copies: the second does not offer the first one's recovery file.
        {
            ScriptedDialogs dialogs;
            WizardWindow second;
            QVERIFY(!second.offerRecovery());
            QVERIFY(dialogs.asked().empty());
        }
        ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
        QVERIFY(process->waitForFinished(10000));
        QCOMPARE(process->exitStatus(), QProcess::CrashExit);
        QCOMPARE(findLeftRecoveries(recoveryFolder().toStdString()).size(), std::size_t(1));
    }
    // The bytes a normal save of the same changes writes.
    QByteArray normalSave(const QString &project)
    {
        const QString target = path(QStringLiteral("normal.stv"));
        ScriptedDialogs dialogs;
        ProgramWindows p;
        if (!project.isEmpty())
            p.window.loadProjectFromPath(project);
        makeChanges(p);
        p.window.saveProjectToPath(target);
        QFile file(target);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    static QByteArray read(const QString &name)
    {
        QFile file(name);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(folder()));
        setProgramFolder(folder());
    }
    void cleanup() { setProgramFolder({}); }

    void killedProgramIsRecoveredAndSavedAsANormalSave()
    {
        const QString project = path(QStringLiteral("sample.stv"));
        QVERIFY(QFile::copy(QStringLiteral(STV_SAMPLE_PROJECT), project));
        const QByteArray expected = normalSave(project);
        killedAfterAutosave(project);

        const QString out = runToEnd({ QStringLiteral("Recover"), folder() });
        QVERIFY2(out.contains(QStringLiteral("ROW sample.stv")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("RECOVERED 1")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("CHANGED 1")));
        QVERIFY(out.contains(QStringLiteral("PATH ") + project));
        QVERIFY(out.contains(QStringLiteral("TITLE ") + ChangedTitle));
        QVERIFY(out.contains(QStringLiteral("WORDS ") + ChangedWords));
        QVERIFY(out.contains(QStringLiteral("OWNFILE 1")));
        QVERIFY2(out.contains(QStringLiteral("AFTERSAVE 0 0")), qPrintable(out));
        QCOMPARE(read(project), expected);
        QVERIFY(QDir(recoveryFolder()).entryList(QDir::Files).isEmpty());
    }

    void neverSavedProjectIsRecoveredThroughSaveAs()
    {
        const QByteArray expected = normalSave({});
        killedAfterAutosave({});
        const QString target = path(QStringLiteral("rescued.stv"));
        const QString out = runToEnd({ QStringLiteral("Recover"), folder(), target });
        QVERIFY2(out.contains(QStringLiteral("never saved")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("PATH \n")));
        QVERIFY(out.contains(QStringLiteral("WORDS ") + ChangedWords));
        QVERIFY2(out.contains(QStringLiteral("AFTERSAVE 0 0")), qPrintable(out));
        QCOMPARE(read(target), expected);
    }

    void laterKeepsDiscardRemovesDamagedIsSetAside()
    {
        killedAfterAutosave({});
        QVERIFY(runToEnd({ QStringLiteral("Later"), folder() })
                    .contains(QStringLiteral("RECOVERED 0")));
        QCOMPARE(findLeftRecoveries(recoveryFolder().toStdString()).size(), std::size_t(1));
        QVERIFY(runToEnd({ QStringLiteral("Discard"), folder() })
                    .contains(QStringLiteral("RECOVERED 0")));
        QVERIFY(QDir(recoveryFolder()).entryList(QDir::Files).isEmpty());

        const QString damaged = recoveryFolder() + QStringLiteral("/session-1-1.stvr");
        QVERIFY(writeWholeFile(damaged.toStdString(), "Sitorva recovery 1\r\nhalf").ok());
        ScriptedDialogs dialogs;
        WizardWindow w;
        QVERIFY(!w.offerRecovery());
        QCOMPARE(dialogs.messages().size(), std::size_t(1));
        QVERIFY(dialogs.messages()[0].contains(QStringLiteral("damaged")));
        QVERIFY(QFile::exists(damaged + QStringLiteral(".damaged")));
        QVERIFY(!QFile::exists(damaged));
    }

    void saveNewLoadAndExitRemoveTheRecoveryFile()
    {
        ScriptedDialogs dialogs;
        ProgramWindows p;
        WizardWindow &w = p.window;
        QSignalSpy written(&w.autosave(), &Autosave::written);
        const QString project = path(QStringLiteral("p.stv"));
        int changes = 0;
        auto changeAndAutosave = [&] {
            makeChanges(p, QString::number(++changes));
            w.autosave().tick();
            QTRY_COMPARE(written.size(), 1);
            written.clear();
            QVERIFY(QFile::exists(QString::fromStdString(w.autosave().recoveryFile())));
        };
        const auto gone
            = [&] { return !QFile::exists(QString::fromStdString(w.autosave().recoveryFile())); };
        changeAndAutosave();
        w.saveProjectToPath(project);
        QVERIFY(gone());
        // Nothing unsaved: nothing written.
        w.autosave().tick();
        QVERIFY(!w.autosave().writing());
        changeAndAutosave();
        dialogs.queue(Answer::No);
        w.newProject();
        QVERIFY(gone());
        changeAndAutosave();
        dialogs.queue(Answer::No);
        QVERIFY(w.loadProjectFromPath(project));
        QVERIFY(gone());
        changeAndAutosave();
        dialogs.queue(Answer::No);
        w.close();
        QVERIFY(gone());
    }

    void fullDiskKeepsProjectAndOldRecoveryAndSaysSoOnce()
    {
        test::FullFileSystem disk(256 * 1024);
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs the right to");
        setProgramFolder(QString::fromStdString(disk.path()));
        const QString project = path(QStringLiteral("p.stv"));
        ScriptedDialogs dialogs;
        ProgramWindows p;
        WizardWindow &w = p.window;
        p.window.saveProjectToPath(project);
        const QByteArray projectBytes = read(project);
        QSignalSpy written(&w.autosave(), &Autosave::written);
        auto *failurePanel = w.findChild<QLabel *>(QStringLiteral("AutosavePanel"));
        QVERIFY(failurePanel != nullptr);
        makeChanges(p);
        w.autosave().tick();
        QTRY_COMPARE(written.size(), 1);
        const QString recovery = QString::fromStdString(w.autosave().recoveryFile());
        const QByteArray before = read(recovery);
        QVERIFY(!before.isEmpty());

        QVERIFY(disk.fill());
        for (int i = 0; i < 3; ++i) {
            // Large enough not to fit in what the filler left.
            p.window.findChild<LongTextEdit *>(QStringLiteral("ParaMemo"))
                ->setText(QString(64 * 1024, QLatin1Char('a' + i)));
            w.autosave().tick();
            QTRY_COMPARE(written.size(), 2 + i);
            QCOMPARE(written.back().value(0).toBool(), false);
        }
        // Said beside the label and position panels, which keep showing.
        QVERIFY(failurePanel->text().startsWith(QStringLiteral("Autosave failed: ")));
        QVERIFY(!failurePanel->isHidden());
        QVERIFY(w.statusBar()->currentMessage().isEmpty());
        for (const char *name : { "LabelPanel", "PositionPanel" })
            QVERIFY(!w.findChild<QLabel *>(QString::fromLatin1(name))->isHidden());
        QCOMPARE(read(recovery), before);
        QCOMPARE(read(project), projectBytes);
        RecoveryEntry entry;
        Project recovered;
        QVERIFY(readRecovery(recovery.toStdString(), entry, recovered).ok());
        QCOMPARE(QString::fromStdString(recovered.pageTitle), ChangedTitle);

        // Room again: the next autosave works and the message goes.
        QVERIFY(::unlink(disk.file(test::FullFileSystem::Filler).c_str()) == 0);
        p.window.findChild<LongTextEdit *>(QStringLiteral("ParaMemo"))
            ->setText(QStringLiteral("room again"));
        w.autosave().tick();
        QTRY_COMPARE(written.size(), 5);
        QCOMPARE(written.back().value(0).toBool(), true);
        QVERIFY(failurePanel->isHidden());
        QVERIFY(failurePanel->text().isEmpty());
        dialogs.queue(Answer::No);
        w.close();
    }
};

int main(int argc, char **argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--child")
        return runChild(argc, argv);
    QApplication app(argc, argv);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RecoveryTest.moc"
