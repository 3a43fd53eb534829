#pragma once
// A record of a kind this program does not know: it is named and kept exactly as it is.

#include "gui/wizard/pages/WizardPage.h"

class QLabel;

namespace stv::pages
{

class UnknownKindPage : public WizardPage
{
public:
    explicit UnknownKindPage(QWidget *parent);

    // Names the record's kind (field 0, as stored).
    void showKind(const std::string &kind);

private:
    QLabel *m_unknownText = nullptr;
};

} // namespace stv::pages
