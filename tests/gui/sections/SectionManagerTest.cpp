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
#include "support/QtTestApplication.h"
#include "support/TestRecords.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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

class SectionManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setProgramFolder(m_dir.path());
        m_host.list = Five();
        m_host.view = &m_sm;
        m_sm.refreshSectionManager();
        m_sm.show();
        m_host.current = -3;
        m_host.showCurrentSection();
        m_host.shows = 0;
    }
    void TearDown() override { setProgramFolder(QString()); }

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
        ASSERT_EQ(m_host.current, position);
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

TEST_F(SectionManager, RowsAreTheFixedPagesAroundTheRecords)
{
    const auto *model = m_sm.display()->model();
    ASSERT_EQ(rowCount(), 9);
    const char *const kinds[] = { "Introduction", "Create Title Bar", "Select Background",
        "Heading", "Paragraph", "Image", "Divider", "Anchor", "What`s Next?" };
    for (int r = 0; r < 9; ++r)
        EXPECT_EQ(model->index(r, 0).data().toString(), QString::fromLatin1(kinds[r])) << r;
    EXPECT_EQ(model->index(4, 0).data(RecordRowsModel::LabelRole).toString(), QStringLiteral("s1"));
    EXPECT_EQ(model->index(0, 0).data(RecordRowsModel::IconRole).toInt(), 9);
    EXPECT_EQ(model->index(8, 0).data(RecordRowsModel::IconRole).toInt(), 11);
    EXPECT_EQ(m_sm.display()->visualRect(model->index(3, 0)).height(), RecordRowHeight);
    EXPECT_EQ(selectedRow(), 0);
}

// A click stores the page, then jumps, and puts the focus on the page. A right click on
// another row jumps there first, so the popup's commands act on the row under the pointer; on
// the current row it only opens the popup.
TEST_F(SectionManager, RowClicksStoreThenJumpRightClicksToo)
{
    clickRow(5);
    EXPECT_EQ(m_host.current, 2);
    EXPECT_EQ(m_host.stores, 1);
    EXPECT_EQ(m_host.shows, 1);
    EXPECT_EQ(selectedRow(), 5);
    EXPECT_TRUE(m_host.activated);

    QListView *list = m_sm.display();
    m_host.activated = false;
    m_host.typed = "typed on the page";
    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(7, 0)).center());
    EXPECT_EQ(m_host.current, 4);
    EXPECT_EQ(m_host.stores, 2);
    EXPECT_EQ(m_host.list[2], Rec({ "Image", "s2", "typed on the page" }));
    EXPECT_EQ(selectedRow(), 7);
    EXPECT_FALSE(m_host.activated); // the popup keeps the keys
    EXPECT_TRUE(m_sm.popupMenu()->isVisible());
    m_sm.popupMenu()->hide();
    action("DeleteSection1")->trigger();
    ASSERT_EQ(m_host.list.size(), 4u);
    EXPECT_EQ(m_host.list[3], Five()[3]);

    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
        list->visualRect(list->model()->index(7, 0)).center());
    EXPECT_EQ(m_host.stores, 3); // Delete's own store; the right click did not jump again
    EXPECT_TRUE(m_sm.popupMenu()->isVisible());
    m_sm.popupMenu()->hide();
}

TEST_F(SectionManager, FixedRowsDisableEditingAndIgnoreTheDeleteKey)
{
    for (int position = -3; position < 0; ++position) {
        clickRow(position + 3);
        ASSERT_EQ(m_host.current, position);
        openPopup();
        for (const char *name : EditingItems) {
            QAction *a = std::string(name) == "Insert1"
                ? m_sm.popupMenu()->findChild<QMenu *>(QStringLiteral("Insert1"))->menuAction()
                : action(name);
            EXPECT_FALSE(a->isEnabled()) << name << " at " << position;
        }
        EXPECT_FALSE(action("MoveToImageList1")->isVisible());
        m_host.stores = 0;
        QTest::keyClick(m_sm.display(), Qt::Key_Delete);
        EXPECT_EQ(m_host.list, Five());
        EXPECT_EQ(m_host.stores, 0);
    }
    EXPECT_TRUE(m_dialogs.asked().empty());

    // A record enables them all; the Image List items only show for an Image record.
    goTo(2);
    openPopup();
    for (const char *name : { "DeleteSection1", "Paste1", "SelectfromLibrary1" })
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    EXPECT_TRUE(action("MoveToImageList1")->isVisible());
    EXPECT_TRUE(action("CopyToImageList1")->isVisible());
    EXPECT_TRUE(m_sm.popupMenu()->findChild<QAction *>(QStringLiteral("N3"))->isVisible());
    goTo(5);
    openPopup();
    EXPECT_TRUE(action("DeleteSection1")->isEnabled());
    EXPECT_FALSE(action("CopyToImageList1")->isVisible());
    EXPECT_FALSE(m_sm.popupMenu()->findChild<QAction *>(QStringLiteral("N3"))->isVisible());
}

