#pragma once
// The rows of the remote listing: "Name", "Size" and "Date". The entries are kept as the
// server gave them and their texts made only for the rows on show, so a listing of 100,000
// entries is taken in at once. Names are shown without control characters and cut to 260
// characters.

#include "core/upload/FtpListing.h"

#include <QAbstractTableModel>

#include <vector>

namespace stv
{

inline constexpr int ShownNameLength = 260;

// A name or reply the server sent, as the window shows it: UTF-8 when it is that, else
// Windows-1252; control characters removed; at most maxLength characters.
QString remoteText(const std::string &bytes, int maxLength = ShownNameLength);

class ListingModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The entry's name bytes as the server sent them (QByteArray); empty when the name was
    // too long to keep whole.
    static constexpr int RemoteNameRole = Qt::UserRole + 1;

    explicit ListingModel(QObject *parent = nullptr);

    void setEntries(std::vector<FtpEntry> entries);
    void clear() { setEntries({}); }
    const std::vector<FtpEntry> &entries() const { return m_entries; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<FtpEntry> m_entries;
};

} // namespace stv
