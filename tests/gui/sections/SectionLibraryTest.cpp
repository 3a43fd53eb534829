// The section library: file format, row operations, and the Section Library window driven
// like a user on the offscreen platform.
#include "core/files/FileIO.h"
#include "core/project/Library.h"
#include "core/project/Records.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "support/FullFileSystem.h"
#include "support/QtTestApplication.h"
#include "support/TestRecords.h"

#include <QAction>
#include <QDir>
#include <QListView>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace stv;
using stv::test::Rec;

namespace
{

std::vector<std::string> FiveRecords()
{
    return { Rec({ "Heading", "r0", "x" }), Rec({ "Paragraph", "r1", "x" }),
        Rec({ "Image", "r2", "x" }), Rec({ "Divider", "r3", "x" }), Rec({ "Anchor", "r4", "x" }) };
}

std::string FileText(const std::string &path)
{
    std::string data;
    readWholeFile(path, data);
    return data;
}

// Selects rows of the library window the way a user does: click, then Ctrl+click.
void ClickRows(SectionLibraryWindow &lib, const std::vector<int> &rows)
{
    QListView *list = lib.libList();
    bool first = true;
    for (const int row : rows) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton,
            first ? Qt::KeyboardModifiers() : Qt::ControlModifier, rect.center());
        first = false;
    }
}

// Opens the popup as the user would, reads the enabling, closes it again.
std::pair<bool, bool> PopupEnabling(SectionLibraryWindow &lib)
{
    QMenu *menu = lib.popupMenu();
    menu->popup(lib.libList()->viewport()->mapToGlobal(QPoint(5, 5)));
    const auto *select = menu->findChild<QAction *>(QStringLiteral("Select1"));
    const auto *del = menu->findChild<QAction *>(QStringLiteral("Delete1"));
    std::pair<bool, bool> enabled { select->isEnabled(), del->isEnabled() };
    menu->hide();
    return enabled;
}

std::vector<QString> ShownRows(SectionLibraryWindow &lib)
{
    std::vector<QString> rows;
    const auto *model = lib.libList()->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows.push_back(model->index(r, 0).data(RecordRowsModel::LabelRole).toString());
    return rows;
}

class LibraryWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setProgramFolder(m_dir.path());
        m_path = libraryFilePath();
    }
    void TearDown() override { setProgramFolder(QString()); }

    QTemporaryDir m_dir;
    std::string m_path;
    ScriptedDialogs m_dialogs;
    std::vector<std::string> m_library;
};

} // namespace

TEST(LibraryFile, MissingFileIsEmptyAndRecordsRoundTrip)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Library")).toStdString();
    std::vector<std::string> sections { "stale" };
    EXPECT_TRUE(readLibraryFile(path, sections).ok);
    EXPECT_TRUE(sections.empty());

    const std::vector<std::string> records = FiveRecords();
    ASSERT_TRUE(writeLibraryFile(path, records).ok);
    EXPECT_EQ(FileText(path),
        records[0] + "\r\n" + records[1] + "\r\n" + records[2] + "\r\n" + records[3] + "\r\n"
            + records[4] + "\r\n");
    ASSERT_TRUE(readLibraryFile(path, sections).ok);
    EXPECT_EQ(sections, records);

    // A "Library" that cannot be read is an error, not an empty library.
    QDir(dir.path()).mkdir(QStringLiteral("Unreadable"));
    const FileResult r
        = readLibraryFile(dir.filePath(QStringLiteral("Unreadable")).toStdString(), sections);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
}

TEST(LibraryRows, PickRemoveAndInsertKeepListOrder)
{
    const std::vector<std::string> lib { "a", "b", "c", "d", "e" };
    EXPECT_EQ(recordsAtRows(lib, { 2, 0 }), (std::vector<std::string> { "a", "c" }));
    EXPECT_EQ(recordsAtRows(lib, { 4, 4, 9, -1 }), (std::vector<std::string> { "e" }));

    std::vector<std::string> rows = lib;
    removeRows(rows, { 3, 1 });
    EXPECT_EQ(rows, (std::vector<std::string> { "a", "c", "e" }));

    std::vector<std::string> list { "x", "y" };
    insertRecords(list, 1, { "p", "q" });
    EXPECT_EQ(list, (std::vector<std::string> { "x", "p", "q", "y" }));
    insertRecords(list, 4, { "end" });
    insertRecords(list, 99, { "past" });
    insertRecords(list, -5, { "front" });
    EXPECT_EQ(list, (std::vector<std::string> { "front", "x", "p", "q", "y", "end", "past" }));
}

