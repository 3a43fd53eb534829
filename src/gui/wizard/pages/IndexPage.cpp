#include "gui/wizard/pages/IndexPage.h"

#include "core/text/TextTools.h"
#include "gui/wizard/pages/PageWidgets.h"

#include "gui/dialogs/LongTextEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace stv::pages
{

IndexPage::IndexPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Insert a line index here."), parent)
{
    QVBoxLayout *layout = pageLayout();
    layout->addWidget(
        note(QStringLiteral("Type a text to show on one line and the link it leads "
                            "to on the next, as many pairs as you like. Start an "
                            "e-mail link with \"mailto:\" and an anchor link with \"#\"."),
            this));
    auto *row = new QHBoxLayout;
    m_indexMemo = new LongTextEdit(this);
    m_indexMemo->setObjectName(QStringLiteral("IndexMemo"));
    m_indexMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_indexMemo->setAccessibleName(QStringLiteral("Index lines"));
    m_indexMemo->setTabChangesFocus(true); // Tab moves on to the next control
    m_indexMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_indexMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    row->addWidget(m_indexMemo, 1);

    auto *side = new QVBoxLayout;
    auto *sizeBox = new QGroupBox(QStringLiteral("Size && Align"), this);
    auto *sizeLayout = new QVBoxLayout(sizeBox);
    m_indexSize = sizeCombo(QStringLiteral("IndexSizeCB"), sizeBox);
    m_indexSize->setToolTip(QStringLiteral("Font Size"));
    m_indexAlign = new QComboBox(sizeBox);
    m_indexAlign->setObjectName(QStringLiteral("IndexAlignCB"));
    m_indexAlign->setToolTip(QStringLiteral("Font Alignment"));
    m_indexAlign->addItems(
        { QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right") });
    sizeLayout->addWidget(m_indexSize);
    sizeLayout->addWidget(m_indexAlign);
    side->addWidget(sizeBox);
    auto *styleBox = new QGroupBox(QStringLiteral("Font Style"), this);
    auto *styleLayout = new QVBoxLayout(styleBox);
    const char *const names[]
        = { "IndexBoldCB", "IndexItalicCB", "IndexUnderlinedCB", "IndexStrikeoutCB" };
    const char *const captions[] = { "Bold", "Italic", "Underlined", "Strikeout" };
    for (int i = 0; i < 4; ++i) {
        m_indexStyle[static_cast<std::size_t>(i)]
            = check(QString::fromUtf8(names[i]), QString::fromUtf8(captions[i]), styleBox);
        styleLayout->addWidget(m_indexStyle[static_cast<std::size_t>(i)]);
    }
    side->addWidget(styleBox);
    side->addStretch(1);
    row->addLayout(side);
    layout->addLayout(row, 1);
    m_indexFollow
        = check(QStringLiteral("IndexFollowCB"), QStringLiteral("F&ollow on from previous"), this);
    layout->addWidget(m_indexFollow);
}

void IndexPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    m_indexMemo->setText(memoText(textAt(f, IndexLines)));
    setIndex(m_indexSize, numberAt(f, IndexSize));
    for (int i = 0; i < 4; ++i)
        setFlag(m_indexStyle[static_cast<std::size_t>(i)], textAt(f, IndexBold + i));
    setIndex(m_indexAlign, numberAt(f, IndexAlign));
    setFlag(m_indexFollow, textAt(f, IndexFollowOn));
}

std::vector<std::string> IndexPage::fields() const
{
    std::vector<std::string> out { memoField(m_indexMemo->text()),
        intText(m_indexSize->currentIndex()) };
    for (const QCheckBox *c : m_indexStyle)
        out.push_back(flag(c));
    out.push_back(intText(m_indexAlign->currentIndex()));
    out.push_back(flag(m_indexFollow));
    return out;
}

} // namespace stv::pages
