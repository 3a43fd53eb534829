#pragma once
// The start-up decision box: the product name as a shadowed title, the radio group
// "What do you want to do?" and "&Accept" / Cancel. The chosen item stays chosen whatever
// button closes the box; the configuration remembers it.

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace stv
{

class DecisionBox : public QDialog
{
    Q_OBJECT
public:
    explicit DecisionBox(QWidget *parent = nullptr);

    // 0 "Open your last web page project" to 3 "Don`t show this window again".
    int itemIndex() const;
    // Out-of-range items choose item 0.
    void setItemIndex(int item);

    QPushButton *acceptButton() const { return m_accept; }
    QPushButton *cancelButton() const { return m_cancel; }
    QRadioButton *itemButton(int item) const;

private:
    QGroupBox *m_group;
    QButtonGroup *m_items;
    QPushButton *m_accept;
    QPushButton *m_cancel;
};

} // namespace stv
