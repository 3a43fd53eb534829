#include "gui/wizard/pages/HtmlPage.h"

#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LongTextEdit.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace stv::pages
{

HtmlPage::HtmlPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Insert some HTML code here."), parent)
{
    QVBoxLayout *layout = pageLayout();
    layout->addWidget(
        note(QStringLiteral("The code is copied into the page exactly as you type it."), this));
    auto *row = new QHBoxLayout;
    m_htmlMemo = new LongTextEdit(this);
    m_htmlMemo->setObjectName(QStringLiteral("HTMLMemo"));
    m_htmlMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_htmlMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_htmlMemo->setAccessibleName(QStringLiteral("HTML code"));
    m_htmlMemo->setTabChangesFocus(true); // Tab moves on to the next control
    m_htmlMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_htmlMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    row->addWidget(m_htmlMemo, 1);
    auto *tools = new QVBoxLayout;
    auto *zoom = pictureButton(QStringLiteral("HTMLZoomImg"), QStringLiteral("Zoom In"),
        QStringLiteral(":/icons/buttons/zoom.png"), this);
    tools->addWidget(zoom);
    tools->addStretch(1);
    row->addLayout(tools);
    layout->addLayout(row, 1);
    connect(zoom, &QToolButton::clicked, this, &HtmlPage::zoomHTML);
}

void HtmlPage::showFields(const std::vector<std::string> &f)
{
    m_htmlMemo->setText(memoText(textAt(f, field::HTMLCode)));
}

std::vector<std::string> HtmlPage::fields() const
{
    return { memoField(m_htmlMemo->text()) };
}

void HtmlPage::zoomHTML()
{
    m_htmlMemo->setText(Dialogs::zoomEdit(
        window(), QStringLiteral("HTML Editor.."), m_htmlMemo->text(), Qt::AlignLeft, QFont()));
}

} // namespace stv::pages
