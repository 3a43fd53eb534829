#pragma once
// What the Colour, Link and Image List windows share: a window filled by one owner-drawn
// list of the entries of a favourite list (edited in place, numbered from 0), a popup menu
// whose entry commands are enabled only while an entry is selected, and deletion after a
// No/OK confirmation.

#include <QAbstractListModel>
#include <QDialog>
#include <QStyledItemDelegate>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListView;
class QMenu;

namespace stv
{

// What a screen reader says for a row: its text and, where the text leaves it out, more.
struct RowWords {
    QString text;
    QString description;
};
using RowDescriber = std::function<RowWords(int number, const std::string &entry)>;

// The entries of one favourite list as list rows. DisplayRole is the entry as stored;
// AccessibleTextRole and AccessibleDescriptionRole are what the row shows, in words.
class EntryListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    EntryListModel(std::vector<std::string> &entries, QObject *parent);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    // The list changed outside the model.
    void reload();
    void setDescriber(RowDescriber describer) { m_describer = std::move(describer); }

private:
    std::vector<std::string> &m_entries;
    RowDescriber m_describer;
};

// Paints one row: the background is already filled and the pen set for the row's text.
using RowPainter = std::function<void(
    QPainter &painter, const QRect &row, int number, const std::string &entry)>;

class EntryRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    EntryRowDelegate(
        int rowHeight, RowPainter painter, std::vector<std::string> &entries, QObject *parent);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_rowHeight;
    RowPainter m_painter;
    std::vector<std::string> &m_entries;
};

class FavouriteListWindow : public QDialog
{
    Q_OBJECT
public:
    std::vector<std::string> &entries() { return m_entries; }
    QListView *listView() const { return m_view; }
    QMenu *popupMenu() const { return m_menu; }

    // The selected entry's number, -1 when none is selected.
    int selectedRow() const;
    void selectRow(int row);
    // Shows the list as it is now (after it was loaded or changed elsewhere).
    void refresh();

    // Runs as the popup menu opens: entry commands need a selected entry.
    void prepareMenu();

signals:
    // An entry was added, changed, moved or deleted (not when the list was loaded).
    void entriesChanged();

protected:
    FavouriteListWindow(std::vector<std::string> &entries, const QString &listName, int rowHeight,
        RowPainter painter, QWidget *parent, Qt::WindowFlags flags);
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // A menu command that works on the selected entry.
    void needsEntry(QAction *action) { m_entryActions.push_back(action); }
    // Adds a menu command named `name`; `onEntry` commands need a selected entry.
    QAction *addCommand(QMenu *menu, const QString &caption, const char *name,
        std::function<void()> handler, bool onEntry);
    // A sizeable window with a close box only.
    static Qt::WindowFlags sizeableWindow()
    {
        return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
    }
    // Asks the question with No/OK and deletes the selected entry on OK.
    void deleteSelected(const QString &question);
    // The entries changed; `select` is the row to select afterwards (-1: none).
    void changed(int select);

    // The list's name and how its rows are put in words, for screen readers.
    void describeRows(const QString &listName, RowDescriber describer);
    // Fixed-height rows need a font that fits them.
    static QFont rowFont();
    // The grey line an empty list shows, saying how entries are added.
    void setEmptyHint(const QString &hint);

private:
    void updateEmptyHint();

    std::vector<std::string> &m_entries;
    EntryListModel *m_model;
    QListView *m_view;
    QMenu *m_menu;
    QLabel *m_emptyHint;
    std::vector<QAction *> m_entryActions;
};

} // namespace stv
