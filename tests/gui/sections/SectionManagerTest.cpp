// The Section Manager driven like a user (offscreen), against a stand-in for the main window
// that keeps the section list and counts page stores and shows.
#include "core/files/FileIO.h"
#include "core/project/Records.h"
#include "core/settings/FavouriteLists.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/SectionHost.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "gui/sections/SectionManagerWindow.h"
#include "support/FakeSectionHost.h"
#include "support/TestRecords.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace stv;
using stv::test::Rec;

namespace
{

std::vector<std::string> Five()
{
    return { Rec({ "Heading", "s0", "text of s0" }), Rec({ "Paragraph", "s1", "text of s1" }),
        Rec({ "Image", "s2", "text of s2" }), Rec({ "Divider", "s3", "text of s3" }),
        Rec({ "Anchor", "s4", "text of s4" }) };
}

// Each case runs on a fresh fixture, made and destroyed around it.
class SectionManager
{
public:
    void rowsAreTheFixedPagesAroundTheRecords();
    void rowClicksStoreThenJumpRightClicksToo();
    void fixedRowsDisableEditingAndIgnoreTheDeleteKey();
    void deleteKeyAndDeleteAtWhatsNext();
    void cutOfTheLastRecordThenPasteRestoresTheList();
    void copyThenPasteOnRecordTwoOfFive();
    void pasteAndInsertRefuseTheFixedRowsAndAnEmptyClipboard();
    void insertOfADividerIsTheTemplate();
    void typedTextIsStoredBeforeInsertButNotBeforePaste();
    void selectFromLibraryInsertsThePicksInLibraryOrder();
    void copyToImageListTwiceAndMoveCountsAsAChangeAtOnce();
    void copyToLibraryWritesTheLibrary();
    void refreshKeepsTheTopRow();
    void rendersEveryKind();

    SectionManager()
    {
        QVERIFY(m_dir.isValid());
        setProgramFolder(m_dir.path());
        m_host.list = Five();
        m_host.view = &m_sm;
        m_sm.refreshSectionManager();
        m_sm.show();
        m_host.current = -3;
        m_host.showCurrentSection();
        m_host.shows = 0;
    }
    ~SectionManager() { setProgramFolder(QString()); }

    // Jumps to a position the way the user does: a click on its row.
    void clickRow(int row)
    {
        QListView *list = m_sm.display();
        list->scrollTo(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            list->visualRect(list->model()->index(row, 0)).center());
    }
    void goTo(int position)
    {
        clickRow(position + 3);
        QCOMPARE(m_host.current, position);
        m_host.stores = m_host.shows = 0;
    }
    QAction *action(const char *name)
    {
        return m_sm.popupMenu()->findChild<QAction *>(QString::fromLatin1(name));
    }
    // Opens the popup over the list (which runs its enabling), then closes it.
    void openPopup()
    {
        m_sm.popupMenu()->popup(m_sm.display()->viewport()->mapToGlobal(QPoint(10, 10)));
        m_sm.popupMenu()->hide();
    }
    void run(const char *name) { action(name)->trigger(); }
    int selectedRow() const { return m_sm.display()->currentIndex().row(); }
    int rowCount() const { return m_sm.display()->model()->rowCount(); }

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    test::FakeSectionHost m_host;
    SectionLibraryWindow m_lib { m_host.library };
    SectionManagerWindow m_sm { m_host, m_lib };
};

const char *const EditingItems[] = { "DeleteSection1", "CutSection1", "CopySection1",
    "CopytoLibrary1", "Paste1", "Insert1", "SelectfromLibrary1" };

} // namespace

void SectionManager::rowsAreTheFixedPagesAroundTheRecords()
{
    const auto *model = m_sm.display()->model();
    QCOMPARE(rowCount(), 9);
    const char *const kinds[] = { "Introduction", "Create Title Bar", "Select Background",
        "Heading", "Paragraph", "Image", "Divider", "Anchor", "What`s Next?" };
    for (int r = 0; r < 9; ++r)
        QCOMPARE(model->index(r, 0).data().toString(), QString::fromLatin1(kinds[r]));
    QCOMPARE(model->index(4, 0).data(RecordRowsModel::LabelRole).toString(), QStringLiteral("s1"));
    QCOMPARE(model->index(0, 0).data(RecordRowsModel::IconRole).toInt(), 9);
    QCOMPARE(model->index(8, 0).data(RecordRowsModel::IconRole).toInt(), 11);
    QCOMPARE(m_sm.display()->visualRect(model->index(3, 0)).height(), RecordRowHeight);
    QCOMPARE(selectedRow(), 0);
}

