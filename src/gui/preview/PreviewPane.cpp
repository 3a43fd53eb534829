#include "gui/preview/PreviewPane.h"

#include "core/settings/ProgramModule.h"
#include "gui/dialogs/LaunchBox.h"
#include "gui/preview/PreviewView.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include <unistd.h>

namespace stv
{

namespace
{

struct WidthButton {
    const char *name;
    const char *caption;
    const char *tip;
};
constexpr std::array<WidthButton, PreviewPane::LayoutWidths.size()> WidthButtons { {
    { "PhoneWidth", "Phone", "The page laid out 390 pixels wide, as on a phone" },
    { "TabletWidth", "Tablet", "The page laid out 768 pixels wide, as on a tablet" },
    { "DesktopWidth", "Desktop", "The page laid out 1,280 pixels wide, as on a desktop" },
} };

} // namespace

PreviewPane::PreviewPane(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
    , m_widths(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("PreviewPane"));
    // WebEngine scales down to a quarter: the desktop's 1,280 pixels still fit.
    setMinimumWidth(320);
    m_layout->setContentsMargins(0, 4, 0, 0);
    m_layout->setSpacing(4);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(6, 0, 6, 0);
    row->addStretch(1);
    for (std::size_t i = 0; i < LayoutWidths.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(WidthButtons[i].name));
        button->setText(QString::fromLatin1(WidthButtons[i].caption));
        button->setToolTip(QString::fromLatin1(WidthButtons[i].tip));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        m_widths->addButton(button, LayoutWidths[i]);
        row->addWidget(button);
    }
    row->addStretch(1);
    m_layout->addLayout(row);
    m_widths->button(m_layoutWidth)->setChecked(true);
    connect(m_widths, &QButtonGroup::idClicked, this, [this](int width) {
        setLayoutWidth(width);
        emit layoutWidthChosen(width);
    });
}

namespace
{

// Chromium ends the whole program when it is started as root with its sandbox on; the pane
// says so instead.
Result<void *> previewEntry()
{
    const bool sandboxOff = qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") != 0
        || qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS")
               .contains(QLatin1String("--no-sandbox"));
    if (::geteuid() == 0 && !sandboxOff)
        return fail("the web engine does not run for the root user with its sandbox on");
    return programModuleEntry(PreviewModuleName, PreviewEntryName);
}

} // namespace

PreviewView *PreviewPane::view()
{
    if (m_loadTried)
        return m_view;
    m_loadTried = true;
    const Result<void *> entry = previewEntry();
    if (!entry) {
        m_problem = new QLabel(QStringLiteral("The preview cannot be shown: %1.")
                                   .arg(QString::fromStdString(entry.error())),
            this);
        m_problem->setObjectName(QStringLiteral("PreviewProblem"));
        m_problem->setWordWrap(true);
        m_problem->setAlignment(Qt::AlignCenter);
        m_problem->setMargin(12);
        m_layout->addWidget(m_problem, 1);
        return nullptr;
    }
    m_view = reinterpret_cast<SitorvaPreviewEntry>(entry.value())(this);
    m_view->linkClicked = [this](const QString &target) { launchOrSay(window(), target); };
    m_view->setLayoutWidth(m_layoutWidth);
    m_layout->addWidget(m_view->widget(), 1);
    return m_view;
}

void PreviewPane::setLayoutWidth(int width)
{
    if (std::find(LayoutWidths.begin(), LayoutWidths.end(), width) == LayoutWidths.end())
        width = LayoutWidths[0];
    m_layoutWidth = width;
    m_widths->button(width)->setChecked(true);
    if (m_view != nullptr)
        m_view->setLayoutWidth(width);
}

} // namespace stv
