#pragma once
// The page's background: a colour, or a picture tiled over the page.

#include "gui/wizard/pages/WizardPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace stv
{
struct Project;
}

namespace stv::pages
{

class BackgroundPage : public WizardPage
{
public:
    // Edits the project's background values: every change is written into `project` at once,
    // each value on its own.
    BackgroundPage(Project &project, QWidget *parent);

    // Shows the project's values (after a load) without counting them as edits.
    void load();

private:
    Project &m_project;
    QPushButton *m_colourPanel = nullptr;
    QLineEdit *m_backgroundEdit = nullptr;
    QCheckBox *m_importBG = nullptr;
};

} // namespace stv::pages
