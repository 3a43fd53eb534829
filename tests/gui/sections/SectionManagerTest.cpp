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
#include "support/TempProgramFolder.h"
#include "support/TestRecords.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <memory>

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

// The Section Manager over the stand-in main window, in a program folder of its own.
struct SectionManagerState : test::TempProgramFolder {
    test::FakeSectionHost host;
    SectionLibraryWindow lib { host.library };
    SectionManagerWindow sm { host, lib };

    SectionManagerState()
    {
        QVERIFY(dir.isValid());
        host.list = Five();
        host.view = &sm;
        sm.refreshSectionManager();
        sm.show();
        host.current = -3;
        host.showCurrentSection();
        host.shows = 0;
    }
};

const char *const EditingItems[] = { "DeleteSection1", "CutSection1", "CopySection1",
    "CopytoLibrary1", "Paste1", "Insert1", "SelectfromLibrary1" };

} // namespace

// Each case runs on a fresh fixture, made in init() and destroyed in cleanup().
class SectionManagerTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_f = std::make_unique<SectionManagerState>(); }
    void cleanup() { m_f.reset(); }
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

private:
    // Jumps to a position the way the user does: a click on its row.
    void clickRow(int row)
    {
        QListView *list = m_f->sm.display();
        list->scrollTo(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            list->visualRect(list->model()->index(row, 0)).center());
    }
    void goTo(int position)
    {
        clickRow(position + 3);
        QCOMPARE(m_f->host.current, position);
        m_f->host.stores = m_f->host.shows = 0;
    }
    QAction *action(const char *name)
    {
        return m_f->sm.popupMenu()->findChild<QAction *>(QString::fromLatin1(name));
    }
    // Opens the popup over the list (which runs its enabling), then closes it.
    void openPopup()
    {
        m_f->sm.popupMenu()->popup(m_f->sm.display()->viewport()->mapToGlobal(QPoint(10, 10)));
        m_f->sm.popupMenu()->hide();
    }
    void run(const char *name) { action(name)->trigger(); }
    int selectedRow() const { return m_f->sm.display()->currentIndex().row(); }
    int rowCount() const { return m_f->sm.display()->model()->rowCount(); }

    std::unique_ptr<SectionManagerState> m_f;
};

void SectionManagerTest::rowsAreTheFixedPagesAroundTheRecords()
{
    const auto *model = m_f->sm.display()->model();
    QCOMPARE(rowCount(), 9);
    const char *const kinds[] = { "Introduction", "Create Title Bar", "Select Background",
        "Heading", "Paragraph", "Image", "Divider", "Anchor", "What`s Next?" };
    for (int r = 0; r < 9; ++r)
        QCOMPARE(model->index(r, 0).data().toString(), QString::fromLatin1(kinds[r]));
    QCOMPARE(model->index(4, 0).data(RecordRowsModel::LabelRole).toString(), QStringLiteral("s1"));
    QCOMPARE(model->index(0, 0).data(RecordRowsModel::IconRole).toInt(), 9);
    QCOMPARE(model->index(8, 0).data(RecordRowsModel::IconRole).toInt(), 11);
    QCOMPARE(m_f->sm.display()->visualRect(model->index(3, 0)).height(), RecordRowHeight);
    QCOMPARE(selectedRow(), 0);
}

// A click stores the page, then jumps, and puts the focus on the page. A right click on
// another row jumps there first, so the popup's commands act on the row under the pointer; on
// the current row it only opens the popup.
void SectionManagerTest::rowClicksStoreThenJumpRightClicksToo()
{
    clickRow(5);
    QCOMPARE(m_f->host.current, 2);
    QCOMPARE(m_f->host.stores, 1);
    QCOMPARE(m_f->host.shows, 1);
    QCOMPARE(selectedRow(), 5);
    QVERIFY(m_f->host.activated);

    QListView *list = m_f->sm.display();
    m_f->host.activated = false;
    m_f->host.typed = "typed on the page";
    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(7, 0)).center());
    QCOMPARE(m_f->host.current, 4);
    QCOMPARE(m_f->host.stores, 2);
    QCOMPARE(m_f->host.list[2], Rec({ "Image", "s2", "typed on the page" }));
    QCOMPARE(selectedRow(), 7);
    QVERIFY(!m_f->host.activated); // the popup keeps the keys
    QVERIFY(m_f->sm.popupMenu()->isVisible());
    m_f->sm.popupMenu()->hide();
    action("DeleteSection1")->trigger();
    QCOMPARE(m_f->host.list.size(), 4u);
    QCOMPARE(m_f->host.list[3], Five()[3]);

    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(7, 0)).center());
    QCOMPARE(m_f->host.stores, 3); // Delete's own store; the right click did not jump again
    QVERIFY(m_f->sm.popupMenu()->isVisible());
    m_f->sm.popupMenu()->hide();
}

