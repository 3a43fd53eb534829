#pragma once
// A paragraph: its text, and the text options of its popup menu (size, style, alignment,
// colour and a link for the whole text). The text box previews the style and alignment.

#include "gui/wizard/pages/WizardPage.h"

#include <array>

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QMenu;

namespace stv
{
class LongTextEdit;
}

namespace stv::pages
{

class ParagraphPage : public SectionPage
{
public:
    static constexpr KindPos Kind = KindPos::Paragraph;
    explicit ParagraphPage(QWidget *parent);

    void showFields(const std::vector<std::string> &fields) override;
    std::vector<std::string> fields() const override;

protected:
    // A click on the link opens it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showTextOptions();
    void memoPreview();
    void pickParaColour();
    void urlLinkClick();
    void emailLinkClick();
    void anchorLinkClick();
    void zoomParagraph();

    LongTextEdit *m_paraMemo = nullptr;
    QMenu *m_paraPop = nullptr;
    QActionGroup *m_paraSize = nullptr;
    std::array<QAction *, 4> m_paraStyle {};
    QActionGroup *m_paraAlign = nullptr;
    QLabel *m_paraHint = nullptr;
    int m_paraColour = 0;
    QCheckBox *m_followCB = nullptr;
    QLabel *m_linkLabel = nullptr;
};

} // namespace stv::pages
