#include "gui/wizard/pages/IntroductionPage.h"

#include <QTextEdit>
#include <QVBoxLayout>

namespace stv::pages
{

IntroductionPage::IntroductionPage(QWidget *parent)
    : WizardPage(QStringLiteral("Introduction"),
        QStringLiteral("Create Impressive Web Pages In Minutes"), parent)
{
    auto *text = new QTextEdit(this);
    text->setObjectName(QStringLiteral("IntroMemo"));
    text->setReadOnly(true);
    text->setAccessibleName(QStringLiteral("Introduction"));
    text->setTabChangesFocus(true);
    text->setHtml(QStringLiteral(
        "<p><b>Welcome to Sitorva 98.</b></p>"
        "<p>Sitorva builds a web page for you one section at a time, without you writing a "
        "single tag. Press <b>Next</b> to give the page a title and a background, then choose "
        "what comes next: a heading, a paragraph, an image, a divider, an anchor, a list, a line "
        "index, some HTML of your own or a sound.</p>"
        "<p>Each section has its own page here. <b>Back</b> and <b>Next</b> walk through the "
        "sections; the Section Manager shows them all and lets you jump, cut, copy and paste.</p>"
        "<p>When you are done, <b>View Your Creation</b> shows the page in your browser and "
        "<b>Create Your Web Page</b> writes it where you choose, with its pictures and sounds "
        "beside it. Save your project to come back to it later.</p>"));
    pageLayout()->addWidget(text);
}

} // namespace stv::pages
