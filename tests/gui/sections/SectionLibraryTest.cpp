// The section library: file format, row operations, and the Section Library window driven
// like a user on the offscreen platform.
#include "core/files/FileIO.h"
#include "core/project/Library.h"
#include "core/project/Records.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "support/FullFileSystem.h"
#include "support/TempProgramFolder.h"
#include "support/TestRecords.h"

#include <QAction>
#include <QDir>
#include <QListView>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

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
    data = readWholeFile(path).valueOr({});
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

// The library window's cases run in a program folder of their own, with the library as the
// program holds it in memory.
struct LibraryState : test::TempProgramFolder {
    std::string path = libraryFilePath();
    std::vector<std::string> library;

    LibraryState() { QVERIFY(dir.isValid()); }
};

} // namespace

// Each case runs on a fresh fixture, made in init() and destroyed in cleanup().
class SectionLibraryTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_f = std::make_unique<LibraryState>(); }
    void cleanup() { m_f.reset(); }
    void missingFileIsEmptyAndRecordsRoundTrip();
    void pickRemoveAndInsertKeepListOrder();
    void copyingTwiceGivesTwoEqualRowsInTheFile();
    void deletingRowsOneAndThreeLeavesTheOthersOnScreenAndInTheFile();
    void rightClickKeepsASelectionItFallsInto();
    void enterAndDoubleClickSelect();
    void pickReturnsSelectedRecordsInListOrderOnlyThroughSelect();
    void emptyLibraryOffersNothing();
    void unknownKindIsListedWithoutIcon();
    void writeFailureIsReportedAndTheChangeIsWrittenNextTime();
    void fullDiskKeepsTheOldFile();
    void startUpReadReportsAnUnreadableFile();

private:
    std::unique_ptr<LibraryState> m_f;
};

void SectionLibraryTest::missingFileIsEmptyAndRecordsRoundTrip()
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Library")).toStdString();
    std::vector<std::string> sections { "stale" };
    QVERIFY(readLibraryFile(path, sections).ok());
    QVERIFY(sections.empty());

    const std::vector<std::string> records = FiveRecords();
    QVERIFY(writeLibraryFile(path, records).ok());
    QCOMPARE(FileText(path),
        records[0] + "\r\n" + records[1] + "\r\n" + records[2] + "\r\n" + records[3] + "\r\n"
            + records[4] + "\r\n");
    QVERIFY(readLibraryFile(path, sections).ok());
    QCOMPARE(sections, records);

    // A "Library" that cannot be read is an error, not an empty library.
    QDir(dir.path()).mkdir(QStringLiteral("Unreadable"));
    const Result<> r
        = readLibraryFile(dir.filePath(QStringLiteral("Unreadable")).toStdString(), sections);
    QVERIFY(!r.ok());
    QVERIFY(!r.error().empty());
}

void SectionLibraryTest::pickRemoveAndInsertKeepListOrder()
{
    const std::vector<std::string> lib { "a", "b", "c", "d", "e" };
    QCOMPARE(recordsAtRows(lib, { 2, 0 }), (std::vector<std::string> { "a", "c" }));
    QCOMPARE(recordsAtRows(lib, { 4, 4, 9, -1 }), (std::vector<std::string> { "e" }));

    std::vector<std::string> rows = lib;
    removeRows(rows, { 3, 1 });
    QCOMPARE(rows, (std::vector<std::string> { "a", "c", "e" }));

    std::vector<std::string> list { "x", "y" };
    insertRecords(list, 1, { "p", "q" });
    QCOMPARE(list, (std::vector<std::string> { "x", "p", "q", "y" }));
    insertRecords(list, 4, { "end" });
    insertRecords(list, 99, { "past" });
    insertRecords(list, -5, { "front" });
    QCOMPARE(list, (std::vector<std::string> { "front", "x", "p", "q", "y", "end", "past" }));
}

void SectionLibraryTest::copyingTwiceGivesTwoEqualRowsInTheFile()
{
    SectionLibraryWindow lib(m_f->library);
    const std::string record = Rec({ "Heading", "Top", "x" });
    lib.copyToLibrary(record);
    lib.copyToLibrary(record);
    QCOMPARE(m_f->library, (std::vector<std::string> { record, record }));
    QCOMPARE(FileText(m_f->path), record + "\r\n" + record + "\r\n");
    QCOMPARE(m_f->dialogs.messages(),
        (std::vector<QString> { QStringLiteral("Section Copied To Library.."),
            QStringLiteral("Section Copied To Library..") }));
    QCOMPARE(
        ShownRows(lib), (std::vector<QString> { QStringLiteral("Top"), QStringLiteral("Top") }));
}

