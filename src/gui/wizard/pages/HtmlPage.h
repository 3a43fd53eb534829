#pragma once
// HTML code of the user's own, copied into the page as typed.

#include "gui/wizard/pages/WizardPage.h"

namespace stv
{
class LongTextEdit;
}

namespace stv::pages
{

class HtmlPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::HTML;
    explicit HtmlPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    void zoomHTML();

    LongTextEdit *m_htmlMemo = nullptr;
};

} // namespace stv::pages
