#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/settings/Config.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/SelectionDialog.h"
#include "gui/wizard/StartupDecision.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace stv;

namespace
{

// Acts on the next modal window once it is open, as a user would.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(QWidget *)> act)
        : m_act(std::move(act))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget *w = QApplication::activeModalWidget()) {
                m_timer.stop();
                ++m_seen;
                m_act(w);
            }
        });
        m_timer.start();
    }
    int seen() const { return m_seen; }

private:
    QTimer m_timer;
    std::function<void(QWidget *)> m_act;
    int m_seen = 0;
};

void clickRow(QListWidget *list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void doubleClickRow(QListWidget *list, int row)
{
    // A real double click: press, release, the double-click press, release.
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

class FakeHost : public DecisionHost
{
public:
    std::vector<std::string> recent;
    bool pending = true;
    QStringList loaded;
    DecisionBox box;
    SelectionDialog picker;

    std::vector<std::string> &recentProjectList() override { return recent; }
    bool &decisionPending() override { return pending; }
    bool loadProjectFromPath(const QString &path) override
    {
        loaded << path;
        return true;
    }
    DecisionBox &decisionBox() override { return box; }
    SelectionDialog &multiSelect() override { return picker; }
    QWidget *dialogParent() override { return nullptr; }
};

// Chooses an item in the decision box and presses "&Accept" (or Cancel).
std::function<void(QWidget *)> choose(FakeHost &host, int item, bool accept = true)
{
    return [&host, item, accept](QWidget *w) {
        QCOMPARE(w, &host.box);
        QTest::mouseClick(host.box.itemButton(item), Qt::LeftButton);
        QTest::mouseClick(
            accept ? host.box.acceptButton() : host.box.cancelButton(), Qt::LeftButton);
    };
}

void saveShot(QWidget &w, const QString &name)
{
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/shots");
    QDir().mkpath(dir);
    QVERIFY(w.grab().save(dir + QLatin1Char('/') + name));
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void multiSelectLayoutAndResults();
    void multiSelectEnablesSelectedOnlyWithASelection();
    void multiSelectDoubleClickIsOk();
    void firstRunShowsNoBox();
    void itemThreeHidesTheBoxButNotTheMenuCommand();
    void timerRunsTheDecisionOnce();
    void menuWithEmptyRecentListLoadsNothing();
    void openExistingRunsOpenPrevious();
    void openPreviousLinesAndPath();
    void openPreviousCancelledOrEmpty();
    void firstRunAndExitWithTheConfiguration();
    void writeFailureAtExitIsReportedOnce();
    void render();
};

void StartupTest::multiSelectLayoutAndResults()
{
    SelectionDialog dlg;
    QCOMPARE(dlg.size(), QSize(477, 180));
    QVERIFY(dlg.windowFlags() & Qt::Tool);
    QVERIFY(dlg.findChild<QListWidget *>(QStringLiteral("MultiList")));
    QCOMPARE(dlg.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(dlg.selectedButton()->text(), QStringLiteral("&Selected"));
    QCOMPARE(dlg.allButton()->text(), QStringLiteral("&All"));
    dlg.setItems({ QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c") });

    ModalDriver all([&](QWidget *) { QTest::mouseClick(dlg.allButton(), Qt::LeftButton); });
    QCOMPARE(dlg.exec(), SelectionDialog::AllResult);

    // Help does nothing; Cancel cancels.
    ModalDriver cancel([&](QWidget *) {
        QTest::mouseClick(dlg.helpButton(), Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));

    // Several rows at once by default.
    ModalDriver several([&](QWidget *) {
        clickRow(dlg.list(), 0);
        const QRect r = dlg.list()->visualItemRect(dlg.list()->item(2));
        QTest::mouseClick(dlg.list()->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
        QTest::mouseClick(dlg.selectedButton(), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(dlg.selectedRows(), (std::vector<int> { 0, 2 }));
}

void StartupTest::multiSelectEnablesSelectedOnlyWithASelection()
{
    SelectionDialog dlg;
    ModalDriver empty([&](QWidget *) {
        QVERIFY(!dlg.selectedButton()->isEnabled());
        QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
    });
    dlg.exec();
    QCOMPARE(empty.seen(), 1);

    dlg.setItems({ QStringLiteral("one"), QStringLiteral("two") });
    ModalDriver click([&](QWidget *) {
        QVERIFY(!dlg.selectedButton()->isEnabled());
        clickRow(dlg.list(), 1);
        QVERIFY(dlg.selectedButton()->isEnabled());
        // Ctrl+click takes the only selected row away again.
        const QRect r = dlg.list()->visualItemRect(dlg.list()->item(1));
        QTest::mouseClick(dlg.list()->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
        QVERIFY(!dlg.selectedButton()->isEnabled());
        QTest::mouseClick(dlg.cancelButton(), Qt::LeftButton);
    });
    dlg.exec();
    QCOMPARE(click.seen(), 1);
}

void StartupTest::multiSelectDoubleClickIsOk()
{
    SelectionDialog dlg;
    dlg.setSingleSelection(true);
    dlg.setItems({ QStringLiteral("one"), QStringLiteral("two") });
    ModalDriver dbl([&](QWidget *) { doubleClickRow(dlg.list(), 1); });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(dlg.selectedRows(), std::vector<int> { 1 });
}

void StartupTest::firstRunShowsNoBox()
{
    FakeHost host;
    ModalDriver never([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
    runStartupDecision(host, false);
    QCOMPARE(never.seen(), 0);
    QVERIFY(!host.pending);
    QVERIFY(host.loaded.isEmpty());
    QVERIFY(shouldShowDecisionBox(true, 0, true));
    QVERIFY(!shouldShowDecisionBox(true, 1, false));
    QVERIFY(shouldShowDecisionBox(false, 2, false));
}

void StartupTest::itemThreeHidesTheBoxButNotTheMenuCommand()
{
    FakeHost host;
    host.recent = { recentEntry("/home/u/new.stv"), recentEntry("/home/u/old.stv") };
    host.box.setItemIndex(DontShowAgain);
    {
        ModalDriver never([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        runStartupDecision(host, false);
        QCOMPARE(never.seen(), 0);
    }
    QVERIFY(host.loaded.isEmpty());

    ModalDriver menu(choose(host, OpenLastProject));
    showDecisionBox(host);
    QCOMPARE(menu.seen(), 1);
    QCOMPARE(host.loaded, QStringList { QStringLiteral("/home/u/new.stv") });
    QCOMPARE(host.box.itemIndex(), 0);
    QVERIFY(!host.pending);
}

void StartupTest::timerRunsTheDecisionOnce()
{
    FakeHost host;
    host.recent = { recentEntry("/w/caf\xe9.stv") }; // Windows-1252 in the list, UTF-8 to load
    ModalDriver first(choose(host, OpenLastProject));
    runStartupDecision(host, false);
    QCOMPARE(first.seen(), 1);
    QCOMPARE(host.loaded, QStringList { QString::fromUtf8("/w/caf\u00e9.stv") });

    {
        ModalDriver later([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        runStartupDecision(host, false); // the next ticks do nothing
        runStartupDecision(host, true);
        QCOMPARE(later.seen(), 0);
    }

    // Cancel and items 2 and 3 load nothing; the item is remembered anyway.
    for (int item : { int(StartNewProject), int(DontShowAgain) }) {
        for (bool accept : { true, false }) {
            host.loaded.clear();
            ModalDriver d(choose(host, item, accept));
            showDecisionBox(host);
            QCOMPARE(d.seen(), 1);
            QVERIFY(host.loaded.isEmpty());
            QCOMPARE(host.box.itemIndex(), item);
        }
    }
}

void StartupTest::menuWithEmptyRecentListLoadsNothing()
{
    FakeHost host;
    ScriptedDialogs script;
    ModalDriver menu(choose(host, OpenLastProject));
    showDecisionBox(host);
    QCOMPARE(menu.seen(), 1);
    QVERIFY(host.loaded.isEmpty());
    QCOMPARE(
        script.messages(), std::vector<QString> { QString::fromLatin1(NoPreviousProjectText) });
}

void StartupTest::openExistingRunsOpenPrevious()
{
    FakeHost host;
    host.recent = { recentEntry("/a/one.stv"), recentEntry("/b/two.stv") };
    ModalDriver box([&](QWidget *w) {
        choose(host, OpenExistingProject)(w);
        // The picker comes next.
        QTimer::singleShot(0, [&] {
            ModalDriver *picker = new ModalDriver([&](QWidget *p) {
                QCOMPARE(p, &host.picker);
                clickRow(host.picker.list(), 1);
                QTest::mouseClick(host.picker.selectedButton(), Qt::LeftButton);
            });
            QObject::connect(&host.picker, &QDialog::finished, [picker] { delete picker; });
        });
    });
    runStartupDecision(host, false);
    QCOMPARE(host.loaded, QStringList { QStringLiteral("/b/two.stv") });
}

void StartupTest::openPreviousLinesAndPath()
{
    FakeHost host;
    host.recent = { recentEntry("C:\\w\\a.stv"), recentEntry("/home/u/b.stv") };
    ModalDriver picker([&](QWidget *) {
        SelectionDialog &p = host.picker;
        QCOMPARE(p.windowTitle(), QStringLiteral("Load A Previous Web Project.."));
        QCOMPARE(p.selectedButton()->text(), QStringLiteral("&Open"));
        QVERIFY(p.allButton()->isHidden());
        QCOMPARE(p.list()->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(p.list()->count(), 2);
        QCOMPARE(p.list()->item(0)->text(), QStringLiteral("a.stv  in  C:\\w\\"));
        QCOMPARE(p.list()->item(1)->text(), QStringLiteral("b.stv  in  /home/u/"));
        QVERIFY(!p.selectedButton()->isEnabled());
        doubleClickRow(p.list(), 0);
    });
    openPrevious(host);
    QCOMPARE(host.loaded, QStringList { QStringLiteral("C:\\w\\a.stv") });
}

void StartupTest::openPreviousCancelledOrEmpty()
{
    FakeHost host;
    host.recent = { recentEntry("/a/one.stv") };
    ModalDriver cancel([&](QWidget *) {
        clickRow(host.picker.list(), 0);
        QTest::mouseClick(host.picker.cancelButton(), Qt::LeftButton);
    });
    openPrevious(host);
    QVERIFY(host.loaded.isEmpty());

    host.recent.clear();
    ModalDriver empty([&](QWidget *) {
        QCOMPARE(host.picker.list()->count(), 0);
        QVERIFY(!host.picker.selectedButton()->isEnabled());
        QTest::keyClick(&host.picker, Qt::Key_Return); // the default button is disabled
        QTest::mouseClick(host.picker.cancelButton(), Qt::LeftButton);
    });
    openPrevious(host);
    QVERIFY(host.loaded.isEmpty());
}

void StartupTest::firstRunAndExitWithTheConfiguration()
{
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    ScriptedDialogs script;
    QWidget main, sm;
    DecisionBox box;
    const ConfiguredWindows windows { &main, &sm, &box };
    FavouriteLists lists;
    QFile colours(dir.filePath(QString::fromLatin1(ColourListFile)));
    QVERIFY(colours.open(QIODevice::WriteOnly));
    colours.write("255\r\n");
    colours.close();

    // First run: no configuration, so the list file is not read either.
    box.setItemIndex(2);
    QCOMPARE(loadConfigurationIntoWindows(&main, windows, lists), Configuration());
    QCOMPARE(box.itemIndex(), 0);
    QCOMPARE(main.pos(), QPoint(187, 45));
    QVERIFY(lists.colours.empty());
    QVERIFY(script.asked().empty());

    // At exit everything is written; the next start reads it back.
    box.setItemIndex(3);
    sm.move(30, 50);
    lists.images = { joinFields({ "Image", "dog", "dog.gif" }) };
    QVERIFY(saveConfigurationFromWindows(&main, windows, PageOptions(), lists));
    for (const char *name : { ConfigFileName, ColourListFile, LinkListFile, ImageListFile })
        QVERIFY2(QFile::exists(dir.filePath(QString::fromLatin1(name))), name);

    FavouriteLists next;
    DecisionBox nextBox;
    const Configuration read = loadConfigurationIntoWindows(
        nullptr, ConfiguredWindows { nullptr, nullptr, &nextBox }, next);
    QCOMPARE(read.decisionItem, 3);
    QCOMPARE(read.smLeft, 30);
    QCOMPARE(nextBox.itemIndex(), 3);
    QVERIFY(next.colours.empty()); // replaced by the empty list written at exit
    QCOMPARE(next.images, lists.images);
    QVERIFY(script.asked().empty());
    setProgramFolder(QString());
}

void StartupTest::writeFailureAtExitIsReportedOnce()
{
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    QVERIFY(QDir(dir.path()).mkdir(QString::fromLatin1(LinkListFile)));
    QVERIFY(QDir(dir.path()).mkdir(QString::fromLatin1(ImageListFile)));
    ScriptedDialogs script;
    FavouriteLists lists;
    QVERIFY(!saveConfigurationFromWindows(nullptr, ConfiguredWindows {}, PageOptions(), lists));
    QCOMPARE(script.messages().size(), 1u);
    QVERIFY(script.messages()[0].contains(QString::fromLatin1(LinkListFile)));
    QVERIFY(script.messages()[0].contains(QString::fromLatin1(ImageListFile)));
    QVERIFY(QFile::exists(dir.filePath(QString::fromLatin1(ConfigFileName))));
    setProgramFolder(QString());
}

void StartupTest::render()
{
    FakeHost host;
    host.recent = { recentEntry("/home/user/web/family.stv"), recentEntry("/home/user/club.stv"),
        recentEntry("/home/user/web/old/first page.stv") };
    ModalDriver picker([&](QWidget *) {
        clickRow(host.picker.list(), 1);
        saveShot(host.picker, QStringLiteral("openprevious.png"));
        QTest::mouseClick(host.picker.cancelButton(), Qt::LeftButton);
    });
    openPrevious(host);

    SelectionDialog plain;
    plain.setWindowTitle(QStringLiteral("Select"));
    plain.setItems({ QStringLiteral("first row"), QStringLiteral("second row") });
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    saveShot(plain, QStringLiteral("multiselect.png"));
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
