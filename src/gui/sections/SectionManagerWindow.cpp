#include "gui/sections/SectionManagerWindow.h"

#include "core/project/Library.h"
#include "core/project/Records.h"
#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/RightPressPopup.h"
#include "gui/sections/SectionLibraryWindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace stv
{

namespace
{

// The kind of a record as step names use it ("Paragraph").
std::string kindOf(const std::string &record)
{
    return splitFields(record, field::Kind)[field::Kind];
}

} // namespace

SectionManagerWindow::SectionManagerWindow(
    SectionHost &host, SectionLibraryWindow &library, QWidget *parent)
    : QWidget(parent,
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_host(host)
    , m_library(library)
    , m_fixedRows { fixedSectionRecord(IntroductionName), fixedSectionRecord(TitleBarName),
        fixedSectionRecord(BackgroundName), fixedSectionRecord(WhatsNextName) }
{
    setObjectName(QStringLiteral("SM"));
    setWindowTitle(QStringLiteral("Sitorva Section Manager"));
    move(18, 45);
    resize(165, 419);

    m_model = new RecordRowsModel(this);
    m_sectionList = new QListView(this);
    m_sectionList->setObjectName(QStringLiteral("Display"));
    m_sectionList->setAccessibleName(QStringLiteral("Sections"));
    m_sectionList->setFont(QFont(QStringLiteral("Arial"), 8));
    m_sectionList->setModel(m_model);
    m_sectionList->setItemDelegate(new RecordRowDelegate(2, m_sectionList));
    m_sectionList->setUniformItemSizes(true);
    m_sectionList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sectionList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sectionList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_sectionList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_sectionList->installEventFilter(this);
    m_sectionList->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sectionList);

    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("SMPopUp"));
    auto item = [this](QMenu *menu, const char *caption, const char *name) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    m_deleteAction = item(m_popupMenu, "&Delete Section", "DeleteSection1");
    m_popupMenu->addSeparator();
    m_cutAction = item(m_popupMenu, "&Cut Section", "CutSection1");
    m_copyAction = item(m_popupMenu, "C&opy Section", "CopySection1");
    m_copyToLibraryAction = item(m_popupMenu, "Copy to &Library", "CopytoLibrary1");
    m_popupMenu->addSeparator();
    m_pasteAction = item(m_popupMenu, "&Paste", "Paste1");
    m_insertMenu = m_popupMenu->addMenu(QStringLiteral("&Insert"));
    m_insertMenu->setObjectName(QStringLiteral("Insert1"));
    for (int k = 0; k < KindCount; ++k) {
        const SectionKind &kind = SectionKinds[static_cast<std::size_t>(k)];
        QAction *a = m_insertMenu->addAction(fromCp1252(kind.insertCaption));
        a->setObjectName(fromCp1252(kind.insertName));
        a->setData(k);
        connect(a, &QAction::triggered, this, [this, k] { insertSection(k); });
    }
    m_selectFromLibraryAction = item(m_popupMenu, "&Select from Library", "SelectfromLibrary1");
    m_imageListSeparator = m_popupMenu->addSeparator();
    m_imageListSeparator->setObjectName(QStringLiteral("N3"));
    m_moveToImageListAction = item(m_popupMenu, "&Move To Image List", "MoveToImageList1");
    m_copyToImageListAction = item(m_popupMenu, "Copy &To Image List", "CopyToImageList1");

    connect(m_popupMenu, &QMenu::aboutToShow, this, &SectionManagerWindow::prepareMenu);
    connect(m_deleteAction, &QAction::triggered, this, &SectionManagerWindow::deleteSections);
    connect(m_cutAction, &QAction::triggered, this, &SectionManagerWindow::cutSections);
    connect(m_copyAction, &QAction::triggered, this, &SectionManagerWindow::copySections);
    connect(m_copyToLibraryAction, &QAction::triggered, this,
        &SectionManagerWindow::copySectionsToLibrary);
    connect(m_pasteAction, &QAction::triggered, this, &SectionManagerWindow::pasteSections);
    connect(m_selectFromLibraryAction, &QAction::triggered, this,
        &SectionManagerWindow::selectFromLibrary);
    connect(
        m_moveToImageListAction, &QAction::triggered, this, &SectionManagerWindow::moveToImageList);
    connect(
        m_copyToImageListAction, &QAction::triggered, this, &SectionManagerWindow::copyToImageList);
    connect(m_sectionList, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_popupMenu->popup(m_sectionList->viewport()->mapToGlobal(pos));
    });
    connect(m_sectionList->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &SectionManagerWindow::currentRowChanged);
    // A click on a row means to work on that section: typing goes to its page at once. (A row
    // reached with the arrow keys leaves the keys here, for the next row or Delete.)
    connect(m_sectionList, &QAbstractItemView::clicked, this, [this] { m_host.focusPage(true); });
}

