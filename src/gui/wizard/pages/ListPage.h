#pragma once
// A bulleted or numbered list: seven rows of text, each with an optional link.

#include "gui/wizard/pages/WizardPage.h"

#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;

namespace stv::pages
{

class ListPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::List;
    explicit ListPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

private:
    // L1 to L14: the text and the link of row 1, then of row 2, and so on.
    std::array<QLineEdit *, 2 * field::ListRows> m_listEdits {};
    QButtonGroup *m_listType = nullptr;
    QComboBox *m_listSize = nullptr;
    QLabel *m_listColour = nullptr;
};

} // namespace stv::pages
