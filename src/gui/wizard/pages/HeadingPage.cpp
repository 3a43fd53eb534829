#include "gui/wizard/pages/HeadingPage.h"

#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace stv::pages
{

HeadingPage::HeadingPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Create a heading for your web page.."), parent)
{
    QVBoxLayout *layout = pageLayout();
    layout->addWidget(new QLabel(QStringLiteral("Heading text:"), this));
    m_headingEdit = lineEdit(QStringLiteral("HeadingEdit"), this);
    layout->addWidget(m_headingEdit);

    QStringList sizes;
    for (const char *item : SizeItems)
        sizes << QString::fromUtf8(item);
    auto *grid = new QGridLayout;
    grid->addWidget(radioGroup(QStringLiteral("HeadSizeRG"), QStringLiteral("Heading Size"), sizes,
                        2, m_headSize, 2, this),
        0, 0, 2, 1);

    auto *styleBox = new QGroupBox(QStringLiteral("Heading Style"), this);
    auto *styleGrid = new QGridLayout(styleBox);
    const char *const names[] = { "BoldCheck", "ItalicCheck", "UnderlineCheck", "StrikeOutCheck" };
    const char *const captions[] = { "Bold", "Italic", "Underlined", "StrikeOut" };
    for (int i = 0; i < 4; ++i) {
        m_headStyle[static_cast<std::size_t>(i)]
            = check(QString::fromUtf8(names[i]), QString::fromUtf8(captions[i]), styleBox);
        styleGrid->addWidget(m_headStyle[static_cast<std::size_t>(i)], i % 2, i / 2);
    }
    grid->addWidget(styleBox, 0, 1);

    grid->addWidget(
        radioGroup(QStringLiteral("AllignRG"), QStringLiteral("Allignment"),
            { QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right") }, 3,
            m_headAlign, 0, this),
        1, 1);

    grid->addWidget(
        colourGroup(QStringLiteral("Panel2"), QStringLiteral("ColorImg"), m_headColour, this), 2, 0,
        1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
}

void HeadingPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    m_headingEdit->setText(fromCp1252(textAt(f, HeadingText)));
    setIndex(m_headSize, numberAt(f, HeadingSize));
    for (int i = 0; i < 4; ++i)
        setFlag(m_headStyle[static_cast<std::size_t>(i)], textAt(f, HeadingBold + i));
    setIndex(m_headAlign, numberAt(f, HeadingAlign));
    setSwatch(m_headColour, numberAt(f, HeadingColour));
}

std::vector<std::string> HeadingPage::fields() const
{
    std::vector<std::string> out { toCp1252(m_headingEdit->text()),
        intText(m_headSize->checkedId()) };
    for (const QCheckBox *c : m_headStyle)
        out.push_back(flag(c));
    out.push_back(intText(m_headAlign->checkedId()));
    out.push_back(intText(swatchColour(m_headColour)));
    return out;
}

} // namespace stv::pages
