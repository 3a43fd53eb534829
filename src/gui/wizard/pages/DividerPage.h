#pragma once
// A divider: a horizontal rule of a colour, thickness and width.

#include "gui/wizard/pages/WizardPage.h"

class QCheckBox;
class QLabel;
class QSlider;

namespace stv::pages
{

class DividerPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::Divider;
    explicit DividerPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    QLabel *m_divColour = nullptr;
    QSlider *m_divThick = nullptr;
    QLabel *m_divThickLabel = nullptr;
    QSlider *m_divWidth = nullptr;
    QLabel *m_divWidthLabel = nullptr;
    QCheckBox *m_div3D = nullptr;
};

} // namespace stv::pages
