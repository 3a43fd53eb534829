#include "core/files/FileIO.h"
#include "core/project/Project.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "gui/wizard/ProgramWindows.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace stv;

class StartupWiringTest : public QObject
{
    Q_OBJECT
private slots:
    // The windows made as the program makes them; the first timer tick offers the newest project.
    void firstTickOffersTheNewestProject()
    {
        QTemporaryDir dir;
        setProgramFolder(dir.path());
        const std::string folder = dir.path().toStdString() + "/";
        Project p;
        p.pageTitle = "Loaded title";
        QVERIFY(saveProjectFile(folder + "a.stv", p).ok);
        QVERIFY(writeLinesFile(folder + "PWP", { recentEntry(folder + "a.stv") }).ok);
        QVERIFY(writeLinesFile(
            folder + "Sitorva.config", { "50", "220", "60", "30", "170", "300", "0", "0", "1" })
                    .ok);
        QVERIFY(writeLinesFile(folder + "StvColList", { "255", "65280" }).ok);

        ProgramWindows windows;
        WizardWindow &window = windows.window;
        SectionManagerWindow &sm = windows.sectionManager;
        QCOMPARE(window.pos(), QPoint(220, 50));
        QCOMPARE(sm.pos(), QPoint(30, 60));
        QVERIFY(!window.pageOptions().siteLastUpdated);
        QCOMPARE(window.favouriteLists().colours.size(), 2u);
        window.show();
        window.startDecisionTimer();

        bool seen = false;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<DecisionBox *>(QApplication::activeModalWidget())) {
                poll.stop();
                seen = true;
                QTest::mouseClick(box->acceptButton(), Qt::LeftButton);
            }
        });
        poll.start();
        QTRY_VERIFY_WITH_TIMEOUT(seen, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(window.windowTitle().contains(QStringLiteral("a.stv")), 2000);
        QCOMPARE(window.project().pageTitle, std::string("Loaded title"));

        window.move(240, 70);
        window.close();
        std::vector<std::string> lines;
        QVERIFY(readLinesFile(folder + "Sitorva.config", lines));
        QCOMPARE(lines[1], std::string("240"));
        QCOMPARE(lines[7], std::string("0"));
        QVERIFY(fileExists(folder + "StvImageList"));
        setProgramFolder(QString());
    }
};

QTEST_MAIN(StartupWiringTest)
#include "StartupWiringTest.moc"
