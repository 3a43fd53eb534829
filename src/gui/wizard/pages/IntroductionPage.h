#pragma once
// The first page: what the program does and how to go about it.

#include "gui/wizard/pages/WizardPage.h"

namespace stv::pages
{

class IntroductionPage : public WizardPage
{
public:
    explicit IntroductionPage(QWidget *parent);

    // The welcome text is only read: Next keeps the focus.
    QWidget *firstField() const override { return nullptr; }
};

} // namespace stv::pages