// A click stores the page, then jumps, and puts the focus on the page. A right click on
// another row jumps there first, so the popup's commands act on the row under the pointer; on
// the current row it only opens the popup.
void SectionManager::rowClicksStoreThenJumpRightClicksToo()
{
    clickRow(5);
    QCOMPARE(m_host.current, 2);
    QCOMPARE(m_host.stores, 1);
    QCOMPARE(m_host.shows, 1);
    QCOMPARE(selectedRow(), 5);
    QVERIFY(m_host.activated);

    QListView *list = m_sm.display();
    m_host.activated = false;
    m_host.typed = "typed on the page";
    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(7, 0)).center());
    QCOMPARE(m_host.current, 4);
    QCOMPARE(m_host.stores, 2);
    QCOMPARE(m_host.list[2], Rec({ "Image", "s2", "typed on the page" }));
    QCOMPARE(selectedRow(), 7);
    QVERIFY(!m_host.activated); // the popup keeps the keys
    QVERIFY(m_sm.popupMenu()->isVisible());
    m_sm.popupMenu()->hide();
    action("DeleteSection1")->trigger();
    QCOMPARE(m_host.list.size(), 4u);
    QCOMPARE(m_host.list[3], Five()[3]);

    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(7, 0)).center());
    QCOMPARE(m_host.stores, 3); // Delete's own store; the right click did not jump again
    QVERIFY(m_sm.popupMenu()->isVisible());
    m_sm.popupMenu()->hide();
}

void SectionManager::fixedRowsDisableEditingAndIgnoreTheDeleteKey()
{
    for (int position = -3; position < 0; ++position) {
        clickRow(position + 3);
        QCOMPARE(m_host.current, position);
        openPopup();
        for (const char *name : EditingItems) {
            QAction *a = std::string(name) == "Insert1"
                ? m_sm.popupMenu()->findChild<QMenu *>(QStringLiteral("Insert1"))->menuAction()
                : action(name);
            QVERIFY2(!a->isEnabled(),
                qPrintable(QString::fromLatin1(name) + QStringLiteral(" at ")
                    + QString::number(position)));
        }
        QVERIFY(!action("MoveToImageList1")->isVisible());
        m_host.stores = 0;
        QTest::keyClick(m_sm.display(), Qt::Key_Delete);
        QCOMPARE(m_host.list, Five());
        QCOMPARE(m_host.stores, 0);
    }
    QVERIFY(m_dialogs.asked().empty());

    // A record enables them all; the Image List items only show for an Image record.
    goTo(2);
    openPopup();
    for (const char *name : { "DeleteSection1", "Paste1", "SelectfromLibrary1" })
        QVERIFY2(action(name)->isEnabled(), name);
    QVERIFY(action("MoveToImageList1")->isVisible());
    QVERIFY(action("CopyToImageList1")->isVisible());
    QVERIFY(m_sm.popupMenu()->findChild<QAction *>(QStringLiteral("N3"))->isVisible());
    goTo(5);
    openPopup();
    QVERIFY(action("DeleteSection1")->isEnabled());
    QVERIFY(!action("CopyToImageList1")->isVisible());
    QVERIFY(!(m_sm.popupMenu()->findChild<QAction *>(QStringLiteral("N3"))->isVisible()));
}

void SectionManager::deleteKeyAndDeleteAtWhatsNext()
{
    goTo(1);
    QTest::keyClick(m_sm.display(), Qt::Key_Delete);
    const std::vector<std::string> five = Five();
    QCOMPARE(m_host.list, (std::vector<std::string> { five[0], five[2], five[3], five[4] }));
    QCOMPARE(m_host.stores, 1);
    QCOMPARE(m_host.changes, 1);
    QCOMPARE(m_host.onPage, five[2]); // the position now names the record that followed
    QCOMPARE(selectedRow(), 4);
    QCOMPARE(rowCount(), 8);

    goTo(4);
    run("DeleteSection1");
    QCOMPARE(m_host.list.size(), 4u);
    QCOMPARE(m_host.stores, 1);
    QCOMPARE(m_dialogs.messages(),
        std::vector<QString> { QStringLiteral("This Section Is Fixed. Sorry..") });
}

