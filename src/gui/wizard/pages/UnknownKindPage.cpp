#include "gui/wizard/pages/UnknownKindPage.h"

#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QLabel>
#include <QVBoxLayout>

namespace stv::pages
{

UnknownKindPage::UnknownKindPage(QWidget *parent)
    : WizardPage(QStringLiteral("UnknownKind"),
        QStringLiteral("This section cannot be edited here."), parent)
{
    m_unknownText = note(QString(), this);
    m_unknownText->setObjectName(QStringLiteral("UnknownKindText"));
    pageLayout()->addWidget(m_unknownText);
    pageLayout()->addStretch(1);
}

void UnknownKindPage::showKind(const std::string &kind)
{
    m_unknownText->setText(
        QStringLiteral("This section is of the kind \"%1\", which Sitorva cannot edit. It "
                       "stays in the project exactly as it is.")
            .arg(fromCp1252(kind)));
}

} // namespace stv::pages
