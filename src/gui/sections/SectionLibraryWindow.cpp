#include "gui/sections/SectionLibraryWindow.h"

#include "core/project/Library.h"
#include "core/project/Records.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/IconStrip.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/sections/RightPressPopup.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace stv
{

void RecordRowsModel::setRows(int count, RowReader reader)
{
    beginResetModel();
    m_count = count;
    m_reader = std::move(reader);
    endResetModel();
}

int RecordRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant RecordRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_count || !m_reader)
        return {};
    const std::string *record = m_reader(index.row());
    if (!record)
        return {};
    const std::string &row = *record;
    switch (role) {
    case Qt::DisplayRole:
        return fromCp1252(splitFields(row, field::Kind)[0]);
    case LabelRole:
        return fromCp1252(splitFields(row, field::UserLabel)[1]);
    case Qt::AccessibleTextRole: {
        // The kind and the label, as the row shows them.
        const std::vector<std::string> f = splitFields(row, field::UserLabel);
        return f[1].empty() ? fromCp1252(f[0])
                            : QStringLiteral("%1: %2").arg(fromCp1252(f[0]), fromCp1252(f[1]));
    }
    case Qt::AccessibleDescriptionRole: {
        const std::vector<std::string> f = splitFields(row, field::UserLabel);
        return f[1].empty()
            ? QStringLiteral("%1 section").arg(fromCp1252(f[0]))
            : QStringLiteral("%1 section labelled %2").arg(fromCp1252(f[0]), fromCp1252(f[1]));
    }
    case IconRole:
        return kindIcon(splitFields(row, field::Kind)[0]);
    default:
        return {};
    }
}

RecordRowDelegate::RecordRowDelegate(int labelTop, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_labelTop(labelTop)
{
}

void RecordRowDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QBrush background = selected ? option.palette.highlight() : option.palette.base();
    painter->fillRect(r, background);
    painter->setPen(
        selected ? option.palette.highlightedText().color() : option.palette.text().color());
    painter->setFont(option.font);

    const QPixmap &icon = stripIcon(index.data(RecordRowsModel::IconRole).toInt());
    if (!icon.isNull())
        painter->drawPixmap(r.left() + 2, r.top(), icon);

    const QString kind = index.data(Qt::DisplayRole).toString();
    const QString label = index.data(RecordRowsModel::LabelRole).toString();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    painter->drawText(
        QRect(r.left() + 25, r.top() + 2, std::max(0, r.width() - 25), r.height()), flags, kind);
    // The label is written on its own background, so a long label covers the kind name
    // instead of running through it.
    const int width = option.fontMetrics.horizontalAdvance(label);
    const int right = r.left() + r.width();
    const QRect labelRect(right - width - 5, r.top() + m_labelTop, width,
        std::min(option.fontMetrics.height(), r.height() - m_labelTop));
    if (!label.isEmpty())
        painter->fillRect(labelRect, background);
    painter->drawText(labelRect, flags, label);

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.rect = r;
        focus.state = option.state;
        focus.backgroundColor = background.color();
        if (const QWidget *w = option.widget)
            w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
    }
    painter->restore();
}

QSize RecordRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return { option.rect.width(), RecordRowHeight };
}

std::string libraryFilePath()
{
    return QFile::encodeName(programFolder() + QLatin1String(LibraryFileName)).toStdString();
}

void loadLibrarySections(std::vector<std::string> &sections, QWidget *parent)
{
    if (const Result<> read = readLibraryFile(libraryFilePath(), sections); !read)
        Dialogs::error(parent,
            QStringLiteral("The Section Library could not be read:\n")
                + QString::fromStdString(read.error()));
}

SectionLibraryWindow::SectionLibraryWindow(
    std::vector<std::string> &librarySections, QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_library(librarySections)
{
    setObjectName(QStringLiteral("Lib"));
    setWindowTitle(QStringLiteral("Section Library"));
    resize(164, 278);

    m_model = new RecordRowsModel(this);
    m_libraryList = new QListView(this);
    m_libraryList->setObjectName(QStringLiteral("LibList"));
    m_libraryList->setAccessibleName(QStringLiteral("Library sections"));
    m_libraryList->setModel(m_model);
    m_libraryList->setItemDelegate(new RecordRowDelegate(0, m_libraryList));
    m_libraryList->setUniformItemSizes(true);
    m_libraryList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_libraryList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_libraryList->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_libraryList);

    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_selectAction = m_popupMenu->addAction(QStringLiteral("&Select"));
    m_selectAction->setObjectName(QStringLiteral("Select1"));
    m_popupMenu->addSeparator();
    m_deleteAction = m_popupMenu->addAction(QStringLiteral("&Delete"));
    m_deleteAction->setObjectName(QStringLiteral("Delete1"));

    connect(m_popupMenu, &QMenu::aboutToShow, this, &SectionLibraryWindow::prepareMenu);
    connect(m_selectAction, &QAction::triggered, this, &SectionLibraryWindow::selectSections);
    connect(m_deleteAction, &QAction::triggered, this, &SectionLibraryWindow::deleteSelection);
    connect(m_libraryList, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        m_popupMenu->popup(m_libraryList->viewport()->mapToGlobal(pos));
    });
    // A double click or Enter inserts, as "&Select" does.
    connect(m_libraryList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &row) {
        if (row.isValid())
            selectSections();
    });
    m_libraryList->installEventFilter(this);
    m_libraryList->viewport()->installEventFilter(this);
    refill();
}

bool SectionLibraryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_libraryList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            selectSections();
            return true;
        }
    }
    if (watched == m_libraryList->viewport()
        && openPopupOnRightPress(m_libraryList, event, m_popupMenu))
        return true;
    return QWidget::eventFilter(watched, event);
}

void SectionLibraryWindow::refill()
{
    m_model->setRows(static_cast<int>(m_library.size()), [this](int row) {
        return static_cast<std::size_t>(row) < m_library.size()
            ? &m_library[static_cast<std::size_t>(row)]
            : nullptr;
    });
}

std::vector<int> SectionLibraryWindow::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : m_libraryList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    return rows;
}

bool SectionLibraryWindow::writeResult(const Result<> &written)
{
    if (!written)
        Dialogs::error(this,
            QStringLiteral("The Section Library could not be saved:\n")
                + QString::fromStdString(written.error())
                + QStringLiteral("\n\nThe change is kept and will be saved with "
                                 "the next change to the library."));
    return written.ok();
}

void SectionLibraryWindow::copyToLibrary(const std::string &record)
{
    const Result<> appended = appendToLibrary(m_library, record, libraryFilePath());
    refill();
    if (writeResult(appended))
        Dialogs::info(this, QStringLiteral("Section Copied To Library.."));
}

std::vector<std::string> SectionLibraryWindow::pickFromLibrary()
{
    refill();
    if (exec() != QDialog::Accepted)
        return {};
    return recordsAtRows(m_library, selectedRows());
}

void SectionLibraryWindow::prepareMenu()
{
    const bool any = m_libraryList->selectionModel()->hasSelection();
    m_selectAction->setEnabled(any);
    m_deleteAction->setEnabled(any);
}

void SectionLibraryWindow::selectSections()
{
    if (selectedRows().empty())
        return;
    accept();
}

void SectionLibraryWindow::deleteSelection()
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    const Result<> deleted = deleteLibraryRows(m_library, rows, libraryFilePath());
    refill();
    writeResult(deleted);
}

} // namespace stv
