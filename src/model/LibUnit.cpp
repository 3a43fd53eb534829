#include "LibUnit.h"

#include "model/Library.h"
#include "model/Records.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"
#include "platform/IconStrip.h"
#include "platform/ProgramFolder.h"

#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
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
        return FromCp1252(SplitFields(row, field::Kind)[0]);
    case LabelRole:
        return FromCp1252(SplitFields(row, field::UserLabel)[1]);
    case IconRole:
        return KindIcon(SplitFields(row, field::Kind)[0]);
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

    const QPixmap &icon = StripIcon(index.data(RecordRowsModel::IconRole).toInt());
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

std::string LibraryFilePath()
{
    return QFile::encodeName(ProgramFolder() + QLatin1String(LibraryFileName)).toStdString();
}

void LoadLibrarySections(std::vector<std::string> &sections, QWidget *parent)
{
    const FileResult r = ReadLibraryFile(LibraryFilePath(), sections);
    if (!r.ok)
        Dialogs::error(parent,
            QStringLiteral("The Section Library could not be read:\n")
                + QString::fromStdString(r.error));
}

TLib::TLib(std::vector<std::string> &librarySections, QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_library(librarySections)
{
    setObjectName(QStringLiteral("Lib"));
    setWindowTitle(QStringLiteral("Section Library"));
    resize(164, 278);

    m_model = new RecordRowsModel(this);
    LibList = new QListView(this);
    LibList->setObjectName(QStringLiteral("LibList"));
    LibList->setModel(m_model);
    LibList->setItemDelegate(new RecordRowDelegate(0, LibList));
    LibList->setUniformItemSizes(true);
    LibList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LibList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LibList->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(LibList);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Select1 = PopupMenu1->addAction(QStringLiteral("&Select"));
    Select1->setObjectName(QStringLiteral("Select1"));
    PopupMenu1->addSeparator();
    Delete1 = PopupMenu1->addAction(QStringLiteral("&Delete"));
    Delete1->setObjectName(QStringLiteral("Delete1"));

    connect(PopupMenu1, &QMenu::aboutToShow, this, &TLib::PopupMenu1Popup);
    connect(Select1, &QAction::triggered, this, &TLib::Select1Click);
    connect(Delete1, &QAction::triggered, this, &TLib::Delete1Click);
    connect(LibList, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { PopupMenu1->popup(LibList->viewport()->mapToGlobal(pos)); });
    refill();
}

void TLib::refill()
{
    m_model->setRows(static_cast<int>(m_library.size()), [this](int row) {
        return static_cast<std::size_t>(row) < m_library.size()
            ? &m_library[static_cast<std::size_t>(row)]
            : nullptr;
    });
}

std::vector<int> TLib::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : LibList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    return rows;
}

bool TLib::writeResult(bool ok, const std::string &error)
{
    if (!ok)
        Dialogs::error(this,
            QStringLiteral("The Section Library could not be saved:\n")
                + QString::fromStdString(error)
                + QStringLiteral("\n\nThe change is kept and will be saved with "
                                 "the next change to the library."));
    return ok;
}

void TLib::CopyToLibrary(const std::string &record)
{
    const FileResult r = AppendToLibrary(m_library, record, LibraryFilePath());
    refill();
    if (writeResult(r.ok, r.error))
        Dialogs::info(this, QStringLiteral("Section Copied To Library.."));
}

std::vector<std::string> TLib::PickFromLibrary()
{
    refill();
    if (exec() != QDialog::Accepted)
        return {};
    return RecordsAtRows(m_library, selectedRows());
}

void TLib::PopupMenu1Popup()
{
    const bool any = LibList->selectionModel()->hasSelection();
    Select1->setEnabled(any);
    Delete1->setEnabled(any);
}

void TLib::Select1Click()
{
    if (selectedRows().empty())
        return;
    accept();
}

void TLib::Delete1Click()
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty())
        return;
    const FileResult r = DeleteLibraryRows(m_library, rows, LibraryFilePath());
    refill();
    writeResult(r.ok, r.error);
}

} // namespace stv
