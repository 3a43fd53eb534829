#pragma once
// A small modal dialog in which the user picks rows from a list of texts. The caller fills
// the list, adapts the captions, shows it and reads the result (Accepted, AllResult or
// Rejected) and the selected rows.

#include <QDialog>

#include <vector>

class QGroupBox;
class QListWidget;
class QPushButton;

namespace stv
{

class SelectionDialog : public QDialog
{
    Q_OBJECT
public:
    // The result of "&All", which stands for every row.
    static constexpr int AllResult = 3;

    explicit SelectionDialog(QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; } // MultiList
    QPushButton *selectedButton() const { return m_selected; }
    QPushButton *allButton() const { return m_all; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *helpButton() const { return m_help; }

    void setItems(const QStringList &items);
    // Several rows at once (the default) or one.
    void setSingleSelection(bool single);
    // Selected rows, top to bottom.
    std::vector<int> selectedRows() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // "&Selected" works only while a row is selected and the list has a current row.
    void updateSelectedButton();

    QGroupBox *m_group;
    QListWidget *m_list;
    QPushButton *m_selected;
    QPushButton *m_all;
    QPushButton *m_cancel;
    QPushButton *m_help;
};

} // namespace stv
