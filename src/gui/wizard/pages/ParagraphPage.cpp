#include "gui/wizard/pages/ParagraphPage.h"

#include "core/text/TextTools.h"
#include "gui/desktop/Contrast.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LaunchBox.h"
#include "gui/dialogs/LongTextEdit.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace stv::pages
{

ParagraphPage::ParagraphPage(QWidget *parent)
    : SectionPage(Kind, QStringLiteral("Create a paragraph.."), parent)
{
    QVBoxLayout *layout = pageLayout();

    auto *top = new QHBoxLayout;
    m_paraMemo = new LongTextEdit(this);
    m_paraMemo->setObjectName(QStringLiteral("ParaMemo"));
    m_paraMemo->setAccessibleName(QStringLiteral("Paragraph text"));
    m_paraMemo->setTabChangesFocus(true); // Tab moves on to the next control
    m_paraMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_paraMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    top->addWidget(m_paraMemo, 1);

    auto *tools = new QVBoxLayout;
    auto *options = pictureButton(QStringLiteral("TextOptionsImg"), QStringLiteral("Text Options"),
        QStringLiteral(":/icons/buttons/options.png"), this);
    auto *zoom = pictureButton(QStringLiteral("ZoomImg"), QStringLiteral("Zoom In"),
        QStringLiteral(":/icons/buttons/zoom.png"), this);
    tools->addWidget(options);
    tools->addWidget(zoom);
    tools->addStretch(1);
    top->addLayout(tools);
    layout->addLayout(top, 1);

    m_paraHint = new QLabel(QStringLiteral("Click Next or Back when done."), this);
    m_paraHint->setObjectName(QStringLiteral("ParaHintLabel"));
    QFont hintFont = m_paraHint->font();
    hintFont.setBold(true);
    m_paraHint->setFont(hintFont);
    layout->addWidget(m_paraHint);

    auto *bottom = new QHBoxLayout;
    m_followCB
        = check(QStringLiteral("FollowCB"), QStringLiteral("F&ollow on from previous"), this);
    bottom->addWidget(m_followCB);
    bottom->addSpacing(16);
    auto *linkCaption = new QLabel(QStringLiteral("Link:"), this);
    bottom->addWidget(linkCaption);
    m_linkLabel = new QLabel(this);
    m_linkLabel->setObjectName(QStringLiteral("LinkLabel"));
    m_linkLabel->setTextFormat(Qt::PlainText);
    linkCaption->setBuddy(m_linkLabel);
    // The link opens with a click, or with Enter or Space once Tab has reached it.
    m_linkLabel->setFocusPolicy(Qt::StrongFocus);
    m_linkLabel->setAccessibleName(QStringLiteral("Link"));
    m_linkLabel->setAccessibleDescription(QStringLiteral("Opens the paragraph's link"));
    const QPalette &pal = m_linkLabel->palette();
    m_linkLabel->setStyleSheet(
        QStringLiteral("QLabel { color: %1; text-decoration: underline; }"
                       "QLabel:focus { border: 1px dotted palette(window-text); }")
            .arg(readableOn(isDarkPalette(pal) ? pal.color(QPalette::Link) : QColor(Qt::darkBlue),
                pal.color(QPalette::Window))
                     .name()));
    m_linkLabel->setCursor(Qt::PointingHandCursor);
    m_linkLabel->installEventFilter(this);
    bottom->addWidget(m_linkLabel, 1);
    layout->addLayout(bottom);

    // The text-options popup.
    m_paraPop = new QMenu(this);
    m_paraPop->setObjectName(QStringLiteral("ParaPop"));
    QMenu *sizeMenu = m_paraPop->addMenu(QStringLiteral("&Size"));
    m_paraSize = new QActionGroup(this);
    const char *const sizeCaptions[]
        = { "&Tiny", "&Small", "&Normal", "&Big", "&Very Big", "&Huge", "&Massive" };
    for (int i = 0; i < 7; ++i) {
        QAction *a = sizeMenu->addAction(QString::fromUtf8(sizeCaptions[i]));
        a->setObjectName(QStringLiteral("ParaSize%1").arg(i));
        a->setCheckable(true);
        a->setData(i);
        m_paraSize->addAction(a);
    }
    m_paraSize->actions()[2]->setChecked(true);
    QMenu *styleMenu = m_paraPop->addMenu(QStringLiteral("S&tyle"));
    const char *const styleCaptions[] = { "&Bold", "&Italic", "&Underline", "&Strikeout" };
    const char *const styleNames[] = { "ParaBold", "ParaItalic", "ParaUnderline", "ParaStrikeout" };
    for (int i = 0; i < 4; ++i) {
        QAction *a = styleMenu->addAction(QString::fromUtf8(styleCaptions[i]));
        a->setObjectName(QString::fromUtf8(styleNames[i]));
        a->setCheckable(true);
        m_paraStyle[static_cast<std::size_t>(i)] = a;
        connect(a, &QAction::triggered, this, &ParagraphPage::memoPreview);
    }
    QMenu *alignMenu = m_paraPop->addMenu(QStringLiteral("&Allignment"));
    m_paraAlign = new QActionGroup(this);
    const char *const alignCaptions[] = { "&Left", "&Centre", "&Right" };
    for (int i = 0; i < 3; ++i) {
        QAction *a = alignMenu->addAction(QString::fromUtf8(alignCaptions[i]));
        a->setObjectName(QStringLiteral("ParaAlign%1").arg(i));
        a->setCheckable(true);
        a->setData(i);
        m_paraAlign->addAction(a);
    }
    m_paraAlign->actions()[0]->setChecked(true);
    connect(m_paraSize, &QActionGroup::triggered, this, &ParagraphPage::memoPreview);
    connect(m_paraAlign, &QActionGroup::triggered, this, &ParagraphPage::memoPreview);
    QAction *colour = m_paraPop->addAction(QStringLiteral("&Colour"));
    colour->setObjectName(QStringLiteral("ParaColourItem"));
    m_paraPop->addSeparator();
    QMenu *linkMenu = m_paraPop->addMenu(QStringLiteral("&Link"));
    QAction *url = linkMenu->addAction(QStringLiteral("&URL Link"));
    url->setObjectName(QStringLiteral("URLLink"));
    QAction *email = linkMenu->addAction(QStringLiteral("&email Link"));
    email->setObjectName(QStringLiteral("EmailLink"));
    linkMenu->addSeparator();
    QAction *anchor = linkMenu->addAction(QStringLiteral("&Anchor"));
    anchor->setObjectName(QStringLiteral("AnchorLink"));

    connect(colour, &QAction::triggered, this, &ParagraphPage::pickParaColour);
    connect(url, &QAction::triggered, this, &ParagraphPage::urlLinkClick);
    connect(email, &QAction::triggered, this, &ParagraphPage::emailLinkClick);
    connect(anchor, &QAction::triggered, this, &ParagraphPage::anchorLinkClick);
    connect(options, &QToolButton::clicked, this, &ParagraphPage::showTextOptions);
    connect(zoom, &QToolButton::clicked, this, &ParagraphPage::zoomParagraph);
}

void ParagraphPage::showFields(const std::vector<std::string> &f)
{
    using namespace field;
    m_paraMemo->setText(memoText(textAt(f, ParaText)));
    // A size or alignment out of range keeps the tick the menu had.
    const int size = numberAt(f, ParaSize);
    if (size >= 0 && size < 7)
        m_paraSize->actions()[size]->setChecked(true);
    for (int i = 0; i < 4; ++i)
        m_paraStyle[static_cast<std::size_t>(i)]->setChecked(flagValue(textAt(f, ParaBold + i)));
    const int align = numberAt(f, ParaAlign);
    if (align >= 0 && align < 3)
        m_paraAlign->actions()[align]->setChecked(true);
    m_paraColour = numberAt(f, ParaColour);
    m_paraHint->setStyleSheet(QStringLiteral("color: %1;").arg(toQColor(m_paraColour).name()));
    setFlag(m_followCB, textAt(f, ParaFollowOn));
    m_linkLabel->setText(fromCp1252(textAt(f, ParaLink)));
    memoPreview();
}

std::vector<std::string> ParagraphPage::fields() const
{
    const QAction *size = m_paraSize->checkedAction();
    const QAction *align = m_paraAlign->checkedAction();
    std::vector<std::string> out { memoField(m_paraMemo->text()),
        intText(size ? size->data().toInt() : -1) };
    for (const QAction *a : m_paraStyle)
        out.push_back(flag(a));
    out.push_back(intText(align ? align->data().toInt() : -1));
    out.push_back(intText(m_paraColour));
    out.push_back(flag(m_followCB));
    out.push_back(toCp1252(m_linkLabel->text()));
    return out;
}

void ParagraphPage::showTextOptions()
{
    m_paraPop->popup(QCursor::pos());
}

void ParagraphPage::memoPreview()
{
    QFont f = m_paraMemo->font();
    f.setItalic(m_paraStyle[1]->isChecked());
    f.setBold(m_paraStyle[0]->isChecked());
    f.setUnderline(m_paraStyle[2]->isChecked());
    f.setStrikeOut(m_paraStyle[3]->isChecked());
    m_paraMemo->setFont(f);
    const QList<QAction *> align = m_paraAlign->actions();
    Qt::Alignment a;
    if (align[0]->isChecked())
        a = Qt::AlignLeft;
    else if (align[1]->isChecked())
        a = Qt::AlignHCenter;
    else if (align[2]->isChecked())
        a = Qt::AlignRight;
    else
        return;
    QTextOption option = m_paraMemo->document()->defaultTextOption();
    option.setAlignment(a);
    m_paraMemo->document()->setDefaultTextOption(option);
}

void ParagraphPage::pickParaColour()
{
    if (const std::optional<QColor> c = Dialogs::askColour(window(), toQColor(m_paraColour))) {
        m_paraColour = fromQColor(*c);
        m_paraHint->setStyleSheet(QStringLiteral("color: %1;").arg(c->name()));
    }
}

void ParagraphPage::urlLinkClick()
{
    const std::optional<QString> link = Dialogs::askLine(window(),
        QStringLiteral("Create a URL Link for this text.."),
        QStringLiteral("Specify a URL/Internet address that can be accessed\nwhen the user of your "
                       "web page clicks on the text.\n\nExample: Enter https://www.example.com/"),
        m_linkLabel->text());
    if (link)
        m_linkLabel->setText(*link);
}

void ParagraphPage::emailLinkClick()
{
    std::string bare = toCp1252(m_linkLabel->text());
    replaceAll("mailto:", "", bare);
    const std::optional<QString> address = Dialogs::askLine(window(),
        QStringLiteral("Create an email Link for this text.."),
        QStringLiteral("Specify the email address that can be accessed\nwhen the user of your web "
                       "page clicks on the text.\n\nExample: Enter someone@example.com"),
        fromCp1252(bare));
    if (address)
        m_linkLabel->setText(QStringLiteral("mailto:") + *address);
}

void ParagraphPage::anchorLinkClick()
{
    QString bare = m_linkLabel->text();
    bare.remove(QLatin1Char('#'));
    const std::optional<QString> anchor = Dialogs::askLine(window(),
        QStringLiteral("Create an Anchor Link for this text.."),
        QStringLiteral("Specify the anchor point on this page that you want to jump to\nwhen the "
                       "user of your web page clicks on the text.\n\nExample: Enter TopOfPage"),
        bare);
    if (anchor)
        m_linkLabel->setText(QStringLiteral("#") + *anchor);
}

void ParagraphPage::zoomParagraph()
{
    const Qt::Alignment align = m_paraMemo->document()->defaultTextOption().alignment();
    m_paraMemo->setText(Dialogs::zoomEdit(
        window(), QStringLiteral("Paragraph.."), m_paraMemo->text(), align, m_paraMemo->font()));
}

bool ParagraphPage::eventFilter(QObject *watched, QEvent *event)
{
    const bool keyOpens = event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return
            || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter
            || static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space);
    if (watched == m_linkLabel && (event->type() == QEvent::MouseButtonRelease || keyOpens)) {
        // The desktop opens a web address, a "mailto:" address or a file.
        if (!m_linkLabel->text().isEmpty())
            launchOrSay(window(), m_linkLabel->text());
        return true;
    }
    return SectionPage::eventFilter(watched, event);
}

} // namespace stv::pages
