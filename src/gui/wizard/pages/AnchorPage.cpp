#include "gui/wizard/pages/AnchorPage.h"

#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace stv::pages
{

AnchorPage::AnchorPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Insert an anchor at this point."), parent)
{
    QVBoxLayout *layout = pageLayout();
    layout->addWidget(new QLabel(QStringLiteral("Create a uniquely named anchor.."), this));
    m_anchorEdit = lineEdit(QStringLiteral("AnchorEdit"), this);
    layout->addWidget(m_anchorEdit);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("Text shown at the anchor (may be empty):"), this));
    m_anchorText = lineEdit(QStringLiteral("AnchorText"), this);
    layout->addWidget(m_anchorText);
    layout->addSpacing(8);
    m_anchorCB
        = check(QStringLiteral("AnchorCB"), QStringLiteral("F&ollow on from previous"), this);
    layout->addWidget(m_anchorCB);
    layout->addSpacing(8);
    layout->addWidget(note(QStringLiteral("A link to \"#\" followed by the anchor's name jumps to "
                                          "this point of the page."),
        this));
    layout->addStretch(1);
}

void AnchorPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    m_anchorEdit->setText(fromCp1252(textAt(f, AnchorName)));
    m_anchorText->setText(fromCp1252(textAt(f, AnchorText)));
    setFlag(m_anchorCB, textAt(f, AnchorFollowOn));
}

std::vector<std::string> AnchorPage::fields() const
{
    return { toCp1252(m_anchorEdit->text()), toCp1252(m_anchorText->text()), flag(m_anchorCB) };
}

} // namespace stv::pages
