#pragma once
// The page title, shown in the browser's title bar.

#include "gui/wizard/pages/WizardPage.h"

class QLineEdit;

namespace stv
{
struct Project;
}

namespace stv::pages
{

class TitleBarPage : public WizardPage
{
public:
    // Edits the project's title: every change is written into `project` at once.
    TitleBarPage(Project &project, QWidget *parent);

    // Shows the project's title (after a load) without counting it as an edit.
    void load();

private:
    Project &m_project;
    QLineEdit *m_titleEdit = nullptr;
};

} // namespace stv::pages