TEST_F(LibraryWindow, CopyingTwiceGivesTwoEqualRowsInTheFile)
{
    SectionLibraryWindow lib(m_library);
    const std::string record = Rec({ "Heading", "Top", "x" });
    lib.copyToLibrary(record);
    lib.copyToLibrary(record);
    EXPECT_EQ(m_library, (std::vector<std::string> { record, record }));
    EXPECT_EQ(FileText(m_path), record + "\r\n" + record + "\r\n");
    EXPECT_EQ(m_dialogs.messages(),
        (std::vector<QString> { QStringLiteral("Section Copied To Library.."),
            QStringLiteral("Section Copied To Library..") }));
    EXPECT_EQ(
        ShownRows(lib), (std::vector<QString> { QStringLiteral("Top"), QStringLiteral("Top") }));
}

TEST_F(LibraryWindow, DeletingRowsOneAndThreeLeavesTheOthersOnScreenAndInTheFile)
{
    m_library = FiveRecords();
    SectionLibraryWindow lib(m_library);
    lib.show();
    ClickRows(lib, { 1, 3 });
    EXPECT_EQ(PopupEnabling(lib), std::make_pair(true, true));
    lib.popupMenu()->findChild<QAction *>(QStringLiteral("Delete1"))->trigger();

    const std::vector<std::string> five = FiveRecords();
    const std::vector<std::string> left { five[0], five[2], five[4] };
    EXPECT_EQ(m_library, left);
    EXPECT_EQ(ShownRows(lib),
        (std::vector<QString> {
            QStringLiteral("r0"), QStringLiteral("r2"), QStringLiteral("r4") }));
    std::vector<std::string> onDisk;
    ASSERT_TRUE(readLibraryFile(m_path, onDisk).ok);
    EXPECT_EQ(onDisk, left);
    EXPECT_TRUE(lib.isVisible()); // the window stays open after a delete
    EXPECT_TRUE(m_dialogs.messages().empty());
}

// A right click inside the selection keeps all of it; on a row outside, that row alone is
// chosen, as on any desktop list.
TEST_F(LibraryWindow, RightClickKeepsASelectionItFallsInto)
{
    m_library = FiveRecords();
    SectionLibraryWindow lib(m_library);
    lib.show();
    ClickRows(lib, { 1, 3 });
    QListView *list = lib.libList();
    const auto rightClick = [&](int row) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, rect.center());
        EXPECT_TRUE(lib.popupMenu()->isVisible());
        lib.popupMenu()->hide();
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, rect.center());
    };
    rightClick(3);
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);
    rightClick(4);
    ASSERT_EQ(list->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(list->selectionModel()->selectedRows()[0].row(), 4);
}

