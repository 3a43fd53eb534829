#pragma once
// A picture: its file, position, size, alternative text, link and alignment.

#include "gui/wizard/pages/WizardPage.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace stv::pages
{

class ImagePage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::Image;
    explicit ImagePage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    QLineEdit *m_imageEdit = nullptr;
    QButtonGroup *m_imagePosition = nullptr;
    QLineEdit *m_xEdit = nullptr;
    QLineEdit *m_yEdit = nullptr;
    QLineEdit *m_altText = nullptr;
    QButtonGroup *m_linkType = nullptr;
    QLineEdit *m_linkEdit = nullptr;
    QCheckBox *m_imgFollow = nullptr;
    QButtonGroup *m_imgJustify = nullptr;
    QCheckBox *m_importImage = nullptr;
    QCheckBox *m_linkBorder = nullptr;
};

} // namespace stv::pages
