// Check My Page driven like a user: the list of problems, the jump to a problem's section
// from the window and from the main window's Tools menu, and the links asked about only on
// request, with Cancel.

#include "gui/check/CheckWindow.h"
#include "core/project/Project.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/WizardWindow.h"
#include "support/FakeSectionHost.h"
#include "support/GenerateTestUtil.h"
#include "support/ScriptServer.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <cstdio>

using namespace stv;
using namespace std::chrono_literals;
using test::Rec;

namespace
{

std::string paragraph(const std::string &text, const std::string &link = "")
{
    return Rec({ "Paragraph", "P", text, "2", "0", "0", "0", "0", "0", "", "0", link });
}

void doubleClickRow(QTreeWidget *list, int row)
{
    const QRect r = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class CheckWindowTest : public QObject
{
    Q_OBJECT

private:
    test::FakeSectionHost m_host;
    Project m_project;
    FavouriteLists m_lists;

    CheckWindow::OfflineCheck offlineCheck()
    {
        return [this] {
            m_host.storeCurrentPage();
            m_project.sections = m_host.list;
            return checkPage(m_project, m_project.sections, m_lists, "/").valueOr({});
        };
    }

private slots:
    void init()
    {
        m_project = Project();
        m_project.pageTitle = "";
        m_lists = FavouriteLists();
        m_lists.colours = { "128" };
        m_host = test::FakeSectionHost();
        m_host.list = { paragraph("Fine words"), paragraph("A {c4}mark{c/} of nothing"),
            paragraph("Away", "#nowhere") };
    }

    void listsProblemsAndJumpsToTheirSections()
    {
        CheckWindow window(m_host, offlineCheck());
        window.show();
        window.checkAgain();
        auto *list = window.findChild<QTreeWidget *>(QStringLiteral("ProblemList"));
        QVERIFY(list != nullptr);
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Page"));
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("empty-title"));
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("Section 2"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("unknown-mark"));
        QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("missing-anchor"));
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("CheckSummary"))
                    ->text()
                    .startsWith(QStringLiteral("3 problems were found.")));

        doubleClickRow(list, 2);
        QCOMPARE(m_host.current, 2);
        QCOMPARE(m_host.onPage, m_host.list[2]);
        doubleClickRow(list, 0);
        QCOMPARE(m_host.current, TitleBarPosition);

        // Mended, and checked again: the list follows.
        m_host.list[1] = paragraph("A {c0}mark{c/} of something");
        m_project.pageTitle = "Now with a title";
        QTest::mouseClick(
            window.findChild<QPushButton *>(QStringLiteral("CheckAgainBtn")), Qt::LeftButton);
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Section 3"));
    }

    void asksAboutLinksOnlyWhenTold()
    {
        const std::string log = "/tmp/stv-window-links-" + std::to_string(::getpid()) + ".log";
        test::LinkTestServer server(log);
        QCOMPARE(QString::fromStdString(server.startError()), QString());
        m_host.list
            = { paragraph("Gone", server.url("/missing")), paragraph("Busy", server.url("/busy")) };
        m_project.pageTitle = "Links";
        CheckWindow window(m_host, offlineCheck());
        LinkCheckLimits limits;
        limits.perLink = 5s;
        window.setLinkLimits(limits);
        window.show();
        window.checkAgain();
        auto *list = window.findChild<QTreeWidget *>(QStringLiteral("ProblemList"));
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(server.requests().empty()); // nothing was sent before the user asked

        QSignalSpy finished(&window, &CheckWindow::onlineCheckFinished);
        QTest::mouseClick(
            window.findChild<QPushButton *>(QStringLiteral("CheckOnlineBtn")), Qt::LeftButton);
        QVERIFY(window.findChild<QPushButton *>(QStringLiteral("CancelBtn"))->isVisible());
        QVERIFY(finished.wait(20000));
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("broken-link"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("unverified-link"));
        QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("CancelBtn"))->isVisible());

        // A site that never answers: Cancel ends the wait at once.
        m_host.list = { paragraph("Slow", server.url("/stall")) };
        limits.perLink = 60s;
        window.setLinkLimits(limits);
        QTest::mouseClick(
            window.findChild<QPushButton *>(QStringLiteral("CheckOnlineBtn")), Qt::LeftButton);
        QTest::qWait(200);
        QTest::mouseClick(
            window.findChild<QPushButton *>(QStringLiteral("CancelBtn")), Qt::LeftButton);
        QCOMPARE(finished.count(), 2);
        QVERIFY(window.findChild<QLabel *>(QStringLiteral("CheckSummary"))
                    ->text()
                    .endsWith(QStringLiteral("The link check was cancelled.")));
        QVERIFY(window.findChild<QPushButton *>(QStringLiteral("CheckOnlineBtn"))->isEnabled());
        std::remove(log.c_str());
    }

    void toolsMenuOpensTheCheckAndTheWizardFollows()
    {
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        ScriptedDialogs dialogs;
        WizardWindow wizard;
        wizard.show();
        m_host.list.clear();
        wizard.sectionList() = {
            Rec({ "Heading", "H", "Hi", "4", "1", "0", "0", "0", "1", "" }),
            Rec({ "Image", "I", "/nowhere/gone.png", "2", "", "", "", "0", "", "0", "1", "1", "0" })
        };
        wizard.findChild<QAction *>(QStringLiteral("CheckMyPage1"))->trigger();
        auto *window = wizard.findChild<CheckWindow *>(QStringLiteral("CheckMyPage"));
        QVERIFY(window != nullptr && window->isVisible());
        auto *list = window->findChild<QTreeWidget *>(QStringLiteral("ProblemList"));
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("missing-file"));
        QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("no-alt"));
        doubleClickRow(list, 1);
        QCOMPARE(wizard.currentSection(), 1);
        QCOMPARE(wizard.visiblePage(), WizardWindow::sectionPageIndex(KindPos::Image));
        QVERIFY(dialogs.unexpected().empty());
    }
};

QTEST_MAIN(CheckWindowTest)
#include "CheckWindowTest.moc"
