#include "gui/wizard/pages/WizardPage.h"

#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QLabel>
#include <QVBoxLayout>

namespace stv::pages
{

WizardPage::WizardPage(const QString &name, const QString &heading, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (!heading.isEmpty()) {
        layout->addWidget(headingLabel(heading, this));
        layout->addSpacing(6);
    }
}

QWidget *WizardPage::firstField() const
{
    // The focus chain runs in the order the page made its controls, which is their order on
    // screen, top to bottom.
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this))
            return w;
    }
    return nullptr;
}

QVBoxLayout *WizardPage::pageLayout() const
{
    return qobject_cast<QVBoxLayout *>(layout());
}

SectionPage::SectionPage(KindPos kind, const QString &heading, QWidget *parent)
    : WizardPage(fromCp1252(sectionKind(kind).name), heading, parent)
    , m_kind(kind)
{
}

int SectionPage::numberAt(const std::vector<std::string> &fields, int index)
{
    return leadingInt(textAt(fields, index));
}

} // namespace stv::pages