void SectionLibraryTest::deletingRowsOneAndThreeLeavesTheOthersOnScreenAndInTheFile()
{
    m_f->library = FiveRecords();
    SectionLibraryWindow lib(m_f->library);
    lib.show();
    ClickRows(lib, { 1, 3 });
    QCOMPARE(PopupEnabling(lib), std::make_pair(true, true));
    lib.popupMenu()->findChild<QAction *>(QStringLiteral("Delete1"))->trigger();

    const std::vector<std::string> five = FiveRecords();
    const std::vector<std::string> left { five[0], five[2], five[4] };
    QCOMPARE(m_f->library, left);
    QCOMPARE(ShownRows(lib),
        (std::vector<QString> {
            QStringLiteral("r0"), QStringLiteral("r2"), QStringLiteral("r4") }));
    std::vector<std::string> onDisk;
    QVERIFY(readLibraryFile(m_f->path, onDisk).ok());
    QCOMPARE(onDisk, left);
    QVERIFY(lib.isVisible()); // the window stays open after a delete
    QVERIFY(m_f->dialogs.messages().empty());
}

// A right click inside the selection keeps all of it; on a row outside, that row alone is
// chosen, as on any desktop list.
void SectionLibraryTest::rightClickKeepsASelectionItFallsInto()
{
    m_f->library = FiveRecords();
    SectionLibraryWindow lib(m_f->library);
    lib.show();
    ClickRows(lib, { 1, 3 });
    QListView *list = lib.libList();
    const auto rightClick = [&](int row) {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, rect.center());
        QVERIFY(lib.popupMenu()->isVisible());
        lib.popupMenu()->hide();
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, rect.center());
    };
    rightClick(3);
    QCOMPARE(list->selectionModel()->selectedRows().size(), 2);
    rightClick(4);
    QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list->selectionModel()->selectedRows()[0].row(), 4);
}

// Enter and a double click insert the chosen rows, as "&Select" does.
void SectionLibraryTest::enterAndDoubleClickSelect()
{
    m_f->library = FiveRecords();
    SectionLibraryWindow lib(m_f->library);
    QListView *list = lib.libList();
    QTimer::singleShot(0, &lib, [&lib, list] {
        ClickRows(lib, { 1, 2 });
        QTest::keyClick(list, Qt::Key_Return);
    });
    QCOMPARE(
        lib.pickFromLibrary(), (std::vector<std::string> { m_f->library[1], m_f->library[2] }));
    QTimer::singleShot(0, &lib, [list] {
        const QRect rect = list->visualRect(list->model()->index(4, 0));
        // A real double click: press, release, the double-click press, release.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rect.center());
    });
    QCOMPARE(lib.pickFromLibrary(), std::vector<std::string> { m_f->library[4] });
}

void SectionLibraryTest::pickReturnsSelectedRecordsInListOrderOnlyThroughSelect()
{
    m_f->library = FiveRecords();
    SectionLibraryWindow lib(m_f->library);

    QTimer::singleShot(0, &lib, [&lib] {
        ClickRows(lib, { 2, 0 });
        lib.popupMenu()->findChild<QAction *>(QStringLiteral("Select1"))->trigger();
    });
    QCOMPARE(
        lib.pickFromLibrary(), (std::vector<std::string> { m_f->library[0], m_f->library[2] }));

    // Closed any other way: nothing, even with rows selected.
    QTimer::singleShot(0, &lib, [&lib] {
        ClickRows(lib, { 1 });
        lib.reject();
    });
    QVERIFY(lib.pickFromLibrary().empty());
    QCOMPARE(m_f->library, FiveRecords());
}

void SectionLibraryTest::emptyLibraryOffersNothing()
{
    SectionLibraryWindow lib(m_f->library);
    bool checked = false;
    QTimer::singleShot(0, &lib, [&] {
        QCOMPARE(lib.libList()->model()->rowCount(), 0);
        QCOMPARE(PopupEnabling(lib), std::make_pair(false, false));
        lib.selectSections(); // even when reached, nothing is picked
        checked = true;
        lib.reject();
    });
    QVERIFY(lib.pickFromLibrary().empty());
    QVERIFY(checked);
}

