#pragma once
// "What do you want to do next?": the list of the nine section kinds, each row drawn with its
// kind's icon, and the button that adds a section of the chosen kind.

#include "gui/wizard/pages/WizardPage.h"

class QListWidget;

namespace stv::pages
{

class SelectPage : public WizardPage
{
    Q_OBJECT
public:
    explicit SelectPage(QWidget *parent);

    // The kind position of the selected row, -1 when no row is selected.
    int chosenKind() const;

signals:
    // "&Accept" was pressed or a row double-clicked.
    void accepted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListWidget *m_selectBox = nullptr;
};

} // namespace stv::pages
