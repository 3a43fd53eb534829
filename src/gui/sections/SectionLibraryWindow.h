#pragma once
// The Section Library window: lists the library's records with an icon per kind, lets the user
// pick several for the Section Manager and deletes records. Also the row model and painter
// that the Section Manager's list shares with it.

#include "core/Result.h"

#include <QAbstractListModel>
#include <QDialog>
#include <QStyledItemDelegate>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QListView;
class QMenu;

namespace stv
{

inline constexpr int RecordRowHeight = 20;

// Rows that are section records, or the one-field records that stand for the fixed sections.
// The rows are read from their owner when painted, not copied: a refill only records the row
// count and how to reach a row, so it costs the same for ten rows or a hundred thousand.
class RecordRowsModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { LabelRole = Qt::UserRole + 1, IconRole };
    // The record text of a row, or nullptr when the row is no longer there.
    using RowReader = std::function<const std::string *(int row)>;
    using QAbstractListModel::QAbstractListModel;

    void setRows(int count, RowReader reader);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // DisplayRole: the kind (field 0); LabelRole: the label (field 1); IconRole: the number of
    // the kind's icon in the shared strip, -1 for none.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    int m_count = 0;
    RowReader m_reader;
};

// Paints a row: background (highlight when selected), the kind's icon at (left + 2, top), the
// kind at (left + 25, top + 2) and the label right-aligned 5 pixels from the right edge at
// top + labelTop. Every row is RecordRowHeight pixels high.
class RecordRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    RecordRowDelegate(int labelTop, QObject *parent);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_labelTop;
};

// Where the library file lies, as the file system names it.
std::string libraryFilePath();
// Reads the library file at start-up (a missing file is an empty library); a file that exists
// but cannot be read is reported.
void loadLibrarySections(std::vector<std::string> &sections, QWidget *parent);

class SectionLibraryWindow : public QDialog
{
    Q_OBJECT
public:
    // The library list belongs to the main window and outlives this window.
    explicit SectionLibraryWindow(
        std::vector<std::string> &librarySections, QWidget *parent = nullptr);

    // Appends the record, writes the file and tells the user.
    void copyToLibrary(const std::string &record);
    // Shows the library modally; the selected records in list order when closed through
    // "&Select", nothing otherwise.
    std::vector<std::string> pickFromLibrary();

    QListView *libList() const { return m_libraryList; }
    QMenu *popupMenu() const { return m_popupMenu; }

    void prepareMenu(); // enables the items as the popup opens
    void selectSections();
    void deleteSelection();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refill();
    std::vector<int> selectedRows() const;
    // Writes the library file; a failure is reported and the list keeps its change.
    bool writeResult(const Result<> &written);

    std::vector<std::string> &m_library;
    RecordRowsModel *m_model;
    QListView *m_libraryList;
    QMenu *m_popupMenu;
    QAction *m_selectAction;
    QAction *m_deleteAction;
};

} // namespace stv