void SectionManagerTest::fixedRowsDisableEditingAndIgnoreTheDeleteKey()
{
    for (int position = -3; position < 0; ++position) {
        clickRow(position + 3);
        QCOMPARE(m_f->host.current, position);
        openPopup();
        for (const char *name : EditingItems) {
            QAction *a = std::string(name) == "Insert1"
                ? m_f->sm.popupMenu()->findChild<QMenu *>(QStringLiteral("Insert1"))->menuAction()
                : action(name);
            QVERIFY2(!a->isEnabled(),
                qPrintable(QString::fromLatin1(name) + QStringLiteral(" at ")
                    + QString::number(position)));
        }
        QVERIFY(!action("MoveToImageList1")->isVisible());
        m_f->host.stores = 0;
        QTest::keyClick(m_f->sm.display(), Qt::Key_Delete);
        QCOMPARE(m_f->host.list, Five());
        QCOMPARE(m_f->host.stores, 0);
    }
    QVERIFY(m_f->dialogs.asked().empty());

    // A record enables them all; the Image List items only show for an Image record.
    goTo(2);
    openPopup();
    for (const char *name : { "DeleteSection1", "Paste1", "SelectfromLibrary1" })
        QVERIFY2(action(name)->isEnabled(), name);
    QVERIFY(action("MoveToImageList1")->isVisible());
    QVERIFY(action("CopyToImageList1")->isVisible());
    QVERIFY(m_f->sm.popupMenu()->findChild<QAction *>(QStringLiteral("N3"))->isVisible());
    goTo(5);
    openPopup();
    QVERIFY(action("DeleteSection1")->isEnabled());
    QVERIFY(!action("CopyToImageList1")->isVisible());
    QVERIFY(!(m_f->sm.popupMenu()->findChild<QAction *>(QStringLiteral("N3"))->isVisible()));
}

void SectionManagerTest::deleteKeyAndDeleteAtWhatsNext()
{
    goTo(1);
    QTest::keyClick(m_f->sm.display(), Qt::Key_Delete);
    const std::vector<std::string> five = Five();
    QCOMPARE(m_f->host.list, (std::vector<std::string> { five[0], five[2], five[3], five[4] }));
    QCOMPARE(m_f->host.stores, 1);
    QCOMPARE(m_f->host.changes, 1);
    QCOMPARE(m_f->host.onPage, five[2]); // the position now names the record that followed
    QCOMPARE(selectedRow(), 4);
    QCOMPARE(rowCount(), 8);

    goTo(4);
    run("DeleteSection1");
    QCOMPARE(m_f->host.list.size(), 4u);
    QCOMPARE(m_f->host.stores, 1);
    QCOMPARE(m_f->dialogs.messages(),
        std::vector<QString> { QStringLiteral("This Section Is Fixed. Sorry..") });
}

void SectionManagerTest::cutOfTheLastRecordThenPasteRestoresTheList()
{
    goTo(4);
    run("CutSection1");
    QCOMPARE(m_f->host.list.size(), 4u);
    QCOMPARE(m_f->sm.sectionClipboard(), Five()[4]);
    QCOMPARE(m_f->host.current, 4);
    QCOMPARE(selectedRow(), rowCount() - 1); // the "What`s Next?" row
    QCOMPARE(m_f->host.onPage, "");

    run("Paste1");
    QCOMPARE(m_f->host.list, Five());
    QCOMPARE(m_f->host.onPage, Five()[4]);
    QCOMPARE(selectedRow(), 7);
    QCOMPARE(m_f->host.changes, 2);
    run("Paste1"); // the clipboard keeps its record
    QCOMPARE(m_f->host.list.size(), 6u);
    QVERIFY(m_f->dialogs.asked().empty());
}

void SectionManagerTest::copyThenPasteOnRecordTwoOfFive()
{
    goTo(0);
    run("CopySection1");
    QCOMPARE(m_f->dialogs.messages(), std::vector<QString> { QStringLiteral("Section Copied..") });
    QCOMPARE(m_f->host.list, Five());

    goTo(2);
    run("Paste1");
    const std::vector<std::string> five = Five();
    QCOMPARE(m_f->host.list,
        (std::vector<std::string> { five[0], five[1], five[0], five[2], five[3], five[4] }));
    QCOMPARE(m_f->host.onPage, five[0]);
    QCOMPARE(m_f->host.current, 2);
    QCOMPARE(selectedRow(), 5);
}

