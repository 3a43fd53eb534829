#include "gui/lists/FavouriteListWindow.h"

#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/RightPressPopup.h"

#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace stv
{

EntryListModel::EntryListModel(std::vector<std::string> &entries, QObject *parent)
    : QAbstractListModel(parent)
    , m_entries(entries)
{
}

int EntryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::string &entry = m_entries[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return fromCp1252(entry);
    case Qt::AccessibleTextRole:
        return m_describer ? m_describer(index.row(), entry).text : fromCp1252(entry);
    case Qt::AccessibleDescriptionRole:
        return m_describer ? m_describer(index.row(), entry).description : QString();
    default:
        return {};
    }
}

void EntryListModel::reload()
{
    beginResetModel();
    endResetModel();
}

EntryRowDelegate::EntryRowDelegate(
    int rowHeight, RowPainter painter, std::vector<std::string> &entries, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_rowHeight(rowHeight)
    , m_painter(std::move(painter))
    , m_entries(entries)
{
}

void EntryRowDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int row = index.row();
    if (row < 0 || static_cast<std::size_t>(row) >= m_entries.size())
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette &pal = option.palette;
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->setFont(option.font);
    m_painter(*painter, option.rect, row, m_entries[static_cast<std::size_t>(row)]);
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = option.rect;
        focus.state = option.state | QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = (selected ? pal.highlight() : pal.base()).color();
        if (const QWidget *w = option.widget)
            w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
    }
    painter->restore();
}

QSize EntryRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return { option.rect.width(), m_rowHeight };
}

FavouriteListWindow::FavouriteListWindow(std::vector<std::string> &entries, const QString &listName,
    int rowHeight, RowPainter painter, QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_entries(entries)
{
    m_model = new EntryListModel(entries, this);
    m_view = new QListView(this);
    m_view->setObjectName(listName);
    m_view->setFont(rowFont());
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new EntryRowDelegate(rowHeight, std::move(painter), entries, this));
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    connect(m_menu, &QMenu::aboutToShow, this, &FavouriteListWindow::prepareMenu);
    connect(m_view, &QListView::customContextMenuRequested, this,
        [this](const QPoint &pos) { m_menu->popup(m_view->viewport()->mapToGlobal(pos)); });
    m_view->viewport()->installEventFilter(this);

    m_emptyHint = new QLabel(m_view->viewport());
    m_emptyHint->setObjectName(QStringLiteral("EmptyHint"));
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setForegroundRole(QPalette::PlaceholderText);
    m_emptyHint->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_emptyHint->move(6, 4);
    connect(m_model, &QAbstractItemModel::modelReset, this, &FavouriteListWindow::updateEmptyHint);
    connect(
        m_model, &QAbstractItemModel::rowsInserted, this, &FavouriteListWindow::updateEmptyHint);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &FavouriteListWindow::updateEmptyHint);
}

void FavouriteListWindow::describeRows(const QString &listName, RowDescriber describer)
{
    m_view->setAccessibleName(listName);
    m_model->setDescriber(std::move(describer));
}

void FavouriteListWindow::setEmptyHint(const QString &hint)
{
    m_emptyHint->setText(hint);
    updateEmptyHint();
}

void FavouriteListWindow::updateEmptyHint()
{
    m_emptyHint->setFixedWidth(std::max(100, m_view->viewport()->width() - 12));
    m_emptyHint->adjustSize();
    m_emptyHint->setVisible(!m_emptyHint->text().isEmpty() && m_model->rowCount() == 0);
}

QFont FavouriteListWindow::rowFont()
{
    QFont font;
    font.setPixelSize(11);
    return font;
}

int FavouriteListWindow::selectedRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const int row = rows.front().row();
    return static_cast<std::size_t>(row) < m_entries.size() ? row : -1;
}

void FavouriteListWindow::selectRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_entries.size()) {
        m_view->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    m_view->setCurrentIndex(index);
    m_view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    m_view->scrollTo(index);
}

void FavouriteListWindow::refresh()
{
    m_model->reload();
}

void FavouriteListWindow::showEvent(QShowEvent *event)
{
    refresh();
    updateEmptyHint();
    QDialog::showEvent(event);
}

bool FavouriteListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && openPopupOnRightPress(m_view, event, m_menu))
        return true;
    return QDialog::eventFilter(watched, event);
}

void FavouriteListWindow::prepareMenu()
{
    const bool hasEntry = selectedRow() >= 0;
    for (QAction *action : m_entryActions)
        action->setEnabled(hasEntry);
}

QAction *FavouriteListWindow::addCommand(QMenu *menu, const QString &caption, const char *name,
    std::function<void()> handler, bool onEntry)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, std::move(handler));
    if (onEntry)
        needsEntry(action);
    return action;
}

void FavouriteListWindow::deleteSelected(const QString &question)
{
    const int row = selectedRow();
    if (row < 0)
        return;
    if (Dialogs::confirm(this, question, Buttons::NoOk) != Answer::Ok)
        return;
    m_entries.erase(m_entries.begin() + row);
    changed(-1);
}

void FavouriteListWindow::changed(int select)
{
    m_model->reload();
    selectRow(select);
    emit entriesChanged();
}

} // namespace stv
