#pragma once
// A line index: pairs of lines, a text and the link it leads to, shown as one line of links.

#include "gui/wizard/pages/WizardPage.h"

#include <array>

class QCheckBox;
class QComboBox;

namespace stv
{
class LongTextEdit;
}

namespace stv::pages
{

class IndexPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::Index;
    explicit IndexPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    LongTextEdit *m_indexMemo = nullptr;
    QComboBox *m_indexSize = nullptr;
    std::array<QCheckBox *, 4> m_indexStyle {};
    QComboBox *m_indexAlign = nullptr;
    QCheckBox *m_indexFollow = nullptr;
};

} // namespace stv::pages