void SectionManager::cutOfTheLastRecordThenPasteRestoresTheList()
{
    goTo(4);
    run("CutSection1");
    QCOMPARE(m_host.list.size(), 4u);
    QCOMPARE(m_sm.sectionClipboard(), Five()[4]);
    QCOMPARE(m_host.current, 4);
    QCOMPARE(selectedRow(), rowCount() - 1); // the "What`s Next?" row
    QCOMPARE(m_host.onPage, "");

    run("Paste1");
    QCOMPARE(m_host.list, Five());
    QCOMPARE(m_host.onPage, Five()[4]);
    QCOMPARE(selectedRow(), 7);
    QCOMPARE(m_host.changes, 2);
    run("Paste1"); // the clipboard keeps its record
    QCOMPARE(m_host.list.size(), 6u);
    QVERIFY(m_dialogs.asked().empty());
}

void SectionManager::copyThenPasteOnRecordTwoOfFive()
{
    goTo(0);
    run("CopySection1");
    QCOMPARE(m_dialogs.messages(), std::vector<QString> { QStringLiteral("Section Copied..") });
    QCOMPARE(m_host.list, Five());

    goTo(2);
    run("Paste1");
    const std::vector<std::string> five = Five();
    QCOMPARE(m_host.list,
        (std::vector<std::string> { five[0], five[1], five[0], five[2], five[3], five[4] }));
    QCOMPARE(m_host.onPage, five[0]);
    QCOMPARE(m_host.current, 2);
    QCOMPARE(selectedRow(), 5);
}

void SectionManager::pasteAndInsertRefuseTheFixedRowsAndAnEmptyClipboard()
{
    goTo(-1);
    m_sm.pasteSections();
    m_sm.insertSection(0);
    m_sm.selectFromLibrary();
    goTo(1);
    run("Paste1");
    QCOMPARE(m_dialogs.messages(),
        (std::vector<QString> { QStringLiteral("Cannot Paste Here. Sorry.."),
            QStringLiteral("Cannot Insert Here. Sorry.."),
            QStringLiteral("Cannot Insert Here. Sorry.."), QStringLiteral("Nothing To Paste..") }));
    QCOMPARE(m_host.list, Five());
    QCOMPARE(m_host.changes, 0);
}

void SectionManager::insertOfADividerIsTheTemplate()
{
    QMenu *insert = m_sm.popupMenu()->findChild<QMenu *>(QStringLiteral("Insert1"));
    QStringList captions;
    for (QAction *a : insert->actions())
        captions << a->text();
    QCOMPARE(captions,
        (QStringList { "&Heading", "&Paragraph", "&Image", "&Divider", "&Anchor",
            "&Bullet/Numbered List", "&Line Index", "&HTML", "Play&Sound" }));

    goTo(3);
    insert->findChild<QAction *>(QStringLiteral("Divider1"))->trigger();
    QCOMPARE(m_host.list.size(), 6u);
    QCOMPARE(m_host.list[3], newSectionRecord(3));
    QCOMPARE(m_host.list[3],
        "\xA0"
        "Divider\xA0Untitled\xA0"
        "0\xA0"
        "1\xA0"
        "100\xA0-1\xA0");
    QCOMPARE(m_host.list[4], Five()[3]);
    QCOMPARE(m_host.onPage, m_host.list[3]);
    QCOMPARE(selectedRow(), 6);
    QCOMPARE(m_host.changes, 1);

    // At the "What`s Next?" row the new section is appended.
    goTo(6);
    insert->findChild<QAction *>(QStringLiteral("PlaySound1"))->trigger();
    QCOMPARE(m_host.list.back(), newSectionRecord(8));
    QCOMPARE(m_host.current, 6);
    QCOMPARE(selectedRow(), 9);
}