void SectionManagerTest::pasteAndInsertRefuseTheFixedRowsAndAnEmptyClipboard()
{
    goTo(-1);
    m_f->sm.pasteSections();
    m_f->sm.insertSection(0);
    m_f->sm.selectFromLibrary();
    goTo(1);
    run("Paste1");
    QCOMPARE(m_f->dialogs.messages(),
        (std::vector<QString> { QStringLiteral("Cannot Paste Here. Sorry.."),
            QStringLiteral("Cannot Insert Here. Sorry.."),
            QStringLiteral("Cannot Insert Here. Sorry.."), QStringLiteral("Nothing To Paste..") }));
    QCOMPARE(m_f->host.list, Five());
    QCOMPARE(m_f->host.changes, 0);
}

void SectionManagerTest::insertOfADividerIsTheTemplate()
{
    QMenu *insert = m_f->sm.popupMenu()->findChild<QMenu *>(QStringLiteral("Insert1"));
    QStringList captions;
    for (QAction *a : insert->actions())
        captions << a->text();
    QCOMPARE(captions,
        (QStringList { "&Heading", "&Paragraph", "&Image", "&Divider", "&Anchor",
            "&Bullet/Numbered List", "&Line Index", "&HTML", "Play&Sound" }));

    goTo(3);
    insert->findChild<QAction *>(QStringLiteral("Divider1"))->trigger();
    QCOMPARE(m_f->host.list.size(), 6u);
    QCOMPARE(m_f->host.list[3], newSectionRecord(3));
    QCOMPARE(m_f->host.list[3],
        "\xA0"
        "Divider\xA0Untitled\xA0"
        "0\xA0"
        "1\xA0"
        "100\xA0-1\xA0");
    QCOMPARE(m_f->host.list[4], Five()[3]);
    QCOMPARE(m_f->host.onPage, m_f->host.list[3]);
    QCOMPARE(selectedRow(), 6);
    QCOMPARE(m_f->host.changes, 1);

    // At the "What`s Next?" row the new section is appended.
    goTo(6);
    insert->findChild<QAction *>(QStringLiteral("PlaySound1"))->trigger();
    QCOMPARE(m_f->host.list.back(), newSectionRecord(8));
    QCOMPARE(m_f->host.current, 6);
    QCOMPARE(selectedRow(), 9);
}

void SectionManagerTest::typedTextIsStoredBeforeInsertButNotBeforePaste()
{
    goTo(4);
    run("CopySection1");
    goTo(1);
    m_f->host.typed = "typed on the page";
    run("Paste1");
    QCOMPARE(m_f->host.stores, 0);
    for (const std::string &r : m_f->host.list)
        QCOMPARE(r.find("typed on the page"), std::string::npos);
    QCOMPARE(m_f->host.onPage, Five()[4]);

    goTo(2);
    m_f->host.typed = "typed on the page";
    run("Heading1");
    QCOMPARE(m_f->host.stores, 1);
    QCOMPARE(m_f->host.list[2], newSectionRecord(0));
    QCOMPARE(splitFields(m_f->host.list[3], 2)[2], "typed on the page");
}

void SectionManagerTest::selectFromLibraryInsertsThePicksInLibraryOrder()
{
    for (int i = 0; i < 5; ++i) {
        const std::string label = "lib" + std::to_string(i);
        m_f->host.library.push_back(Rec({ "List", label, "text of " + label }));
    }
    goTo(2);
    QTimer::singleShot(0, &m_f->lib, [this] {
        QListView *list = m_f->lib.libList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            list->visualRect(list->model()->index(4, 0)).center());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
            list->visualRect(list->model()->index(2, 0)).center());
        m_f->lib.popupMenu()->findChild<QAction *>(QStringLiteral("Select1"))->trigger();
    });
    run("SelectfromLibrary1");
    const std::vector<std::string> five = Five();
    const std::vector<std::string> &lib = m_f->host.library;
    QCOMPARE(m_f->host.list,
        (std::vector<std::string> {
            five[0], five[1], lib[2], lib[3], lib[4], five[2], five[3], five[4] }));
    QCOMPARE(m_f->host.current, 2);
    QCOMPARE(m_f->host.onPage, lib[2]);
    QCOMPARE(m_f->host.stores, 0);
    QCOMPARE(m_f->host.changes, 1);
    QCOMPARE(selectedRow(), 5);

    // Closed without "&Select": nothing changes.
    QTimer::singleShot(0, &m_f->lib, [this] { m_f->lib.reject(); });
    run("SelectfromLibrary1");
    QCOMPARE(m_f->host.list.size(), 8u);
    QCOMPARE(m_f->host.changes, 1);
}