int SectionManagerWindow::sectionCount() const
{
    return static_cast<int>(m_host.sectionList().size());
}

bool SectionManagerWindow::namesRecord() const
{
    const int cs = m_host.currentSection();
    return cs >= 0 && cs < sectionCount();
}

void SectionManagerWindow::refreshSectionManager()
{
    const int top = m_sectionList->verticalScrollBar()->value();

    // Rows are read from the section list when painted; the count is the list's as of now.
    const int count = sectionCount();
    m_selecting = true;
    m_model->setRows(count + FixedRowsBefore + 1, [this, count](int row) -> const std::string * {
        if (row < FixedRowsBefore)
            return &m_fixedRows[static_cast<std::size_t>(row)];
        if (row == count + FixedRowsBefore)
            return &m_fixedRows[FixedRowsBefore];
        const auto at = static_cast<std::size_t>(row - FixedRowsBefore);
        const std::vector<std::string> &list = m_host.sectionList();
        return at < list.size() ? &list[at] : nullptr;
    });
    m_selecting = false;

    // Lay the rows out now so that the old top row can be scrolled to before the next paint.
    m_sectionList->doItemsLayout();
    if (top >= 0 && top < m_model->rowCount())
        m_sectionList->verticalScrollBar()->setValue(top);
    m_sectionList->viewport()->update();
}

void SectionManagerWindow::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row);
    m_selecting = true;
    m_sectionList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_selecting = false;
    m_sectionList->scrollTo(index);
}

void SectionManagerWindow::currentRowChanged(const QModelIndex &current)
{
    // Rows chosen by mouse or keyboard move the wizard; rows the program selects do not.
    if (!m_selecting && current.isValid())
        jumpToRow(current.row());
}

void SectionManagerWindow::jumpToRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_host.storeCurrentPage();
    m_host.setCurrentSection(row - FixedRowsBefore);
    m_host.showCurrentSection();
    m_host.focusPage(false);
}

bool SectionManagerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sectionList && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat()) {
            if (m_host.currentSection() >= 0)
                deleteSections();
            return true;
        }
    }
    if (watched == m_sectionList->viewport()
        && openPopupOnRightPress(m_sectionList, event, m_popupMenu))
        return true;
    return QWidget::eventFilter(watched, event);
}

void SectionManagerWindow::prepareMenu()
{
    const bool editable = m_host.currentSection() >= 0;
    for (QAction *a : { m_deleteAction, m_cutAction, m_copyAction, m_copyToLibraryAction,
             m_pasteAction, m_insertMenu->menuAction(), m_selectFromLibraryAction })
        a->setEnabled(editable);

    bool image = false;
    if (namesRecord()) {
        const std::string &record
            = m_host.sectionList()[static_cast<std::size_t>(m_host.currentSection())];
        image = splitFields(record, field::Kind)[0] == sectionKind(KindPos::Image).name;
    }
    m_imageListSeparator->setVisible(image);
    m_moveToImageListAction->setVisible(image);
    m_copyToImageListAction->setVisible(image);
}

void SectionManagerWindow::addEditActions(QAction *undo, QAction *redo)
{
    QAction *first = m_popupMenu->actions().value(0);
    m_popupMenu->insertAction(first, undo);
    m_popupMenu->insertAction(first, redo);
    m_popupMenu->insertSeparator(first);
}