// Enter and a double click insert the chosen rows, as "&Select" does.
TEST_F(LibraryWindow, EnterAndDoubleClickSelect)
{
    m_library = FiveRecords();
    SectionLibraryWindow lib(m_library);
    QListView *list = lib.libList();
    QTimer::singleShot(0, &lib, [&lib, list] {
        ClickRows(lib, { 1, 2 });
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(lib.pickFromLibrary(), (std::vector<std::string> { m_library[1], m_library[2] }));
    QTimer::singleShot(0, &lib, [list] {
        const QRect rect = list->visualRect(list->model()->index(4, 0));
        // A real double click: press, release, the double-click press, release.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rect.center());
    });
    EXPECT_EQ(lib.pickFromLibrary(), std::vector<std::string> { m_library[4] });
}

TEST_F(LibraryWindow, PickReturnsSelectedRecordsInListOrderOnlyThroughSelect)
{
    m_library = FiveRecords();
    SectionLibraryWindow lib(m_library);

    QTimer::singleShot(0, &lib, [&lib] {
        ClickRows(lib, { 2, 0 });
        lib.popupMenu()->findChild<QAction *>(QStringLiteral("Select1"))->trigger();
    });
    EXPECT_EQ(lib.pickFromLibrary(), (std::vector<std::string> { m_library[0], m_library[2] }));

    // Closed any other way: nothing, even with rows selected.
    QTimer::singleShot(0, &lib, [&lib] {
        ClickRows(lib, { 1 });
        lib.reject();
    });
    EXPECT_TRUE(lib.pickFromLibrary().empty());
    EXPECT_EQ(m_library, FiveRecords());
}

TEST_F(LibraryWindow, EmptyLibraryOffersNothing)
{
    SectionLibraryWindow lib(m_library);
    bool checked = false;
    QTimer::singleShot(0, &lib, [&] {
        EXPECT_EQ(lib.libList()->model()->rowCount(), 0);
        EXPECT_EQ(PopupEnabling(lib), std::make_pair(false, false));
        lib.selectSections(); // even when reached, nothing is picked
        checked = true;
        lib.reject();
    });
    EXPECT_TRUE(lib.pickFromLibrary().empty());
    EXPECT_TRUE(checked);
}

TEST_F(LibraryWindow, UnknownKindIsListedWithoutIcon)
{
    m_library = { Rec({ "Marquee", "Scrolling", "x" }), Rec({ "Heading", "Top", "x" }) };
    SectionLibraryWindow lib(m_library);
    const auto *model = lib.libList()->model();
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("Marquee"));
    EXPECT_EQ(model->index(0, 0).data(RecordRowsModel::LabelRole).toString(),
        QStringLiteral("Scrolling"));
    EXPECT_EQ(model->index(0, 0).data(RecordRowsModel::IconRole).toInt(), -1);
    EXPECT_EQ(model->index(1, 0).data(RecordRowsModel::IconRole).toInt(), 5);
    EXPECT_EQ(lib.libList()->visualRect(model->index(1, 0)).height(), RecordRowHeight);
}

TEST_F(LibraryWindow, WriteFailureIsReportedAndTheChangeIsWrittenNextTime)
{
    // A folder in the way of the file makes the write fail, even for root.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Library")));
    SectionLibraryWindow lib(m_library);
    const std::string first = Rec({ "Heading", "First", "x" });
    lib.copyToLibrary(first);
    ASSERT_EQ(m_dialogs.asked().size(), 1u);
    EXPECT_EQ(m_dialogs.asked()[0].what, QStringLiteral("error"));
    EXPECT_TRUE(m_dialogs.asked()[0].text.startsWith(
        QStringLiteral("The Section Library could not be saved:\n")));
    EXPECT_EQ(m_library, std::vector<std::string> { first }); // kept in memory

    ASSERT_TRUE(QDir(m_dir.path()).rmdir(QStringLiteral("Library")));
    m_dialogs.clear();
    const std::string second = Rec({ "Image", "Second", "x" });
    lib.copyToLibrary(second);
    EXPECT_EQ(m_dialogs.messages(),
        std::vector<QString> { QStringLiteral("Section Copied To Library..") });
    EXPECT_EQ(FileText(m_path), first + "\r\n" + second + "\r\n");

    // The same for a delete.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(m_path)));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Library")));
    m_dialogs.clear();
    lib.show();
    ClickRows(lib, { 0 });
    lib.deleteSelection();
    EXPECT_EQ(m_library, std::vector<std::string> { second });
    ASSERT_EQ(m_dialogs.asked().size(), 1u);
    EXPECT_EQ(m_dialogs.asked()[0].what, QStringLiteral("error"));
}

// The library on a disk that fills up: copying a big section is reported, the old file
// stays whole and the list in memory keeps the copy.
TEST_F(LibraryWindow, FullDiskKeepsTheOldFile)
{
    stv::test::FullFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no right to mount a tmpfs here";
    setProgramFolder(QString::fromStdString(disk.path()));
    m_path = libraryFilePath();
    m_library = FiveRecords();
    ASSERT_TRUE(writeLibraryFile(m_path, m_library).ok);
    const std::string before = FileText(m_path);
    ASSERT_TRUE(disk.fill(8192));

    SectionLibraryWindow lib(m_library);
    const std::string big = joinFields({ "Paragraph", "big", std::string(200000, 'p') });
    lib.copyToLibrary(big);
    ASSERT_EQ(m_dialogs.asked().size(), 1u);
    EXPECT_EQ(m_dialogs.asked()[0].what, QStringLiteral("error"));
    EXPECT_TRUE(m_dialogs.asked()[0].text.contains(QStringLiteral("No space left on device")))
        << m_dialogs.asked()[0].text.toStdString();
    EXPECT_EQ(FileText(m_path), before);
    ASSERT_EQ(m_library.size(), 6u);
    EXPECT_EQ(m_library.back(), big);
}

TEST_F(LibraryWindow, StartUpReadReportsAnUnreadableFile)
{
    ASSERT_TRUE(writeLibraryFile(m_path, FiveRecords()).ok);
    loadLibrarySections(m_library, nullptr);
    EXPECT_EQ(m_library, FiveRecords());
    EXPECT_TRUE(m_dialogs.asked().empty());

    ASSERT_TRUE(QFile::remove(QString::fromStdString(m_path)));
    loadLibrarySections(m_library, nullptr); // missing: empty, silent
    EXPECT_TRUE(m_library.empty());
    EXPECT_TRUE(m_dialogs.asked().empty());

    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Library")));
    loadLibrarySections(m_library, nullptr);
    EXPECT_EQ(m_dialogs.messages().size(), 1u);
}
