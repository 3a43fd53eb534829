// The main window's side of the live preview: the pane beside the wizard, what the page is
// made of, and the pane's state in the settings file.
#include "gui/wizard/WizardWindow.h"

#include "core/page/PageGenerator.h"
#include "core/settings/Settings.h"
#include "core/text/Cp1252.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/preview/LivePreview.h"
#include "gui/preview/PreviewPane.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QSplitter>
#include <QTimer>

#include <algorithm>

namespace stv
{

QWidget *WizardWindow::buildPreview(QWidget *wizard)
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("PreviewSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(wizard);
    m_previewPane = new PreviewPane(m_splitter);
    m_splitter->addWidget(m_previewPane);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_previewPane->hide();
    m_livePreview = new LivePreview([this] { return previewSource(); }, this);
    connect(m_previewPane, &PreviewPane::layoutWidthChosen, this, [this] {
        if (livePreviewShown())
            savePreviewSettings();
    });
    return m_splitter;
}

bool WizardWindow::livePreviewShown() const
{
    return m_previewPane != nullptr && !m_previewPane->isHidden();
}

void WizardWindow::showLivePreview(bool on)
{
    m_previewAction->setChecked(on);
    if (on == livePreviewShown())
        return;
    // The window grows by the pane and shrinks again, unless it fills the screen.
    const bool resizable = !isMaximized() && !isFullScreen() && isVisible();
    if (on) {
        m_previewPane->show();
        if (resizable) {
            int total = width() + m_previewWidth;
            if (screen() != nullptr)
                total = std::min(total, screen()->availableGeometry().width());
            resize(total, height());
        }
        m_splitter->setSizes({ std::max(1, width() - m_previewWidth), m_previewWidth });
        // At start-up the window comes first, and WebEngine once it is on the screen.
        if (isVisible())
            m_livePreview->setView(m_previewPane->view());
        else
            QTimer::singleShot(0, this, [this] {
                if (livePreviewShown())
                    m_livePreview->setView(m_previewPane->view());
            });
    } else {
        m_previewWidth = m_previewPane->width();
        m_livePreview->setView(nullptr);
        m_previewPane->hide();
        if (resizable)
            resize(std::max(minimumSizeHint().width(), width() - m_previewWidth), height());
    }
    savePreviewSettings();
}

PreviewSource WizardWindow::previewSource() const
{
    PreviewSource source;
    source.project = m_project;
    const int count = static_cast<int>(m_project.sections.size());
    if (m_currentSection >= 0 && m_currentSection < count) {
        source.section = m_currentSection;
        // The page on show as typed so far, stored or not.
        if (std::optional<std::string> pending = pageRecord())
            source.project.sections[static_cast<std::size_t>(m_currentSection)]
                = std::move(*pending);
    }
    source.lists = m_lists;
    source.options = m_pageOptions;
    const std::string projectFile = pathToBytes(m_projectFileName);
    source.pageFile = nativePath(proposedPageName(projectFile, m_project.pageFileName));
    // Relative paths lead from the project's folder, as they do when the page is written.
    source.folder = QFile::encodeName(m_projectFileName.isEmpty()
            ? QDir::homePath()
            : QFileInfo(m_projectFileName).absolutePath())
                        .toStdString();
    return source;
}

void WizardWindow::loadPreviewSettings()
{
    const Result<Settings> settings = loadSettings(programFolder().toStdString());
    if (!settings)
        return;
    const Settings &values = settings.value();
    m_previewWidth = static_cast<int>(
        std::clamp(values.number(settingKey::PreviewPaneWidth, m_previewWidth), 320LL, 4000LL));
    m_previewPane->setLayoutWidth(static_cast<int>(
        values.number(settingKey::PreviewLayoutWidth, PreviewPane::LayoutWidths[0])));
    // The window's place and size, kept in the configuration, already hold the pane.
    if (values.value(settingKey::PreviewShown) == "1")
        showLivePreview(true);
}

void WizardWindow::savePreviewSettings()
{
    const std::string folder = programFolder().toStdString();
    Result<Settings> settings = loadSettings(folder);
    if (!settings) {
        Dialogs::error(this, QString::fromStdString(settings.error()));
        return;
    }
    const bool shown = livePreviewShown();
    settings.value().set(settingKey::PreviewShown, shown ? "1" : "0");
    settings.value().set(settingKey::PreviewPaneWidth,
        std::to_string(shown ? m_previewPane->width() : m_previewWidth));
    settings.value().set(
        settingKey::PreviewLayoutWidth, std::to_string(m_previewPane->layoutWidth()));
    if (const Result<> saved = saveSettings(folder, settings.value()); !saved)
        Dialogs::error(this, QString::fromStdString(saved.error()));
}

} // namespace stv
