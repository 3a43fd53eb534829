#include "SMUnit.h"

#include "model/LibUnit.h"
#include "model/Library.h"
#include "model/Records.h"
#include "model/StuffUnit.h"
#include "platform/Dialogs.h"

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

// Captions of the "&Insert" submenu, by kind position.
constexpr std::array<const char *, KindCount> InsertCaptions = { "&Heading", "&Paragraph", "&Image",
    "&Divider", "&Anchor", "&Bullet/Numbered List", "&Line Index", "&HTML", "Play&Sound" };
constexpr std::array<const char *, KindCount> InsertNames = { "Heading1", "Paragraph1", "Image1",
    "Divider1", "Anchor1", "BulletNumberedList1", "LineIndex1", "HTML1", "PlaySound1" };

constexpr int FixedRowsBefore = 3;

} // namespace

TSM::TSM(SectionHost &host, TLib &library, QWidget *parent)
    : QWidget(parent,
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_host(host)
    , m_library(library)
    , m_fixedRows { FixedSectionRecord(IntroductionName), FixedSectionRecord(TitleBarName),
        FixedSectionRecord(BackgroundName), FixedSectionRecord(WhatsNextName) }
{
    setObjectName(QStringLiteral("SM"));
    setWindowTitle(QStringLiteral("Sitorva Section Manager"));
    move(18, 45);
    resize(165, 419);

    m_model = new RecordRowsModel(this);
    Display = new QListView(this);
    Display->setObjectName(QStringLiteral("Display"));
    Display->setFont(QFont(QStringLiteral("Arial"), 8));
    Display->setModel(m_model);
    Display->setItemDelegate(new RecordRowDelegate(2, Display));
    Display->setUniformItemSizes(true);
    Display->setSelectionMode(QAbstractItemView::SingleSelection);
    Display->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Display->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    Display->setContextMenuPolicy(Qt::CustomContextMenu);
    Display->installEventFilter(this);
    Display->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Display);

    SMPopUp = new QMenu(this);
    SMPopUp->setObjectName(QStringLiteral("SMPopUp"));
    auto item = [this](QMenu *menu, const char *caption, const char *name) {
        QAction *a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    DeleteSection1 = item(SMPopUp, "&Delete Section", "DeleteSection1");
    SMPopUp->addSeparator();
    CutSection1 = item(SMPopUp, "&Cut Section", "CutSection1");
    CopySection1 = item(SMPopUp, "C&opy Section", "CopySection1");
    CopytoLibrary1 = item(SMPopUp, "Copy to &Library", "CopytoLibrary1");
    SMPopUp->addSeparator();
    Paste1 = item(SMPopUp, "&Paste", "Paste1");
    Insert1 = SMPopUp->addMenu(QStringLiteral("&Insert"));
    Insert1->setObjectName(QStringLiteral("Insert1"));
    for (int k = 0; k < KindCount; ++k) {
        QAction *a = item(Insert1, InsertCaptions[static_cast<std::size_t>(k)],
            InsertNames[static_cast<std::size_t>(k)]);
        a->setData(k);
        connect(a, &QAction::triggered, this, [this, k] { InsertClick(k); });
    }
    SelectfromLibrary1 = item(SMPopUp, "&Select from Library", "SelectfromLibrary1");
    N3 = SMPopUp->addSeparator();
    N3->setObjectName(QStringLiteral("N3"));
    MoveToImageList1 = item(SMPopUp, "&Move To Image List", "MoveToImageList1");
    CopyToImageList1 = item(SMPopUp, "Copy &To Image List", "CopyToImageList1");

    connect(SMPopUp, &QMenu::aboutToShow, this, &TSM::SMPopUpPopup);
    connect(DeleteSection1, &QAction::triggered, this, &TSM::DeleteSection1Click);
    connect(CutSection1, &QAction::triggered, this, &TSM::CutSection1Click);
    connect(CopySection1, &QAction::triggered, this, &TSM::CopySection1Click);
    connect(CopytoLibrary1, &QAction::triggered, this, &TSM::CopytoLibrary1Click);
    connect(Paste1, &QAction::triggered, this, &TSM::Paste1Click);
    connect(SelectfromLibrary1, &QAction::triggered, this, &TSM::SelectfromLibrary1Click);
    connect(MoveToImageList1, &QAction::triggered, this, &TSM::MoveToImageList1Click);
    connect(CopyToImageList1, &QAction::triggered, this, &TSM::CopyToImageList1Click);
    connect(Display, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { SMPopUp->popup(Display->viewport()->mapToGlobal(pos)); });
    connect(Display->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &TSM::currentRowChanged);
}

int TSM::sectionCount() const
{
    return static_cast<int>(m_host.sectionList().size());
}

bool TSM::namesRecord() const
{
    const int cs = m_host.currentSection();
    return cs >= 0 && cs < sectionCount();
}

void TSM::RefreshSectionManager()
{
    const int top = Display->verticalScrollBar()->value();

    // Rows are read from the section list when painted; the count is the list's as of now.
    const int count = sectionCount();
    m_selecting = true;
    m_model->setRows(count + 4, [this, count](int row) -> const std::string * {
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
    Display->doItemsLayout();
    if (top >= 0 && top < m_model->rowCount())
        Display->verticalScrollBar()->setValue(top);
    Display->viewport()->update();
}

void TSM::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row);
    m_selecting = true;
    Display->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_selecting = false;
    Display->scrollTo(index);
}

void TSM::currentRowChanged(const QModelIndex &current)
{
    // Rows chosen by mouse or keyboard move the wizard; rows the program selects do not.
    if (!m_selecting && current.isValid())
        DisplayClick(current.row());
}

void TSM::DisplayClick(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_host.storeCurrentPage();
    m_host.setCurrentSection(row - FixedRowsBefore);
    m_host.showCurrentSection();
}

bool TSM::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Display && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat()) {
            if (m_host.currentSection() >= 0)
                DeleteSection1Click();
            return true;
        }
    }
    // A right button press opens the popup without moving the wizard to the row under it;
    // the context menu event that follows the press is then dropped. The keyboard's menu key
    // still reaches customContextMenuRequested.
    if (watched == Display->viewport()) {
        if (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton) {
                if (event->type() == QEvent::MouseButtonPress)
                    SMPopUp->popup(mouse->globalPosition().toPoint());
                return true;
            }
        }
        if (event->type() == QEvent::ContextMenu
            && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TSM::SMPopUpPopup()
{
    const bool editable = m_host.currentSection() >= 0;
    for (QAction *a : { DeleteSection1, CutSection1, CopySection1, CopytoLibrary1, Paste1,
             Insert1->menuAction(), SelectfromLibrary1 })
        a->setEnabled(editable);

    bool image = false;
    if (namesRecord()) {
        const std::string &record
            = m_host.sectionList()[static_cast<std::size_t>(m_host.currentSection())];
        image = SplitFields(record, field::Kind)[0] == KindNames[static_cast<int>(KindPos::Image)];
    }
    N3->setVisible(image);
    MoveToImageList1->setVisible(image);
    CopyToImageList1->setVisible(image);
}

void TSM::listChanged()
{
    m_host.sectionListChanged();
    m_host.showCurrentSection();
    RefreshSectionManager();
    selectRow(m_host.currentSection() + FixedRowsBefore);
}

void TSM::takeSection(Take what)
{
    m_host.storeCurrentPage();
    if (!namesRecord()) {
        Dialogs::info(this, QStringLiteral("This Section Is Fixed. Sorry.."));
        return;
    }
    std::vector<std::string> &list = m_host.sectionList();
    const auto at = static_cast<std::size_t>(m_host.currentSection());
    if (what == Take::Cut || what == Take::Copy)
        SectionClipboard = list[at];
    if (what == Take::Copy) {
        Dialogs::info(this, QStringLiteral("Section Copied.."));
        return;
    }
    if (what == Take::Library) {
        m_library.CopyToLibrary(list[at]);
        return;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
    listChanged();
}

void TSM::DeleteSection1Click()
{
    takeSection(Take::Delete);
}

void TSM::CutSection1Click()
{
    takeSection(Take::Cut);
}

void TSM::CopySection1Click()
{
    takeSection(Take::Copy);
}

void TSM::CopytoLibrary1Click()
{
    takeSection(Take::Library);
}

// Paste does not store the page first: the page then shows the pasted record.
void TSM::Paste1Click()
{
    if (m_host.currentSection() < 0) {
        Dialogs::info(this, QStringLiteral("Cannot Paste Here. Sorry.."));
        return;
    }
    if (SectionClipboard.empty()) {
        Dialogs::info(this, QStringLiteral("Nothing To Paste.."));
        return;
    }
    InsertRecords(m_host.sectionList(), m_host.currentSection(), { SectionClipboard });
    listChanged();
}

void TSM::InsertClick(int kindPosition)
{
    if (m_host.currentSection() < 0) {
        Dialogs::info(this, QStringLiteral("Cannot Insert Here. Sorry.."));
        return;
    }
    const std::string record = NewSectionRecord(kindPosition);
    if (record.empty())
        return;
    m_host.storeCurrentPage();
    InsertRecords(m_host.sectionList(), m_host.currentSection(), { record });
    listChanged();
}

// Like Paste, the page is not stored first: the first inserted section is shown.
void TSM::SelectfromLibrary1Click()
{
    if (m_host.currentSection() < 0) {
        Dialogs::info(this, QStringLiteral("Cannot Insert Here. Sorry.."));
        return;
    }
    const std::vector<std::string> picked = m_library.PickFromLibrary();
    if (picked.empty())
        return;
    InsertRecords(m_host.sectionList(), m_host.currentSection(), picked);
    listChanged();
}

bool TSM::addToImageList()
{
    if (!namesRecord())
        return false;
    const std::string &record
        = m_host.sectionList()[static_cast<std::size_t>(m_host.currentSection())];
    if (SplitFields(record, field::Kind)[0] != KindNames[static_cast<int>(KindPos::Image)])
        return false;
    std::vector<std::string> &images = m_host.favouriteLists().images;
    for (const std::string &entry : images)
        if (EqualsIgnoreCase(entry, record)) {
            Dialogs::info(this, QStringLiteral("Image Is Already In The List :)"));
            return false;
        }
    images.push_back(record);
    return true;
}

void TSM::MoveToImageList1Click()
{
    if (!addToImageList())
        return;
    std::vector<std::string> &list = m_host.sectionList();
    list.erase(list.begin() + m_host.currentSection());
    listChanged();
    Dialogs::info(this, QStringLiteral("Image Moved.."));
}

void TSM::CopyToImageList1Click()
{
    if (addToImageList())
        Dialogs::info(this, QStringLiteral("Image Copied.."));
}

} // namespace stv
