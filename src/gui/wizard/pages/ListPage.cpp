#include "gui/wizard/pages/ListPage.h"

#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace stv::pages
{

ListPage::ListPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Insert a numbered or bulleted list here."), parent)
{
    QVBoxLayout *layout = pageLayout();
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    auto *textCaption = new QLabel(QStringLiteral("List Text"), this);
    auto *linkCaption = new QLabel(QStringLiteral("Optional Link"), this);
    grid->addWidget(textCaption, 0, 0);
    grid->addWidget(linkCaption, 0, 1);
    for (int i = 0; i < 14; ++i) {
        auto *edit = lineEdit(QStringLiteral("L%1").arg(i + 1), this);
        m_listEdits[static_cast<std::size_t>(i)] = edit;
        edit->setAccessibleName(QStringLiteral("%1 %2")
                                    .arg(i % 2 ? linkCaption->text() : textCaption->text())
                                    .arg(i / 2 + 1));
        grid->addWidget(edit, 1 + i / 2, i % 2);
    }
    layout->addLayout(grid);

    auto *below = new QHBoxLayout;
    below->addWidget(radioGroup(QStringLiteral("ListTypeRG"), QStringLiteral("List Type"),
        { QStringLiteral("Bulleted"), QStringLiteral("Numbered") }, 1, m_listType, 0, this));
    auto *sizeBox = new QGroupBox(QStringLiteral("Font Size"), this);
    auto *sizeLayout = new QVBoxLayout(sizeBox);
    m_listSize = sizeCombo(QStringLiteral("ListSizeCB"), sizeBox);
    sizeLayout->addWidget(m_listSize);
    below->addWidget(sizeBox);
    below->addWidget(colourGroup(
        QStringLiteral("ListColPanel"), QStringLiteral("ListColImg"), m_listColour, this));
    below->addStretch(1);
    layout->addLayout(below);
    layout->addStretch(1);
}

void ListPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    for (int i = 0; i < 14; ++i)
        m_listEdits[static_cast<std::size_t>(i)]->setText(fromCp1252(textAt(f, listText(1) + i)));
    setIndex(m_listType, numberAt(f, ListType));
    setIndex(m_listSize, numberAt(f, ListSize));
    setSwatch(m_listColour, numberAt(f, ListColour));
}

std::vector<std::string> ListPage::fields() const
{
    std::vector<std::string> out;
    for (const QLineEdit *e : m_listEdits)
        out.push_back(toCp1252(e->text()));
    out.push_back(intText(m_listType->checkedId()));
    out.push_back(intText(m_listSize->currentIndex()));
    out.push_back(intText(swatchColour(m_listColour)));
    return out;
}

} // namespace stv::pages
