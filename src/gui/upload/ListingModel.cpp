#include "gui/upload/ListingModel.h"

#include "gui/desktop/Encoding.h"
#include "gui/upload/FtpPanel.h"

#include <QLocale>
#include <QStringDecoder>

namespace stv
{

QString remoteText(const std::string &bytes, int maxLength)
{
    // Enough bytes for maxLength characters of up to four bytes each.
    const std::string kept = cutUtf8(bytes, static_cast<std::size_t>(maxLength) * 4);
    // Stateless: a name ending in half a sequence is not UTF-8, not a sequence to go on.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(QByteArrayView(kept.data(), static_cast<qsizetype>(kept.size())));
    if (utf8.hasError())
        text = fromCp1252(kept);
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (text.size() > maxLength)
        text.truncate(maxLength);
    return text;
}

ListingModel::ListingModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ListingModel::setEntries(std::vector<FtpEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int ListingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int ListingModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant ListingModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const FtpEntry &entry = m_entries[static_cast<std::size_t>(index.row())];
    if (role == RemoteNameRole)
        return entry.nameCut ? QByteArray() : QByteArray::fromStdString(entry.name);
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::AccessibleDescriptionRole && index.column() == 0)
        return entry.isDirectory ? QStringLiteral("Folder")
                                 : QStringLiteral("File, %1 bytes")
                                       .arg(QString::fromStdString(makeListingRow(entry).size));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const ListingRow row = makeListingRow(entry);
    switch (index.column()) {
    case 0:
        return remoteText(row.name);
    case 1:
        return QString::fromStdString(row.size);
    case 2:
        return row.date ? listingDateText(*row.date, QLocale()) : QString();
    default:
        return {};
    }
}

QVariant ListingModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole && section == 1)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    static const char *const titles[] = { "Name", "Size", "Date" };
    return section >= 0 && section < 3 ? QString::fromLatin1(titles[section]) : QVariant();
}

} // namespace stv
