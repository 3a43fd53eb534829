// The Colour, Link and Image Lists are on disk as soon as they change: the program's start-up
// sequence runs in a separate process of this test binary ("--child"), which changes each
// list as a user would and is then killed with SIGKILL; the next start shows every change.
#include "core/files/FileIO.h"
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/settings/Config.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/lists/ColourListWindow.h"
#include "gui/lists/ImageListWindow.h"
#include "gui/lists/LinkListWindow.h"
#include "gui/wizard/ProgramWindows.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <iostream>
#include <memory>

using namespace stv;
using Entries = std::vector<std::string>;

namespace
{

const std::string KeptImage = "\xA0Image\xA0Kept\xA0/pictures/kept.png\xA0";

std::string imageSection(const std::string &label)
{
    std::string record = newSectionRecord(static_cast<int>(KindPos::Image));
    record = replaceField(record, field::UserLabel, label);
    return replaceField(record, field::ImageFile, "/pictures/" + label + ".png");
}

// Chooses a command of a list window's popup menu on a row (-1: below the rows) as a user does.
void command(FavouriteListWindow &form, int row, const char *name)
{
    QListView *view = form.listView();
    const QPoint at = row >= 0 ? view->visualRect(view->model()->index(row, 0)).center()
                               : QPoint(5, view->viewport()->height() - 5);
    if (row >= 0)
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    form.popupMenu()->hide();
    form.findChild<QAction *>(QLatin1String(name))->trigger();
}

// The separate program: argv = --child FOLDER PROJECT. It prints CHANGED and waits to be
// killed.
int runChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    setProgramFolder(QString::fromLocal8Bit(argv[2]));
    ScriptedDialogs dialogs;
    ProgramWindows p;
    WizardWindow &w = p.window;
    w.skipStartupDecision();
    w.show();
    if (!w.loadProjectFromPath(QString::fromLocal8Bit(argv[3])))
        return 2;

    auto *colours = w.findChild<ColourListWindow *>();
    colours->show();
    dialogs.queueColour(QColor(0, 0, 255));
    command(*colours, -1, "NewColour1");
    auto *links = w.findChild<LinkListWindow *>();
    links->show();
    dialogs.queueText(QStringLiteral("someone@example.org"));
    command(*links, -1, "EMail1");
    auto *images = w.findChild<ImageListWindow *>();
    images->show();
    dialogs.queueText(QStringLiteral("Renamed"));
    command(*images, 0, "Rename1");
    // The Section Manager adds the project's picture to the Image List.
    p.sectionManager.jumpToRow(FixedRowsBefore);
    p.sectionManager.findChild<QAction *>(QStringLiteral("CopyToImageList1"))->trigger();
    if (!dialogs.asked().empty() && dialogs.asked().back().what != QLatin1String("info"))
        return 3;
    std::cout << "CHANGED" << std::endl;
    return QApplication::exec(); // until killed
}

} // namespace

class ListsCrashTest : public QObject
{
    Q_OBJECT

private slots:
    void changesSurviveAKill()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(folder));
        const std::string prog = folder.toStdString() + "/";
        QVERIFY(writeLinesFile(prog + ImageListFile, { KeptImage }).ok());
        const QString project = dir.filePath(QStringLiteral("p.stv"));
        Project pictures;
        pictures.sections = { imageSection("Hills") };
        QVERIFY(saveProjectFile(project.toStdString(), pictures).ok());
        QVERIFY(writeLinesFile(prog + ConfigFileName, configurationLines({})).ok());

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--child"), folder, project });
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += child.readAllStandardOutput()).contains("CHANGED")
                || child.state() == QProcess::NotRunning,
            20000);
        QVERIFY2(out.contains("CHANGED"), out.constData());
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        setProgramFolder(folder);
        ScriptedDialogs dialogs;
        ProgramWindows again;
        const FavouriteLists &lists = again.window.favouriteLists();
        QCOMPARE(lists.colours, Entries { "16711680" });
        QCOMPARE(lists.links.back(), std::string("mailto:someone@example.org"));
        QCOMPARE(lists.images.size(), 2u);
        QCOMPARE(splitFields(lists.images[0], field::UserLabel)[field::UserLabel],
            std::string("Renamed"));
        QCOMPARE(lists.images[1], imageSection("Hills"));
        QVERIFY(dialogs.asked().empty());
        setProgramFolder({});
    }
};

int main(int argc, char **argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--child")
        return runChild(argc, argv);
    QApplication app(argc, argv);
    ListsCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ListsCrashTest.moc"
