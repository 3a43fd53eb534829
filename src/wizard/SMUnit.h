#pragma once
// The Section Manager: a tool window listing every position of the project as a row (the three
// fixed pages, one row per section record, the "What`s Next?" row). A click jumps the wizard
// there; the popup menu deletes, cuts, copies, pastes and inserts sections, uses the Section
// Library and hands Image sections to the Image List.

#include "wizard/SectionHost.h"

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
class TLib;

class TSM : public QWidget, public SectionView
{
    Q_OBJECT
public:
    // The host (main window) and the library window outlive this window.
    TSM(SectionHost &host, TLib &library, QWidget *parent = nullptr);

    void RefreshSectionManager() override;
    void selectRow(int row) override;

    QListView *display() const { return Display; }
    QMenu *popupMenu() const { return SMPopUp; }
    // Private to the program: set by Cut and Copy, read by Paste, kept for the whole run.
    const std::string &sectionClipboard() const { return SectionClipboard; }

    void DisplayClick(int row);
    void SMPopUpPopup(); // enables and shows the items as the popup opens
    void DeleteSection1Click();
    void CutSection1Click();
    void CopySection1Click();
    void CopytoLibrary1Click();
    void Paste1Click();
    void InsertClick(int kindPosition);
    void SelectfromLibrary1Click();
    void MoveToImageList1Click();
    void CopyToImageList1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Take { Delete, Cut, Copy, Library };
    // The shared steps of Delete, Cut, Copy and Copy to Library.
    void takeSection(Take what);
    // Sends the current Image record to the Image List; false when the list already holds it.
    bool addToImageList();
    // After a change of the list: counts as unsaved, shows the position, rebuilds the rows.
    void listChanged();
    int sectionCount() const;
    bool namesRecord() const;
    void currentRowChanged(const QModelIndex &current);

    SectionHost &m_host;
    TLib &m_library;
    std::string SectionClipboard;
    // The rows that stand for the fixed sections: the three before the records, then
    // "What`s Next?".
    std::array<std::string, 4> m_fixedRows;
    bool m_selecting = false; // rows selected by the program, not the user

    RecordRowsModel *m_model;
    QListView *Display;
    QMenu *SMPopUp;
    QAction *DeleteSection1;
    QAction *CutSection1;
    QAction *CopySection1;
    QAction *CopytoLibrary1;
    QAction *Paste1;
    QMenu *Insert1;
    QAction *SelectfromLibrary1;
    QAction *N3; // the separator shown with the two Image List items
    QAction *MoveToImageList1;
    QAction *CopyToImageList1;
};

} // namespace stv