void SectionLibraryTest::unknownKindIsListedWithoutIcon()
{
    m_f->library = { Rec({ "Marquee", "Scrolling", "x" }), Rec({ "Heading", "Top", "x" }) };
    SectionLibraryWindow lib(m_f->library);
    const auto *model = lib.libList()->model();
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("Marquee"));
    QCOMPARE(model->index(0, 0).data(RecordRowsModel::LabelRole).toString(),
        QStringLiteral("Scrolling"));
    QCOMPARE(model->index(0, 0).data(RecordRowsModel::IconRole).toInt(), -1);
    QCOMPARE(model->index(1, 0).data(RecordRowsModel::IconRole).toInt(), 5);
    QCOMPARE(lib.libList()->visualRect(model->index(1, 0)).height(), RecordRowHeight);
}

void SectionLibraryTest::writeFailureIsReportedAndTheChangeIsWrittenNextTime()
{
    // A folder in the way of the file makes the write fail, even for root.
    QVERIFY(QDir(m_f->dir.path()).mkdir(QStringLiteral("Library")));
    SectionLibraryWindow lib(m_f->library);
    const std::string first = Rec({ "Heading", "First", "x" });
    lib.copyToLibrary(first);
    QCOMPARE(m_f->dialogs.asked().size(), 1u);
    QCOMPARE(m_f->dialogs.asked()[0].what, QStringLiteral("error"));
    QVERIFY(m_f->dialogs.asked()[0].text.startsWith(
        QStringLiteral("The Section Library could not be saved:\n")));
    QCOMPARE(m_f->library, std::vector<std::string> { first }); // kept in memory

    QVERIFY(QDir(m_f->dir.path()).rmdir(QStringLiteral("Library")));
    m_f->dialogs.clear();
    const std::string second = Rec({ "Image", "Second", "x" });
    lib.copyToLibrary(second);
    QCOMPARE(m_f->dialogs.messages(),
        std::vector<QString> { QStringLiteral("Section Copied To Library..") });
    QCOMPARE(FileText(m_f->path), first + "\r\n" + second + "\r\n");

    // The same for a delete.
    QVERIFY(QFile::remove(QString::fromStdString(m_f->path)));
    QVERIFY(QDir(m_f->dir.path()).mkdir(QStringLiteral("Library")));
    m_f->dialogs.clear();
    lib.show();
    ClickRows(lib, { 0 });
    lib.deleteSelection();
    QCOMPARE(m_f->library, std::vector<std::string> { second });
    QCOMPARE(m_f->dialogs.asked().size(), 1u);
    QCOMPARE(m_f->dialogs.asked()[0].what, QStringLiteral("error"));
}

// The library on a disk that fills up: copying a big section is reported, the old file
// stays whole and the list in memory keeps the copy.
void SectionLibraryTest::fullDiskKeepsTheOldFile()
{
    stv::test::FullFileSystem disk;
    if (!disk.mounted())
        QSKIP("no right to mount a tmpfs here");
    setProgramFolder(QString::fromStdString(disk.path()));
    m_f->path = libraryFilePath();
    m_f->library = FiveRecords();
    QVERIFY(writeLibraryFile(m_f->path, m_f->library).ok());
    const std::string before = FileText(m_f->path);
    QVERIFY(disk.fill(8192));

    SectionLibraryWindow lib(m_f->library);
    const std::string big = joinFields({ "Paragraph", "big", std::string(200000, 'p') });
    lib.copyToLibrary(big);
    QCOMPARE(m_f->dialogs.asked().size(), 1u);
    QCOMPARE(m_f->dialogs.asked()[0].what, QStringLiteral("error"));
    QVERIFY2(m_f->dialogs.asked()[0].text.contains(QStringLiteral("No space left on device")),
        qPrintable(m_f->dialogs.asked()[0].text));
    QCOMPARE(FileText(m_f->path), before);
    QCOMPARE(m_f->library.size(), 6u);
    QCOMPARE(m_f->library.back(), big);
}

void SectionLibraryTest::startUpReadReportsAnUnreadableFile()
{
    QVERIFY(writeLibraryFile(m_f->path, FiveRecords()).ok());
    loadLibrarySections(m_f->library, nullptr);
    QCOMPARE(m_f->library, FiveRecords());
    QVERIFY(m_f->dialogs.asked().empty());

    QVERIFY(QFile::remove(QString::fromStdString(m_f->path)));
    loadLibrarySections(m_f->library, nullptr); // missing: empty, silent
    QVERIFY(m_f->library.empty());
    QVERIFY(m_f->dialogs.asked().empty());

    QVERIFY(QDir(m_f->dir.path()).mkdir(QStringLiteral("Library")));
    loadLibrarySections(m_f->library, nullptr);
    QCOMPARE(m_f->dialogs.messages().size(), 1u);
}

QTEST_MAIN(SectionLibraryTest)
#include "SectionLibraryTest.moc"