void SectionManager::typedTextIsStoredBeforeInsertButNotBeforePaste()
{
    goTo(4);
    run("CopySection1");
    goTo(1);
    m_host.typed = "typed on the page";
    run("Paste1");
    QCOMPARE(m_host.stores, 0);
    for (const std::string &r : m_host.list)
        QCOMPARE(r.find("typed on the page"), std::string::npos);
    QCOMPARE(m_host.onPage, Five()[4]);

    goTo(2);
    m_host.typed = "typed on the page";
    run("Heading1");
    QCOMPARE(m_host.stores, 1);
    QCOMPARE(m_host.list[2], newSectionRecord(0));
    QCOMPARE(splitFields(m_host.list[3], 2)[2], "typed on the page");
}

void SectionManager::selectFromLibraryInsertsThePicksInLibraryOrder()
{
    for (int i = 0; i < 5; ++i) {
        const std::string label = "lib" + std::to_string(i);
        m_host.library.push_back(Rec({ "List", label, "text of " + label }));
    }
    goTo(2);
    QTimer::singleShot(0, &m_lib, [this] {
        QListView *list = m_lib.libList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            list->visualRect(list->model()->index(4, 0)).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
            list->visualRect(list->model()->index(2, 0)).center());
        m_lib.popupMenu()->findChild<QAction *>(QStringLiteral("Select1"))->trigger();
    });
    run("SelectfromLibrary1");
    const std::vector<std::string> five = Five();
    const std::vector<std::string> &lib = m_host.library;
    QCOMPARE(m_host.list,
        (std::vector<std::string> {
            five[0], five[1], lib[2], lib[3], lib[4], five[2], five[3], five[4] }));
    QCOMPARE(m_host.current, 2);
    QCOMPARE(m_host.onPage, lib[2]);
    QCOMPARE(m_host.stores, 0);
    QCOMPARE(m_host.changes, 1);
    QCOMPARE(selectedRow(), 5);

    // Closed without "&Select": nothing changes.
    QTimer::singleShot(0, &m_lib, [this] { m_lib.reject(); });
    run("SelectfromLibrary1");
    QCOMPARE(m_host.list.size(), 8u);
    QCOMPARE(m_host.changes, 1);
}

void SectionManager::copyToImageListTwiceAndMoveCountsAsAChangeAtOnce()
{
    goTo(2);
    m_host.typed = "not yet stored";
    run("CopyToImageList1");
    QCOMPARE(m_host.lists.images, std::vector<std::string> { Five()[2] });
    run("CopyToImageList1");
    QCOMPARE(m_host.lists.images.size(), 1u);
    QCOMPARE(m_dialogs.messages(),
        (std::vector<QString> {
            QStringLiteral("Image Copied.."), QStringLiteral("Image Is Already In The List :)") }));

    // The comparison ignores letter case; Move refuses a record the list holds too.
    m_host.lists.images = { joinFields({ "IMAGE", "S2", "TEXT OF S2" }) };
    m_dialogs.clear();
    run("MoveToImageList1");
    QCOMPARE(m_host.list, Five());
    QCOMPARE(m_dialogs.messages(),
        std::vector<QString> { QStringLiteral("Image Is Already In The List :)") });

    m_host.lists.images.clear();
    m_dialogs.clear();
    run("MoveToImageList1");
    QCOMPARE(m_host.lists.images, std::vector<std::string> { Five()[2] });
    QCOMPARE(m_host.list.size(), 4u);
    QCOMPARE(m_host.changes, 1);
    QCOMPARE(m_host.stores, 0);
    QCOMPARE(m_host.onPage, Five()[3]);
    QCOMPARE(selectedRow(), 5);
    QCOMPARE(m_dialogs.messages(), std::vector<QString> { QStringLiteral("Image Moved..") });
}

void SectionManager::copyToLibraryWritesTheLibrary()
{
    goTo(-2);
    m_sm.copySectionsToLibrary();
    goTo(1);
    run("CopytoLibrary1");
    QCOMPARE(m_host.library, std::vector<std::string> { Five()[1] });
    std::string data;
    Result<std::string> dataRead = readWholeFile(libraryFilePath());
    QVERIFY(dataRead.ok());
    data = std::move(dataRead.value());
    QCOMPARE(data, Five()[1] + "\r\n");
    QCOMPARE(m_dialogs.messages(),
        (std::vector<QString> { QStringLiteral("This Section Is Fixed. Sorry.."),
            QStringLiteral("Section Copied To Library..") }));
    QCOMPARE(m_host.stores, 1);
}