void SectionManagerWindow::listChanged(const std::string &label)
{
    m_host.sectionListChanged(label);
    m_host.showCurrentSection();
    refreshSectionManager();
    selectRow(m_host.currentSection() + FixedRowsBefore);
}

void SectionManagerWindow::takeSection(Take what)
{
    m_host.storeCurrentPage();
    if (!namesRecord()) {
        Dialogs::info(this, QStringLiteral("This Section Is Fixed. Sorry.."));
        return;
    }
    std::vector<std::string> &list = m_host.sectionList();
    const auto at = static_cast<std::size_t>(m_host.currentSection());
    if (what == Take::Cut || what == Take::Copy)
        m_sectionClipboard = list[at];
    if (what == Take::Copy) {
        Dialogs::info(this, QStringLiteral("Section Copied.."));
        return;
    }
    if (what == Take::Library) {
        m_library.copyToLibrary(list[at]);
        return;
    }
    const std::string label = (what == Take::Cut ? "Cut " : "Delete ") + kindOf(list[at]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
    listChanged(label);
}

void SectionManagerWindow::deleteSections()
{
    takeSection(Take::Delete);
}

void SectionManagerWindow::cutSections()
{
    takeSection(Take::Cut);
}

void SectionManagerWindow::copySections()
{
    takeSection(Take::Copy);
}

void SectionManagerWindow::copySectionsToLibrary()
{
    takeSection(Take::Library);
}

// Paste does not store the page first: the page then shows the pasted record.
void SectionManagerWindow::pasteSections()
{
    if (m_host.currentSection() < 0) {
        Dialogs::info(this, QStringLiteral("Cannot Paste Here. Sorry.."));
        return;
    }
    if (m_sectionClipboard.empty()) {
        Dialogs::info(this, QStringLiteral("Nothing To Paste.."));
        return;
    }
    insertRecords(m_host.sectionList(), m_host.currentSection(), { m_sectionClipboard });
    listChanged("Paste " + kindOf(m_sectionClipboard));
}

void SectionManagerWindow::insertSection(int kindPosition)
{
    if (m_host.currentSection() < 0) {
        Dialogs::info(this, QStringLiteral("Cannot Insert Here. Sorry.."));
        return;
    }
    const std::string record = newSectionRecord(kindPosition);
    if (record.empty())
        return;
    m_host.storeCurrentPage();
    insertRecords(m_host.sectionList(), m_host.currentSection(), { record });
    listChanged("Insert " + kindOf(record));
}

// Like Paste, the page is not stored first: the first inserted section is shown.
void SectionManagerWindow::selectFromLibrary()
{
    if (m_host.currentSection() < 0) {
        Dialogs::info(this, QStringLiteral("Cannot Insert Here. Sorry.."));
        return;
    }
    const std::vector<std::string> picked = m_library.pickFromLibrary();
    if (picked.empty())
        return;
    insertRecords(m_host.sectionList(), m_host.currentSection(), picked);
    listChanged("Select from Library");
}

bool SectionManagerWindow::addToImageList()
{
    if (!namesRecord())
        return false;
    const std::string &record
        = m_host.sectionList()[static_cast<std::size_t>(m_host.currentSection())];
    if (splitFields(record, field::Kind)[0] != sectionKind(KindPos::Image).name)
        return false;
    std::vector<std::string> &images = m_host.favouriteLists().images;
    for (const std::string &entry : images)
        if (equalsIgnoreCase(entry, record)) {
            Dialogs::info(this, QStringLiteral("Image Is Already In The List :)"));
            return false;
        }
    images.push_back(record);
    m_host.imageListChanged();
    return true;
}

void SectionManagerWindow::moveToImageList()
{
    if (!addToImageList())
        return;
    std::vector<std::string> &list = m_host.sectionList();
    list.erase(list.begin() + m_host.currentSection());
    listChanged("Move To Image List");
    Dialogs::info(this, QStringLiteral("Image Moved.."));
}

void SectionManagerWindow::copyToImageList()
{
    if (addToImageList())
        Dialogs::info(this, QStringLiteral("Image Copied.."));
}

} // namespace stv
