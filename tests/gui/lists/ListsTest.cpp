#include "core/page/PageGenerator.h"
#include "core/project/Records.h"
#include "core/settings/FavouriteLists.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/lists/ColourListWindow.h"
#include "gui/lists/ImageListWindow.h"
#include "gui/lists/LinkListWindow.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QtTest>

using namespace stv;
using Entries = std::vector<std::string>;

namespace
{

QPoint rowCentre(FavouriteListWindow &form, int row)
{
    QListView *view = form.listView();
    return view->visualRect(view->model()->index(row, 0)).center();
}

void clickRow(FavouriteListWindow &form, int row)
{
    QTest::mouseClick(form.listView()->viewport(), Qt::LeftButton, {}, rowCentre(form, row));
}

// Right-clicks a row (or the empty space below the rows for -1) and opens the popup menu.
QMenu *openMenu(FavouriteListWindow &form, int row)
{
    QListView *view = form.listView();
    const QPoint at = row >= 0 ? rowCentre(form, row) : QPoint(5, view->viewport()->height() - 5);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, at);
    return form.popupMenu();
}

QAction *action(FavouriteListWindow &form, const char *name)
{
    QAction *a = form.findChild<QAction *>(QLatin1String(name));
    if (!a) // submenu actions belong to their menu
        for (QMenu *m : form.findChildren<QMenu *>())
            if (m->menuAction()->objectName() == QLatin1String(name))
                a = m->menuAction();
    return a;
}

// Chooses a command from the popup menu of a row, as a user would.
void command(FavouriteListWindow &form, int row, const char *name)
{
    QMenu *menu = openMenu(form, row);
    QAction *a = action(form, name);
    QVERIFY2(a, name);
    QVERIFY2(a->isEnabled(), name);
    menu->hide();
    a->trigger();
}

template <class Form>
void showForm(Form &form)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

void saveShot(QWidget &w, const QString &name)
{
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/shots");
    QDir().mkpath(dir);
    QVERIFY(w.grab().save(dir + QLatin1Char('/') + name));
}

std::string imageRecord(const std::string &label, const std::string &file)
{
    std::string record = newSectionRecord(static_cast<int>(KindPos::Image));
    record = replaceField(record, field::UserLabel, label);
    return replaceField(record, field::ImageFile, file);
}

} // namespace

class ListsTest : public QObject
{
    Q_OBJECT
private slots:
    void windowsAndMenus();
    void entryCommandsNeedASelection();
    void colourMovesAreSwaps();
    void newAndEditColourRememberTheLastColour();
    void deletesAskFirst();
    void newLinksGetTheirPrefix();
    void editedLinkIsStoredAsTyped();
    void emptyAnswersChangeNothing();
    void imageRenameReplacesTheLabelOnly();
    void rowsFollowListsChangedElsewhere();
    void rowsAreDrawn();
    void emptyListsSayHowToAdd();
    void rightClickChoosesTheRowUnderThePointer();
};