TEST_F(SectionManager, DeleteKeyAndDeleteAtWhatsNext)
{
    goTo(1);
    QTest::keyClick(m_sm.display(), Qt::Key_Delete);
    const std::vector<std::string> five = Five();
    EXPECT_EQ(m_host.list, (std::vector<std::string> { five[0], five[2], five[3], five[4] }));
    EXPECT_EQ(m_host.stores, 1);
    EXPECT_EQ(m_host.changes, 1);
    EXPECT_EQ(m_host.onPage, five[2]); // the position now names the record that followed
    EXPECT_EQ(selectedRow(), 4);
    EXPECT_EQ(rowCount(), 8);

    goTo(4);
    run("DeleteSection1");
    EXPECT_EQ(m_host.list.size(), 4u);
    EXPECT_EQ(m_host.stores, 1);
    EXPECT_EQ(m_dialogs.messages(),
        std::vector<QString> { QStringLiteral("This Section Is Fixed. Sorry..") });
}

TEST_F(SectionManager, CutOfTheLastRecordThenPasteRestoresTheList)
{
    goTo(4);
    run("CutSection1");
    EXPECT_EQ(m_host.list.size(), 4u);
    EXPECT_EQ(m_sm.sectionClipboard(), Five()[4]);
    EXPECT_EQ(m_host.current, 4);
    EXPECT_EQ(selectedRow(), rowCount() - 1); // the "What`s Next?" row
    EXPECT_EQ(m_host.onPage, "");

    run("Paste1");
    EXPECT_EQ(m_host.list, Five());
    EXPECT_EQ(m_host.onPage, Five()[4]);
    EXPECT_EQ(selectedRow(), 7);
    EXPECT_EQ(m_host.changes, 2);
    run("Paste1"); // the clipboard keeps its record
    EXPECT_EQ(m_host.list.size(), 6u);
    EXPECT_TRUE(m_dialogs.asked().empty());
}

TEST_F(SectionManager, CopyThenPasteOnRecordTwoOfFive)
{
    goTo(0);
    run("CopySection1");
    EXPECT_EQ(m_dialogs.messages(), std::vector<QString> { QStringLiteral("Section Copied..") });
    EXPECT_EQ(m_host.list, Five());

    goTo(2);
    run("Paste1");
    const std::vector<std::string> five = Five();
    EXPECT_EQ(m_host.list,
        (std::vector<std::string> { five[0], five[1], five[0], five[2], five[3], five[4] }));
    EXPECT_EQ(m_host.onPage, five[0]);
    EXPECT_EQ(m_host.current, 2);
    EXPECT_EQ(selectedRow(), 5);
}

TEST_F(SectionManager, PasteAndInsertRefuseTheFixedRowsAndAnEmptyClipboard)
{
    goTo(-1);
    m_sm.pasteSections();
    m_sm.insertSection(0);
    m_sm.selectFromLibrary();
    goTo(1);
    run("Paste1");
    EXPECT_EQ(m_dialogs.messages(),
        (std::vector<QString> { QStringLiteral("Cannot Paste Here. Sorry.."),
            QStringLiteral("Cannot Insert Here. Sorry.."),
            QStringLiteral("Cannot Insert Here. Sorry.."), QStringLiteral("Nothing To Paste..") }));
    EXPECT_EQ(m_host.list, Five());
    EXPECT_EQ(m_host.changes, 0);
}

TEST_F(SectionManager, InsertOfADividerIsTheTemplate)
{
    QMenu *insert = m_sm.popupMenu()->findChild<QMenu *>(QStringLiteral("Insert1"));
    QStringList captions;
    for (QAction *a : insert->actions())
        captions << a->text();
    EXPECT_EQ(captions,
        (QStringList { "&Heading", "&Paragraph", "&Image", "&Divider", "&Anchor",
            "&Bullet/Numbered List", "&Line Index", "&HTML", "Play&Sound" }));

    goTo(3);
    insert->findChild<QAction *>(QStringLiteral("Divider1"))->trigger();
    ASSERT_EQ(m_host.list.size(), 6u);
    EXPECT_EQ(m_host.list[3], newSectionRecord(3));
    EXPECT_EQ(m_host.list[3],
        "\xA0"
        "Divider\xA0Untitled\xA0"
        "0\xA0"
        "1\xA0"
        "100\xA0-1\xA0");
    EXPECT_EQ(m_host.list[4], Five()[3]);
    EXPECT_EQ(m_host.onPage, m_host.list[3]);
    EXPECT_EQ(selectedRow(), 6);
    EXPECT_EQ(m_host.changes, 1);

    // At the "What`s Next?" row the new section is appended.
    goTo(6);
    insert->findChild<QAction *>(QStringLiteral("PlaySound1"))->trigger();
    EXPECT_EQ(m_host.list.back(), newSectionRecord(8));
    EXPECT_EQ(m_host.current, 6);
    EXPECT_EQ(selectedRow(), 9);
}

