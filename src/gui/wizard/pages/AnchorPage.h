#pragma once
// An anchor: a named point of the page that links can jump to.

#include "gui/wizard/pages/WizardPage.h"

class QCheckBox;
class QLineEdit;

namespace stv::pages
{

class AnchorPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::Anchor;
    explicit AnchorPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    QLineEdit *m_anchorEdit = nullptr;
    QLineEdit *m_anchorText = nullptr;
    QCheckBox *m_anchorCB = nullptr;
};

} // namespace stv::pages