void ListsTest::windowsAndMenus()
{
    Entries colours, images;
    FavouriteLists lists;
    ColourListWindow colour(colours);
    LinkListWindow link(lists.links);
    ImageListWindow image(images);
    QCOMPARE(colour.windowTitle(), QStringLiteral("Colour List"));
    QCOMPARE(colour.size(), QSize(161, 334));
    QVERIFY(colour.windowFlags() & Qt::Tool);
    QCOMPARE(link.windowTitle(), QStringLiteral("Link List"));
    QCOMPARE(link.size(), QSize(340, 358));
    QCOMPARE(image.windowTitle(), QStringLiteral("Image List"));
    QCOMPARE(image.size(), QSize(351, 372));
    QVERIFY(colour.findChild<QListView *>(QStringLiteral("ColourList")));
    QVERIFY(link.findChild<QListView *>(QStringLiteral("LinkList")));
    QVERIFY(image.findChild<QListView *>(QStringLiteral("ImageList")));

    const auto captions = [](QMenu *menu) {
        QStringList out;
        for (QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    QCOMPARE(captions(colour.popupMenu()),
        (QStringList {
            "&New Colour", "&Edit Existing", "-", "&Delete Colour", "-", "&Move Colour" }));
    QCOMPARE(captions(action(colour, "MoveColour1")->menu()),
        (QStringList { "&Top", "&Up One", "&Down One", "&Bottom" }));
    QCOMPARE(captions(link.popupMenu()),
        (QStringList { "&New Link", "&Edit Link", "-", "&Delete Link" }));
    QCOMPARE(
        captions(action(link, "NewLink1")->menu()), (QStringList { "&URL", "&EMail", "&Anchor" }));
    QCOMPARE(action(link, "URL1")->data().toInt(), 0);
    QCOMPARE(action(link, "EMail1")->data().toInt(), 1);
    QCOMPARE(action(link, "Anchor1")->data().toInt(), 2);
    QCOMPARE(captions(image.popupMenu()), (QStringList { "&Delete", "-", "&Rename" }));
}

void ListsTest::entryCommandsNeedASelection()
{
    Entries colours = { "255" };
    ColourListWindow form(colours);
    showForm(form);
    QMenu *menu = openMenu(form, -1);
    QVERIFY(menu->isVisible());
    QVERIFY(action(form, "NewColour1")->isEnabled());
    for (const char *name : { "EditExisting1", "DeleteColour1", "MoveColour1" })
        QVERIFY2(!action(form, name)->isEnabled(), name);
    menu->hide();
    openMenu(form, 0);
    for (const char *name : { "NewColour1", "EditExisting1", "DeleteColour1", "MoveColour1" })
        QVERIFY2(action(form, name)->isEnabled(), name);
    menu->hide();

    FavouriteLists lists;
    LinkListWindow link(lists.links);
    showForm(link);
    openMenu(link, -1)->hide();
    QVERIFY(action(link, "NewLink1")->isEnabled());
    QVERIFY(!action(link, "EditLink1")->isEnabled());
    QVERIFY(!action(link, "DeleteLink1")->isEnabled());

    Entries images = { imageRecord("a", "a.gif") };
    ImageListWindow image(images);
    showForm(image);
    openMenu(image, -1)->hide();
    QVERIFY(!action(image, "Delete1")->isEnabled());
    QVERIFY(!action(image, "Rename1")->isEnabled());
    openMenu(image, 0)->hide();
    QVERIFY(action(image, "Delete1")->isEnabled());
    QVERIFY(action(image, "Rename1")->isEnabled());
}

void ListsTest::colourMovesAreSwaps()
{
    Entries colours = { "10", "20", "30", "40" };
    ColourListWindow form(colours);
    showForm(form);

    command(form, 3, "Top1");
    QCOMPARE(colours, (Entries { "40", "20", "30", "10" }));
    QCOMPARE(form.selectedRow(), 0); // the selection follows the moved entry

    command(form, 0, "UpOne1");
    QCOMPARE(colours, (Entries { "40", "20", "30", "10" }));
    command(form, 3, "DownOne1");
    QCOMPARE(colours, (Entries { "40", "20", "30", "10" }));

    command(form, 2, "UpOne1");
    QCOMPARE(colours, (Entries { "40", "30", "20", "10" }));
    QCOMPARE(form.selectedRow(), 1);
    command(form, 1, "DownOne1");
    QCOMPARE(colours, (Entries { "40", "20", "30", "10" }));
    command(form, 0, "Bottom1");
    QCOMPARE(colours, (Entries { "10", "20", "30", "40" }));
    command(form, 3, "Bottom1");
    QCOMPARE(colours, (Entries { "10", "20", "30", "40" }));
}

void ListsTest::newAndEditColourRememberTheLastColour()
{
    ScriptedDialogs script;
    Entries colours = { "65280" };
    ColourListWindow form(colours);
    showForm(form);

    script.queueColour(QColor(255, 0, 0));
    command(form, -1, "NewColour1");
    QCOMPARE(colours, (Entries { "65280", "255" }));
    QCOMPARE(script.asked().back().initial, QStringLiteral("#000000"));

    script.queueColour(QColor(0, 0, 255));
    command(form, 0, "EditExisting1");
    QCOMPARE(script.asked().back().initial, QStringLiteral("#00ff00")); // the entry's colour
    QCOMPARE(colours, (Entries { "16711680", "255" }));

    script.queueCancel();
    command(form, -1, "NewColour1");
    QCOMPARE(script.asked().back().initial, QStringLiteral("#0000ff")); // the last chosen
    QCOMPARE(colours.size(), 2u);

    script.queueCancel();
    command(form, 1, "EditExisting1");
    QCOMPARE(colours, (Entries { "16711680", "255" }));

    // The main window's swatches use the same dialog: their last colour is New Colour's too.
    script.queueColour(QColor(1, 2, 3));
    Dialogs::askColour(nullptr, Qt::white);
    script.queueCancel();
    command(form, -1, "NewColour1");
    QCOMPARE(script.asked().back().initial, QStringLiteral("#010203"));
    QVERIFY(script.unexpected().empty());
}

void ListsTest::emptyListsSayHowToAdd()
{
    ScriptedDialogs script;
    Entries colours;
    ColourListWindow form(colours);
    showForm(form);
    auto *hint = form.findChild<QLabel *>(QStringLiteral("EmptyHint"));
    QVERIFY(hint != nullptr);
    QVERIFY(hint->isVisible());
    QVERIFY(hint->text().startsWith(QStringLiteral("Right-click to add")));
    script.queueColour(QColor(255, 0, 0));
    command(form, -1, "NewColour1");
    QVERIFY(!hint->isVisible());
}

void ListsTest::deletesAskFirst()
{
    ScriptedDialogs script;
    Entries colours = { "1", "2", "3" };
    ColourListWindow colour(colours);
    showForm(colour);
    script.queue(Answer::No);
    command(colour, 1, "DeleteColour1");
    QCOMPARE(colours.size(), 3u);
    script.queue(Answer::Ok);
    command(colour, 1, "DeleteColour1");
    QCOMPARE(colours, (Entries { "1", "3" }));
    QCOMPARE(script.asked().back().text,
        QStringLiteral(
            "Delete This Colour From Your List?\n\nAll Colours Below Will Be Moved Up One."));
    QCOMPARE(int(script.asked().back().buttons), int(Buttons::NoOk));
    QCOMPARE(colour.selectedRow(), -1);

    FavouriteLists lists;
    LinkListWindow link(lists.links);
    showForm(link);
    script.queue(Answer::Ok);
    command(link, 3, "DeleteLink1");
    Entries designed = FavouriteLists::designedLinks();
    designed.pop_back();
    QCOMPARE(lists.links, designed);
    QCOMPARE(script.asked().back().text,
        QStringLiteral("Delete This Link?\n\nAll Links Below Will Be Moved Up One."));

    Entries images = { imageRecord("a", "a.gif"), imageRecord("b", "b.gif") };
    ImageListWindow image(images);
    showForm(image);
    script.queue(Answer::Cancel); // the box closed without an answer
    command(image, 0, "Delete1");
    QCOMPARE(images.size(), 2u);
    script.queue(Answer::Ok);
    command(image, 0, "Delete1");
    QCOMPARE(images, Entries { imageRecord("b", "b.gif") });
    QCOMPARE(script.asked().back().text,
        QStringLiteral("Delete This Image?\n\nAll Images Below Will Be Moved Up One."));
    QVERIFY(script.unexpected().empty());
}

void ListsTest::newLinksGetTheirPrefix()
{
    ScriptedDialogs script;
    Entries links;
    LinkListWindow form(links);
    showForm(form);

    script.queueText(QStringLiteral("someone"));
    command(form, -1, "EMail1");
    QCOMPARE(script.asked().back().caption, QStringLiteral("New Link.."));
    QCOMPARE(script.asked().back().text, QStringLiteral("Create A New EMail Link"));
    QCOMPARE(script.asked().back().initial, QString());
    QCOMPARE(links, Entries { "mailto:someone" });
    const LinkRow row = linkRowOf(links[0]);
    QCOMPARE(row.icon, 15);
    QCOMPARE(row.shown, std::string("someone"));

    script.queueText(QStringLiteral("Top"));
    command(form, -1, "Anchor1");
    QCOMPARE(script.asked().back().text, QStringLiteral("Create A New Anchor Link"));
    script.queueText(QStringLiteral("http://example.org/caf\u00e9"));
    command(form, -1, "URL1");
    QCOMPARE(script.asked().back().text, QStringLiteral("Create A New URL Link"));
    QCOMPARE(links, (Entries { "mailto:someone", "#Top", "http://example.org/caf\xe9" }));
    QCOMPARE(linkRowOf(links[1]).icon, 2);
    QCOMPARE(linkRowOf(links[1]).shown, std::string("Top"));
    QCOMPARE(linkRowOf(links[2]).icon, 16);

    // Only the exact lower-case prefix marks an e-mail; the shown text is cut at 255.
    QCOMPARE(linkRowOf("MAILTO:x").icon, 16);
    QCOMPARE(linkRowOf("#").shown, std::string());
    QCOMPARE(linkRowOf("http://" + std::string(400, 'a')).shown.size(), 255u);
}

void ListsTest::editedLinkIsStoredAsTyped()
{
    ScriptedDialogs script;
    Entries links = { "mailto:someone", "#Fred" };
    LinkListWindow form(links);
    showForm(form);
    script.queueText(QStringLiteral("someone@example.org"));
    command(form, 0, "EditLink1");
    QCOMPARE(script.asked().back().caption, QStringLiteral("Edit This Link.."));
    QCOMPARE(script.asked().back().text,
        QStringLiteral("Edit This Link.\n\nRemember that an email starts with mailto: and an "
                       "anchor\nstarts with #"));
    QCOMPARE(script.asked().back().initial, QStringLiteral("mailto:someone"));
    QCOMPARE(links, (Entries { "someone@example.org", "#Fred" }));
    QCOMPARE(linkRowOf(links[0]).icon, 16);
    QCOMPARE(linkRowOf(links[0]).shown, links[0]);
}

void ListsTest::emptyAnswersChangeNothing()
{
    ScriptedDialogs script;
    Entries links = { "#Fred" };
    LinkListWindow link(links);
    showForm(link);
    for (const char *name : { "URL1", "EMail1", "Anchor1" }) {
        script.queueText(QString());
        command(link, -1, name);
        script.queueCancel();
        command(link, -1, name);
    }
    script.queueText(QString());
    command(link, 0, "EditLink1");
    script.queueCancel();
    command(link, 0, "EditLink1");
    QCOMPARE(links, Entries { "#Fred" });

    Entries images = { imageRecord("dog", "dog.gif") };
    ImageListWindow image(images);
    showForm(image);
    script.queueText(QString());
    command(image, 0, "Rename1");
    script.queueCancel();
    command(image, 0, "Rename1");
    QCOMPARE(images, Entries { imageRecord("dog", "dog.gif") });
    QVERIFY(script.unexpected().empty());
    QCOMPARE(script.pending(), 0u);
}

void ListsTest::imageRenameReplacesTheLabelOnly()
{
    ScriptedDialogs script;
    const std::string before = imageRecord("dog", "C:\\pics\\dog.gif");
    Entries images = { imageRecord("cat", "cat.gif"), before };
    ImageListWindow form(images);
    showForm(form);
    script.queueText(QStringLiteral("Rex \u00e0 la plage"));
    command(form, 1, "Rename1");
    QCOMPARE(script.asked().back().caption, QStringLiteral("Rename Image.."));
    QCOMPARE(script.asked().back().text, QStringLiteral("Rename This Image.."));
    QCOMPARE(script.asked().back().initial, QStringLiteral("dog"));
    QCOMPARE(images[1], replaceField(before, field::UserLabel, "Rex \xe0 la plage"));
    QCOMPARE(fieldCount(images[1]), fieldCount(before));
    QCOMPARE(imageRowText(images[1]), std::string("Rex \xe0 la plage .. C:\\pics\\dog.gif"));
    QCOMPARE(images[0], imageRecord("cat", "cat.gif"));
}

void ListsTest::rowsFollowListsChangedElsewhere()
{
    FavouriteLists lists;
    LinkListWindow form(lists.links);
    QCOMPARE(form.listView()->model()->rowCount(), 4);
    // The configuration replaces the list after the window was made.
    lists.links = { "#a" };
    form.refresh();
    QCOMPARE(form.listView()->model()->rowCount(), 1);
    lists.links.push_back("#b"); // e.g. the Section Manager adds an entry
    showForm(form);
    QCOMPARE(form.listView()->model()->rowCount(), 2);
}

void ListsTest::rowsAreDrawn()
{
    Entries colours = { "255", "65280", "16711680", "8421504", "0", "16777215" };
    ColourListWindow colour(colours);
    showForm(colour);
    clickRow(colour, 1);
    saveShot(colour, QStringLiteral("colourlist.png"));
    QCOMPARE(htmlColour(255), std::string("FF0000"));
    QCOMPARE(htmlColour(16711680), std::string("0000FF"));
    QCOMPARE(htmlColour(8421504), std::string("808080"));
    // The swatch of row 0 shows the entry's colour with a black frame.
    const QImage shot = colour.listView()->viewport()->grab().toImage();
    const QRect r = colour.listView()->visualRect(colour.listView()->model()->index(0, 0));
    QCOMPARE(shot.pixelColor(r.left() + 30, r.top() + 8), QColor(255, 0, 0));
    QCOMPARE(shot.pixelColor(r.left() + 20, r.top() + 8), QColor(0, 0, 0));
    QCOMPARE(r.height(), 16);

    FavouriteLists lists;
    lists.links.push_back("mailto:someone@example.org");
    LinkListWindow link(lists.links);
    showForm(link);
    clickRow(link, 2);
    QCOMPARE(link.listView()->visualRect(link.listView()->model()->index(0, 0)).height(), 20);
    saveShot(link, QStringLiteral("linklist.png"));

    Entries images = { imageRecord("Our dog", "/home/u/pics/dog.gif"),
        imageRecord("Logo", "logo.png"), imageRecord("", "untitled.jpg") };
    ImageListWindow image(images);
    showForm(image);
    clickRow(image, 0);
    saveShot(image, QStringLiteral("imagelist.png"));
}

// With one colour chosen, a right click on another and "&Delete Colour" deletes the one under
// the pointer; a right click on the chosen row keeps it.
void ListsTest::rightClickChoosesTheRowUnderThePointer()
{
    ScriptedDialogs script;
    Entries colours = { "1", "2", "3" };
    ColourListWindow colour(colours);
    showForm(colour);
    clickRow(colour, 0);
    QTest::mouseClick(colour.listView()->viewport(), Qt::RightButton, {}, rowCentre(colour, 2));
    QCOMPARE(colour.selectedRow(), 2);
    QTRY_VERIFY(colour.popupMenu()->isVisible());
    colour.popupMenu()->hide();
    script.queue(Answer::Ok);
    action(colour, "DeleteColour1")->trigger();
    QCOMPARE(colours, (Entries { "1", "2" }));

    Entries images = { imageRecord("a", "a.gif"), imageRecord("b", "b.gif") };
    ImageListWindow image(images);
    showForm(image);
    clickRow(image, 1);
    QTest::mouseClick(image.listView()->viewport(), Qt::RightButton, {}, rowCentre(image, 1));
    QTRY_VERIFY(image.popupMenu()->isVisible());
    image.popupMenu()->hide();
    QCOMPARE(image.selectedRow(), 1);
    QTest::mouseClick(image.listView()->viewport(), Qt::RightButton, {}, rowCentre(image, 0));
    image.popupMenu()->hide();
    QCOMPARE(image.selectedRow(), 0);
    QVERIFY(script.unexpected().empty());
}

QTEST_MAIN(ListsTest)
#include "ListsTest.moc"
