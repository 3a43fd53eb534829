#pragma once
// The Section Manager: a tool window listing every position of the project as a row (the three
// fixed pages, one row per section record, the "What`s Next?" row). A click jumps the wizard
// there; the popup menu deletes, cuts, copies, pastes and inserts sections, uses the Section
// Library and hands Image sections to the Image List.

#include "gui/sections/SectionHost.h"

#include <QWidget>

#include <array>
#include <string>

class QAction;
class QListView;
class QMenu;
class QModelIndex;

namespace stv
{

class RecordRowsModel;
class SectionLibraryWindow;

class SectionManagerWindow : public QWidget, public SectionView
{
    Q_OBJECT
public:
    // The host (main window) and the library window outlive this window.
    SectionManagerWindow(
        SectionHost &host, SectionLibraryWindow &library, QWidget *parent = nullptr);

    void refreshSectionManager() override;
    void selectRow(int row) override;

    QListView *display() const { return m_sectionList; }
    QMenu *popupMenu() const { return m_popupMenu; }
    // Private to the program: set by Cut and Copy, read by Paste, kept for the whole run.
    const std::string &sectionClipboard() const { return m_sectionClipboard; }

    // Puts the main window's Undo and Redo at the top of the popup.
    void addEditActions(QAction *undo, QAction *redo);

    void jumpToRow(int row);
    void prepareMenu(); // enables and shows the items as the popup opens
    void deleteSections();
    void cutSections();
    void copySections();
    void copySectionsToLibrary();
    void pasteSections();
    void insertSection(int kindPosition);
    void selectFromLibrary();
    void moveToImageList();
    void copyToImageList();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Take { Delete, Cut, Copy, Library };
    // The shared steps of Delete, Cut, Copy and Copy to Library.
    void takeSection(Take what);
    // Sends the current Image record to the Image List; false when the list already holds it.
    bool addToImageList();
    // After a change of the list: counts as unsaved and as one step to undo named `label`,
    // shows the position, rebuilds the rows.
    void listChanged(const std::string &label);
    int sectionCount() const;
    bool namesRecord() const;
    void currentRowChanged(const QModelIndex &current);

    SectionHost &m_host;
    SectionLibraryWindow &m_library;
    std::string m_sectionClipboard;
    // The rows that stand for the fixed sections: the three before the records, then
    // "What`s Next?".
    std::array<std::string, 4> m_fixedRows;
    bool m_selecting = false; // rows selected by the program, not the user

    RecordRowsModel *m_model;
    QListView *m_sectionList;
    QMenu *m_popupMenu;
    QAction *m_deleteAction;
    QAction *m_cutAction;
    QAction *m_copyAction;
    QAction *m_copyToLibraryAction;
    QAction *m_pasteAction;
    QMenu *m_insertMenu;
    QAction *m_selectFromLibraryAction;
    QAction *m_imageListSeparator; // the separator shown with the two Image List items
    QAction *m_moveToImageListAction;
    QAction *m_copyToImageListAction;
};

} // namespace stv