void SectionManager::refreshKeepsTheTopRow()
{
    for (int i = 0; i < 200; ++i) {
        const std::string label = "p" + std::to_string(i);
        m_host.list.push_back(Rec({ "Paragraph", label, "text of " + label }));
    }
    m_sm.refreshSectionManager();
    QListView *list = m_sm.display();
    list->scrollTo(list->model()->index(50, 0), QAbstractItemView::PositionAtTop);
    QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 50);
    m_host.list.erase(m_host.list.begin());
    m_sm.refreshSectionManager();
    QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 50);
    QCOMPARE(rowCount(), 208);
}

void SectionManager::rendersEveryKind()
{
    m_host.list.clear();
    for (int k = 0; k < KindCount; ++k) {
        std::string r = newSectionRecord(k);
        r = replaceField(r, 1, "Label " + std::to_string(k));
        m_host.list.push_back(r);
    }
    m_host.list.push_back(Rec({ "Marquee", "unknown kind", "text of unknown kind" }));
    m_host.list.push_back(
        Rec({ "Heading", "A long label that runs far", "text of A long label that runs far" }));
    m_sm.refreshSectionManager();
    goTo(4);
    m_sm.display()->setFocus();
    const QImage shot = m_sm.grab().toImage();
    QCOMPARE(shot.size(), m_sm.size() * shot.devicePixelRatio());
    const QByteArray dir = qgetenv("STV_SHOT_DIR");
    if (!dir.isEmpty()) {
        shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/sm.png"));
        m_host.library = m_host.list;
        SectionLibraryWindow lib(m_host.library);
        lib.show();
        lib.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/lib.png"));
        goTo(2); // an Image record: the whole popup
        m_sm.popupMenu()->popup(QPoint(0, 0));
        m_sm.popupMenu()->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/popup.png"));
        m_sm.popupMenu()->hide();
    }
}

class SectionManagerTest : public QObject
{
    Q_OBJECT
private slots:
    void rowsAreTheFixedPagesAroundTheRecords()
    {
        SectionManager().rowsAreTheFixedPagesAroundTheRecords();
    }
    void rowClicksStoreThenJumpRightClicksToo()
    {
        SectionManager().rowClicksStoreThenJumpRightClicksToo();
    }
    void fixedRowsDisableEditingAndIgnoreTheDeleteKey()
    {
        SectionManager().fixedRowsDisableEditingAndIgnoreTheDeleteKey();
    }
    void deleteKeyAndDeleteAtWhatsNext() { SectionManager().deleteKeyAndDeleteAtWhatsNext(); }
    void cutOfTheLastRecordThenPasteRestoresTheList()
    {
        SectionManager().cutOfTheLastRecordThenPasteRestoresTheList();
    }
    void copyThenPasteOnRecordTwoOfFive() { SectionManager().copyThenPasteOnRecordTwoOfFive(); }
    void pasteAndInsertRefuseTheFixedRowsAndAnEmptyClipboard()
    {
        SectionManager().pasteAndInsertRefuseTheFixedRowsAndAnEmptyClipboard();
    }
    void insertOfADividerIsTheTemplate() { SectionManager().insertOfADividerIsTheTemplate(); }
    void typedTextIsStoredBeforeInsertButNotBeforePaste()
    {
        SectionManager().typedTextIsStoredBeforeInsertButNotBeforePaste();
    }
    void selectFromLibraryInsertsThePicksInLibraryOrder()
    {
        SectionManager().selectFromLibraryInsertsThePicksInLibraryOrder();
    }
    void copyToImageListTwiceAndMoveCountsAsAChangeAtOnce()
    {
        SectionManager().copyToImageListTwiceAndMoveCountsAsAChangeAtOnce();
    }
    void copyToLibraryWritesTheLibrary() { SectionManager().copyToLibraryWritesTheLibrary(); }
    void refreshKeepsTheTopRow() { SectionManager().refreshKeepsTheTopRow(); }
    void rendersEveryKind() { SectionManager().rendersEveryKind(); }
};

QTEST_MAIN(SectionManagerTest)
#include "SectionManagerTest.moc"