void SectionManagerTest::copyToImageListTwiceAndMoveCountsAsAChangeAtOnce()
{
    goTo(2);
    m_f->host.typed = "not yet stored";
    run("CopyToImageList1");
    QCOMPARE(m_f->host.lists.images, std::vector<std::string> { Five()[2] });
    run("CopyToImageList1");
    QCOMPARE(m_f->host.lists.images.size(), 1u);
    QCOMPARE(m_f->dialogs.messages(),
        (std::vector<QString> {
            QStringLiteral("Image Copied.."), QStringLiteral("Image Is Already In The List :)") }));

    // The comparison ignores letter case; Move refuses a record the list holds too.
    m_f->host.lists.images = { joinFields({ "IMAGE", "S2", "TEXT OF S2" }) };
    m_f->dialogs.clear();
    run("MoveToImageList1");
    QCOMPARE(m_f->host.list, Five());
    QCOMPARE(m_f->dialogs.messages(),
        std::vector<QString> { QStringLiteral("Image Is Already In The List :)") });

    m_f->host.lists.images.clear();
    m_f->dialogs.clear();
    run("MoveToImageList1");
    QCOMPARE(m_f->host.lists.images, std::vector<std::string> { Five()[2] });
    QCOMPARE(m_f->host.list.size(), 4u);
    QCOMPARE(m_f->host.changes, 1);
    QCOMPARE(m_f->host.stores, 0);
    QCOMPARE(m_f->host.onPage, Five()[3]);
    QCOMPARE(selectedRow(), 5);
    QCOMPARE(m_f->dialogs.messages(), std::vector<QString> { QStringLiteral("Image Moved..") });
}

void SectionManagerTest::copyToLibraryWritesTheLibrary()
{
    goTo(-2);
    m_f->sm.copySectionsToLibrary();
    goTo(1);
    run("CopytoLibrary1");
    QCOMPARE(m_f->host.library, std::vector<std::string> { Five()[1] });
    std::string data;
    Result<std::string> dataRead = readWholeFile(libraryFilePath());
    QVERIFY(dataRead.ok());
    data = std::move(dataRead.value());
    QCOMPARE(data, Five()[1] + "\r\n");
    QCOMPARE(m_f->dialogs.messages(),
        (std::vector<QString> { QStringLiteral("This Section Is Fixed. Sorry.."),
            QStringLiteral("Section Copied To Library..") }));
    QCOMPARE(m_f->host.stores, 1);
}

void SectionManagerTest::refreshKeepsTheTopRow()
{
    for (int i = 0; i < 200; ++i) {
        const std::string label = "p" + std::to_string(i);
        m_f->host.list.push_back(Rec({ "Paragraph", label, "text of " + label }));
    }
    m_f->sm.refreshSectionManager();
    QListView *list = m_f->sm.display();
    list->scrollTo(list->model()->index(50, 0), QAbstractItemView::PositionAtTop);
    QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 50);
    m_f->host.list.erase(m_f->host.list.begin());
    m_f->sm.refreshSectionManager();
    QCOMPARE(list->indexAt(QPoint(2, 2)).row(), 50);
    QCOMPARE(rowCount(), 208);
}

void SectionManagerTest::rendersEveryKind()
{
    m_f->host.list.clear();
    for (int k = 0; k < KindCount; ++k) {
        std::string r = newSectionRecord(k);
        r = replaceField(r, 1, "Label " + std::to_string(k));
        m_f->host.list.push_back(r);
    }
    m_f->host.list.push_back(Rec({ "Marquee", "unknown kind", "text of unknown kind" }));
    m_f->host.list.push_back(
        Rec({ "Heading", "A long label that runs far", "text of A long label that runs far" }));
    m_f->sm.refreshSectionManager();
    goTo(4);
    m_f->sm.display()->setFocus();
    const QImage shot = m_f->sm.grab().toImage();
    QCOMPARE(shot.size(), m_f->sm.size() * shot.devicePixelRatio());
    const QByteArray dir = qgetenv("STV_SHOT_DIR");
    if (!dir.isEmpty()) {
        shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/sm.png"));
        m_f->host.library = m_f->host.list;
        SectionLibraryWindow lib(m_f->host.library);
        lib.show();
        lib.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/lib.png"));
        goTo(2); // an Image record: the whole popup
        m_f->sm.popupMenu()->popup(QPoint(0, 0));
        m_f->sm.popupMenu()->grab().save(
            QString::fromLocal8Bit(dir) + QStringLiteral("/popup.png"));
        m_f->sm.popupMenu()->hide();
    }
}

QTEST_MAIN(SectionManagerTest)
#include "SectionManagerTest.moc"
