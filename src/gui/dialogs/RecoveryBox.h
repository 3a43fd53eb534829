#pragma once
// "Recover Unsaved Work": the recovery files left by programs that ended without saving, one
// row each (the project's name and folder, or "never saved", and the time of the last
// autosave), with "&Recover" (the default), "&Discard" and "&Later".

#include "core/project/Recovery.h"

#include <QDialog>

#include <vector>

class QListWidget;
class QPushButton;

namespace stv
{

class RecoveryBox : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { Recover, Discard, Later };

    explicit RecoveryBox(QWidget *parent = nullptr);

    void setEntries(const std::vector<RecoveryEntry> &entries);
    // What closed the box; closing it any other way is Later.
    Choice choice() const { return m_choice; }
    // The chosen row (the first when none was chosen).
    int chosenRow() const;

    QListWidget *list() const { return m_list; }

    // The row of one recovery file.
    static QString entryLine(const RecoveryEntry &entry);

private:
    void choose(Choice choice);

    Choice m_choice = Choice::Later;
    QListWidget *m_list;
    QPushButton *m_recover;
    QPushButton *m_discard;
    QPushButton *m_later;
};

} // namespace stv