TEST_F(SectionManager, TypedTextIsStoredBeforeInsertButNotBeforePaste)
{
    goTo(4);
    run("CopySection1");
    goTo(1);
    m_host.typed = "typed on the page";
    run("Paste1");
    EXPECT_EQ(m_host.stores, 0);
    for (const std::string &r : m_host.list)
        EXPECT_EQ(r.find("typed on the page"), std::string::npos);
    EXPECT_EQ(m_host.onPage, Five()[4]);

    goTo(2);
    m_host.typed = "typed on the page";
    run("Heading1");
    EXPECT_EQ(m_host.stores, 1);
    EXPECT_EQ(m_host.list[2], newSectionRecord(0));
    EXPECT_EQ(splitFields(m_host.list[3], 2)[2], "typed on the page");
}

TEST_F(SectionManager, SelectFromLibraryInsertsThePicksInLibraryOrder)
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
    EXPECT_EQ(m_host.list,
        (std::vector<std::string> {
            five[0], five[1], lib[2], lib[3], lib[4], five[2], five[3], five[4] }));
    EXPECT_EQ(m_host.current, 2);
    EXPECT_EQ(m_host.onPage, lib[2]);
    EXPECT_EQ(m_host.stores, 0);
    EXPECT_EQ(m_host.changes, 1);
    EXPECT_EQ(selectedRow(), 5);

    // Closed without "&Select": nothing changes.
    QTimer::singleShot(0, &m_lib, [this] { m_lib.reject(); });
    run("SelectfromLibrary1");
    EXPECT_EQ(m_host.list.size(), 8u);
    EXPECT_EQ(m_host.changes, 1);
}

TEST_F(SectionManager, CopyToImageListTwiceAndMoveCountsAsAChangeAtOnce)
{
    goTo(2);
    m_host.typed = "not yet stored";
    run("CopyToImageList1");
    EXPECT_EQ(m_host.lists.images, std::vector<std::string> { Five()[2] });
    run("CopyToImageList1");
    EXPECT_EQ(m_host.lists.images.size(), 1u);
    EXPECT_EQ(m_dialogs.messages(),
        (std::vector<QString> {
            QStringLiteral("Image Copied.."), QStringLiteral("Image Is Already In The List :)") }));

    // The comparison ignores letter case; Move refuses a record the list holds too.
    m_host.lists.images = { joinFields({ "IMAGE", "S2", "TEXT OF S2" }) };
    m_dialogs.clear();
    run("MoveToImageList1");
    EXPECT_EQ(m_host.list, Five());
    EXPECT_EQ(m_dialogs.messages(),
        std::vector<QString> { QStringLiteral("Image Is Already In The List :)") });

    m_host.lists.images.clear();
    m_dialogs.clear();
    run("MoveToImageList1");
    EXPECT_EQ(m_host.lists.images, std::vector<std::string> { Five()[2] });
    EXPECT_EQ(m_host.list.size(), 4u);
    EXPECT_EQ(m_host.changes, 1);
    EXPECT_EQ(m_host.stores, 0);
    EXPECT_EQ(m_host.onPage, Five()[3]);
    EXPECT_EQ(selectedRow(), 5);
    EXPECT_EQ(m_dialogs.messages(), std::vector<QString> { QStringLiteral("Image Moved..") });
}

TEST_F(SectionManager, CopyToLibraryWritesTheLibrary)
{
    goTo(-2);
    m_sm.copySectionsToLibrary();
    goTo(1);
    run("CopytoLibrary1");
    EXPECT_EQ(m_host.library, std::vector<std::string> { Five()[1] });
    std::string data;
    ASSERT_TRUE(readWholeFile(libraryFilePath(), data).ok);
    EXPECT_EQ(data, Five()[1] + "\r\n");
    EXPECT_EQ(m_dialogs.messages(),
        (std::vector<QString> { QStringLiteral("This Section Is Fixed. Sorry.."),
            QStringLiteral("Section Copied To Library..") }));
    EXPECT_EQ(m_host.stores, 1);
}

TEST_F(SectionManager, RefreshKeepsTheTopRow)
{
    for (int i = 0; i < 200; ++i) {
        const std::string label = "p" + std::to_string(i);
        m_host.list.push_back(Rec({ "Paragraph", label, "text of " + label }));
    }
    m_sm.refreshSectionManager();
    QListView *list = m_sm.display();
    list->scrollTo(list->model()->index(50, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(list->indexAt(QPoint(2, 2)).row(), 50);
    m_host.list.erase(m_host.list.begin());
    m_sm.refreshSectionManager();
    EXPECT_EQ(list->indexAt(QPoint(2, 2)).row(), 50);
    EXPECT_EQ(rowCount(), 208);
}

TEST_F(SectionManager, RendersEveryKind)
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
    EXPECT_EQ(shot.size(), m_sm.size() * shot.devicePixelRatio());
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
