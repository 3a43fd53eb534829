#include "gui/wizard/pages/TitleBarPage.h"

#include "core/project/Project.h"
#include "gui/desktop/Encoding.h"
#include "gui/wizard/pages/PageWidgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace stv::pages
{

TitleBarPage::TitleBarPage(Project &project, QWidget *parent)
    : WizardPage(QStringLiteral("Titlebar"), QStringLiteral("Give your web page a title."), parent)
    , m_project(project)
{
    QVBoxLayout *layout = pageLayout();
    layout->addWidget(note(QStringLiteral("The title is shown in the title bar of the browser "
                                          "window and in bookmarks. Keep it short and telling."),
        this));
    layout->addSpacing(10);
    layout->addWidget(new QLabel(QStringLiteral("Page title:"), this));
    m_titleEdit = lineEdit(QStringLiteral("TitleEdit"), this);
    layout->addWidget(m_titleEdit);
    layout->addStretch(1);
    connect(m_titleEdit, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_project.pageTitle = toCp1252(text); });
}

void TitleBarPage::load()
{
    const QSignalBlocker title(m_titleEdit);
    m_titleEdit->setText(fromCp1252(m_project.pageTitle));
}

} // namespace stv::pages
