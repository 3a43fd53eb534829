#pragma once
// A heading: its text, size, style, alignment and colour.

#include "gui/wizard/pages/WizardPage.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace stv::pages
{

class HeadingPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::Heading;
    explicit HeadingPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    QLineEdit *m_headingEdit = nullptr;
    QButtonGroup *m_headSize = nullptr;
    std::array<QCheckBox *, 4> m_headStyle {};
    QButtonGroup *m_headAlign = nullptr;
    QLabel *m_headColour = nullptr;
};

} // namespace stv::pages
