// The File menu's project commands in the main window: the save-changes question, closing,
// Save As, the recent list, and loads and saves that fail.
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/TextTools.h"
#include "support/FullFileSystem.h"
#include "support/TestRecords.h"
#include "support/WizardWindowFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace stv;
using namespace stv::test;

class ProjectCommandsTest : public WizardWindowFixture
{
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void saveChangesQuestionAnswers()
    {
        const QString question
            = QStringLiteral("Current Project Has Been Changed!\n\nSave It Now?");
        goTo(0);
        click("Acceptbtn");

        // Abort keeps everything.
        m_script->queue(Answer::Abort);
        m_w->newProject();
        QCOMPARE(m_script->asked().back().text, question);
        QCOMPARE(m_script->asked().back().buttons, Buttons::YesNoAbort);
        QCOMPARE(sections().size(), 1u);

        // Yes on a project never saved: the save-as dialog is cancelled, the command abandoned.
        m_script->queue(Answer::Yes);
        m_script->queueCancel();
        m_w->newProject();
        QCOMPARE(m_script->asked().back().what, QStringLiteral("save"));
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Save This Project As.."));
        QCOMPARE(sections().size(), 1u);
        QVERIFY(m_w->projectChanged());

        // Yes with a name saves, then the command goes on.
        m_script->queue(Answer::Yes);
        m_script->queueText(path(QStringLiteral("first.stv")));
        m_w->newProject();
        QVERIFY(sections().empty());
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));
        Project saved;
        QVERIFY(loadProjectFile(path(QStringLiteral("first.stv")).toStdString(), saved).ok());
        QCOMPARE(saved.sections.size(), 1u);

        // No discards. The page title typed before survives a new project.
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Mine"));
        m_script->queue(Answer::No);
        m_w->newProject();
        QCOMPARE(m_w->project().pageTitle, std::string("Mine"));
        QVERIFY(!m_w->projectChanged());

        // An edit undone by hand is no change.
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Other"));
        QVERIFY(m_w->projectChanged());
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Mine"));
        QVERIFY(!m_w->projectChanged());
    }

    void closingAsksFirst()
    {
        goTo(0);
        click("Acceptbtn");
        m_script->queue(Answer::Abort);
        QVERIFY(!m_w->close());
        QCOMPARE(m_w->configurationSaves, 0);
        m_script->queue(Answer::No);
        QSignalSpy closed(m_w.get(), &WizardWindow::closed);
        QVERIFY(m_w->close());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(m_w->configurationSaves, 1);
        QVERIFY(!QFile::exists(path(QStringLiteral("PWP"))));
    }

    // File > Exit and Ctrl+Q take the same steps as closing the window.
    void exitAsksFirst()
    {
        m_w->show();
        QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
        goTo(0);
        click("Acceptbtn");
        QSignalSpy closed(m_w.get(), &WizardWindow::closed);
        m_script->queue(Answer::Abort);
        trigger("Exit1");
        QCOMPARE(m_script->asked().back().buttons, Buttons::YesNoAbort);
        QVERIFY(m_w->isVisible());
        QCOMPARE(closed.count(), 0);

        m_script->queue(Answer::No);
        QTest::keyClick(m_w.get(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!m_w->isVisible());
        QCOMPARE(m_w->configurationSaves, 1);
    }

    void saveAsCancelledAndCaptions()
    {
        m_script->queueCancel();
        trigger("SaveAs1");
        QVERIFY(m_w->projectFileName().isEmpty());
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));

        const QString folder = m_dir->path() + QLatin1Char('/');
        m_script->queueText(path(QStringLiteral("one.stv")));
        trigger("Save1");
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98 .. one.stv in ") + folder);
        std::string bytes;
        Result<std::string> bytesRead
            = readWholeFile(path(QStringLiteral("one.stv")).toStdString());
        QVERIFY(bytesRead.ok());
        bytes = std::move(bytesRead.value());
        QCOMPARE(splitLines(bytes).size(), 10u);

        m_w->newProject();
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));
        m_script->queueText(path(QStringLiteral("one.stv")));
        trigger("Load1");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Load a Sitorva Project File.."));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98 .. one.stv in ") + folder);
        QCOMPARE(m_w->visiblePage(), int(WizardWindow::IntroductionIndex));
    }

    void recentListNewestFirst()
    {
        QAction *decision = child<QAction>("ShowDecisionBox1");
        QMenu *file = child<QMenu>("File1");
        emit file->aboutToShow();
        QVERIFY(!decision->isEnabled());

        m_script->queueText(path(QStringLiteral("a.stv")));
        m_w->saveProjectAs();
        m_script->queueText(path(QStringLiteral("b.stv")));
        m_w->saveProjectAs();
        m_w->loadProjectFromPath(path(QStringLiteral("a.stv")));
        m_w->saveProject();
        m_w->saveProject();
        std::vector<std::string> lines;
        Result<std::vector<std::string>> linesRead
            = readLinesFile(path(QStringLiteral("PWP")).toStdString());
        QVERIFY(linesRead.ok());
        lines = std::move(linesRead.value());
        QCOMPARE(lines.size(), 2u);
        QCOMPARE(recentEntryPath(lines[0]), path(QStringLiteral("a.stv")).toStdString());
        QCOMPARE(recentEntryPath(lines[1]), path(QStringLiteral("b.stv")).toStdString());
        emit file->aboutToShow();
        QVERIFY(decision->isEnabled());

        // A new window reads the list back.
        CountingTSV again;
        QCOMPARE(again.recentProjects(), lines);
    }

    void loadErrorLeavesProjectUntouched()
    {
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(path(QStringLiteral("kept.stv")));
        m_w->saveProject();
        const Project before = m_w->project();
        const QString title = m_w->windowTitle();

        QVERIFY(writeWholeFile(path(QStringLiteral("short.stv")).toStdString(), "a\r\nb\r\n").ok());
        QVERIFY(!m_w->loadProjectFromPath(path(QStringLiteral("short.stv"))));
        QVERIFY(!m_w->loadProjectFromPath(path(QStringLiteral("missing.stv"))));
        QCOMPARE(m_script->messages().size(), 2u);
        QCOMPARE(m_w->project(), before);
        QCOMPARE(m_w->windowTitle(), title);
        QCOMPARE(m_w->currentSection(), 0);

        // A save that cannot be written keeps the name, caption and changed state.
        click("Backbtn");
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("changed"));
        m_script->clear();
        m_w->saveProjectToPath(path(QStringLiteral("no/such/folder/x.stv")));
        QCOMPARE(m_script->messages().size(), 1u);
        QCOMPARE(m_w->windowTitle(), title);
        QVERIFY(m_w->projectChanged());
    }

    // Save onto a disk that fills up while the project is written: the error box, and
    // nothing else changes, on disk or in the window.
    void saveOntoAFullDiskKeepsEverything()
    {
        stv::test::FullFileSystem disk;
        if (!disk.mounted())
            QSKIP("no right to mount a tmpfs here");
        const QString file = QString::fromStdString(disk.file("site.stv"));
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(file);
        m_w->saveProjectAs();
        QVERIFY(!m_w->projectChanged());
        std::string oldProject, oldRecent;
        Result<std::string> oldProjectRead = readWholeFile(disk.file("site.stv"));
        QVERIFY(oldProjectRead.ok());
        oldProject = std::move(oldProjectRead.value());
        Result<std::string> oldRecentRead
            = readWholeFile(path(QStringLiteral("PWP")).toStdString());
        QVERIFY(oldRecentRead.ok());
        oldRecent = std::move(oldRecentRead.value());
        const std::vector<std::string> recent = m_w->recentProjects();
        const QString caption = m_w->windowTitle();

        m_script->queueText(QString(300000, QLatin1Char('h')));
        trigger("InsertHeadCode1");
        QVERIFY(m_w->projectChanged());
        const Project before = m_w->project();
        QVERIFY(disk.fill(8192));
        m_script->clear();
        trigger("Save1");

        QCOMPARE(m_script->messages().size(), 1u);
        QCOMPARE(m_script->asked().back().what, QStringLiteral("error"));
        QVERIFY2(m_script->messages()[0].contains(QStringLiteral("No space left on device")),
            qPrintable(m_script->messages()[0]));
        QCOMPARE(m_w->project(), before);
        QVERIFY(m_w->projectChanged());
        QCOMPARE(m_w->windowTitle(), caption);
        QCOMPARE(m_w->projectFileName(), file);
        QCOMPARE(m_w->recentProjects(), recent);
        std::string project, recentFile;
        Result<std::string> projectRead = readWholeFile(disk.file("site.stv"));
        QVERIFY(projectRead.ok());
        project = std::move(projectRead.value());
        Result<std::string> recentFileRead
            = readWholeFile(path(QStringLiteral("PWP")).toStdString());
        QVERIFY(recentFileRead.ok());
        recentFile = std::move(recentFileRead.value());
        QVERIFY(project == oldProject);
        QVERIFY(recentFile == oldRecent);
        QCOMPARE(QDir(QString::fromStdString(disk.path()))
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                     .size(),
            2);
    }

    // The recent list cannot be written after the project was: reported, and the project
    // counts as saved.
    void recentListThatCannotBeWrittenAfterASave()
    {
        QVERIFY(writeWholeFile(path(QStringLiteral("plain")).toStdString(), "x").ok());
        setProgramFolder(path(QStringLiteral("plain")));
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(path(QStringLiteral("kept.stv")));
        m_w->saveProjectAs();
        QCOMPARE(m_script->messages().size(), 1u);
        QCOMPARE(m_script->asked().back().what, QStringLiteral("error"));
        QVERIFY2(m_script->messages()[0].contains(QStringLiteral("PWP")),
            qPrintable(m_script->messages()[0]));
        QVERIFY(!m_w->projectChanged());
        QCOMPARE(m_w->projectFileName(), path(QStringLiteral("kept.stv")));
        Project saved;
        QVERIFY(loadProjectFile(path(QStringLiteral("kept.stv")).toStdString(), saved).ok());
        QCOMPARE(saved, m_w->project());
    }

    // The chosen project file is gone by the time it is read: reported, the open project kept.
    void projectFileGoneBetweenDialogAndRead()
    {
        class VanishingDialogs : public ScriptedDialogs
        {
        public:
            QString askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
                const QString &defaultExt, const QString &filter) override
            {
                const QString chosen
                    = ScriptedDialogs::askOpenFile(parent, title, currentPath, defaultExt, filter);
                QFile::remove(chosen);
                return chosen;
            }
        };
        load({ Rec({ "Anchor", "a", "n", "t", "1" }) });
        const Project before = m_w->project();
        const QString caption = m_w->windowTitle();
        QVERIFY(saveProjectFile(path(QStringLiteral("other.stv")).toStdString(), Project {}).ok());

        m_script.reset();
        m_script = std::make_unique<VanishingDialogs>();
        m_script->queueText(path(QStringLiteral("other.stv")));
        trigger("Load1");
        QVERIFY(!QFile::exists(path(QStringLiteral("other.stv"))));
        QCOMPARE(m_script->messages().size(), 1u);
        QVERIFY2(m_script->messages()[0].contains(QStringLiteral("No such file")),
            qPrintable(m_script->messages()[0]));
        QCOMPARE(m_w->project(), before);
        QCOMPARE(m_w->windowTitle(), caption);
        QCOMPARE(m_w->projectFileName(), path(QStringLiteral("p.stv")));
        QVERIFY(!m_w->projectChanged());
    }
};

QTEST_MAIN(ProjectCommandsTest)
#include "ProjectCommandsTest.moc"
