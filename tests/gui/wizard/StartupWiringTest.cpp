#include "core/files/FileIO.h"
#include "core/page/PageStyle.h"
#include "core/project/Project.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "gui/wizard/ProgramWindows.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "support/HostileFiles.h"

#include <memory>

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
        QVERIFY(saveProjectFile(folder + "a.stv", p).ok());
        QVERIFY(writeLinesFile(folder + "PWP", { recentEntry(folder + "a.stv") }).ok());
        QVERIFY(writeLinesFile(
            folder + "Sitorva.config", { "50", "220", "60", "30", "170", "300", "0", "0", "1" })
                    .ok());
        QVERIFY(writeLinesFile(folder + "StvColList", { "255", "65280" }).ok());

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
        Result<std::vector<std::string>> linesRead = readLinesFile(folder + "Sitorva.config");
        QVERIFY(linesRead.ok());
        lines = std::move(linesRead.value());
        QCOMPARE(lines[1], std::string("240"));
        QCOMPARE(lines[7], std::string("0"));
        QVERIFY(fileExists(folder + "StvImageList"));
        setProgramFolder(QString());
    }

    // A first start ticks "&Modern Page (fits phones)" and keeps it in the settings file; the
    // tick changes the style of the pages and is kept at once. A program folder with a
    // configuration but no choice keeps the classic page.
    void modernPageTick()
    {
        QTemporaryDir dir;
        setProgramFolder(dir.path());
        const std::string folder = dir.path().toStdString() + "/";
        auto tick = [](ProgramWindows &w) {
            return w.window.findChild<QAction *>(QStringLiteral("ModernPage1"));
        };
        {
            ProgramWindows windows;
            QCOMPARE(windows.window.pageOptions().style, PageStyle::Modern);
            QVERIFY(tick(windows)->isChecked());
            QCOMPARE(tick(windows)->text(), QStringLiteral("&Modern Page (fits phones)"));
            QCOMPARE(pageStyleOf(loadSettings(folder).value()), PageStyle::Modern);
            tick(windows)->trigger();
            QCOMPARE(windows.window.pageOptions().style, PageStyle::Classic);
            QCOMPARE(loadSettings(folder).value().value(settingKey::PageStyle), "classic");
            windows.window.close();
        }
        {
            ProgramWindows windows; // the configuration exists now: the choice is read back
            QVERIFY(!tick(windows)->isChecked());
            windows.window.close();
        }
        QVERIFY(std::filesystem::remove(folder + SettingsFileName));
        {
            ProgramWindows windows; // an older program folder: classic, nothing written
            QCOMPARE(windows.window.pageOptions().style, PageStyle::Classic);
            QVERIFY(!fileExists(folder + SettingsFileName));
            windows.window.close();
        }
        setProgramFolder(QString());
    }

    // Files of the program folder that are FIFOs or too large: start-up goes on at once with
    // a message naming each, and closing the window writes none of them back.
    void unreadableFilesAreKeptWhole()
    {
        using namespace stv::test;
        const HangGuard guard;
        QTemporaryDir dir;
        setProgramFolder(dir.path());
        const std::string folder = dir.path().toStdString() + "/";
        QVERIFY(writeLinesFile(
            folder + "Sitorva.config", { "50", "220", "60", "30", "170", "300", "3", "0", "1" })
                    .ok());
        QVERIFY(makeHostile(Hostile::Oversized, folder + "StvColList", ListFileLimit));
        QVERIFY(makeHostile(Hostile::Fifo, folder + "StvLinkList"));
        QVERIFY(writeLinesFile(folder + "StvImageList", { "\xA0Image\xA0pic\xA0" }).ok());
        QVERIFY(makeHostile(Hostile::Fifo, folder + "Library"));
        QVERIFY(makeHostile(Hostile::Oversized, folder + "PWP", ConfigFileLimit));

        ScriptedDialogs script;
        std::unique_ptr<ProgramWindows> windows;
        printSecondsFor("the windows made over hostile files",
            [&] { windows = std::make_unique<ProgramWindows>(); });
        const std::vector<QString> atStart = script.messages();
        QCOMPARE(atStart.size(), 3u); // the library, the recent list, the two list files
        const QString all = atStart[0] + atStart[1] + atStart[2];
        for (const char *name : { "Library", "PWP", "StvColList", "StvLinkList" })
            QVERIFY2(all.contains(dir.path() + QLatin1Char('/') + QLatin1String(name)), name);
        QCOMPARE(windows->window.favouriteLists().images.size(), 1u);

        windows->window.close();
        windows.reset();
        QVERIFY(script.messages().size() > atStart.size()); // what was not written is named
        QCOMPARE(std::filesystem::file_size(folder + "StvColList"), ListFileLimit + 1);
        QCOMPARE(std::filesystem::file_size(folder + "PWP"), ConfigFileLimit + 1);
        QCOMPARE(typeAt(folder + "StvLinkList"), unsigned(S_IFIFO));
        QCOMPARE(typeAt(folder + "Library"), unsigned(S_IFIFO));
        std::vector<std::string> config;
        Result<std::vector<std::string>> configRead = readLinesFile(folder + "Sitorva.config");
        QVERIFY(configRead.ok());
        config = std::move(configRead.value());
        QCOMPARE(config[6], std::string("3"));
        setProgramFolder(QString());
    }
};

QTEST_MAIN(StartupWiringTest)
#include "StartupWiringTest.moc"
