// The main window's project commands: new, load and save, the save-changes question, the
// window caption, and the configuration read at the start and written as the program ends.
#include "gui/wizard/WizardWindow.h"

#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/FileDialogs.h"
#include "gui/lists/ColourListWindow.h"
#include "gui/lists/ImageListWindow.h"
#include "gui/lists/LinkListWindow.h"
#include "gui/wizard/Autosave.h"
#include "gui/wizard/PasswordKeeping.h"

#include <QCloseEvent>
#include <QFileInfo>

namespace stv
{

namespace
{

const char *const ProjectFilter = "Sitorva File (*.stv)|*.stv";

} // namespace

bool WizardWindow::askSaveChanges()
{
    storeCurrentPage();
    if (!projectChanged())
        return true;
    switch (Dialogs::confirm(this,
        QStringLiteral("Current Project Has Been Changed!\n\nSave It Now?"), Buttons::YesNoAbort)) {
    case Answer::Yes:
        saveProjectToPath(m_projectFileName);
        return !projectChanged();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void WizardWindow::saveProjectToPath(const QString &path)
{
    storeCurrentPage();
    if (path.isEmpty()) {
        saveProjectAs();
        return;
    }
    const Result<> saved
        = saveProjectFile(path.toStdString(), projectForFile(this, m_project, path));
    if (!saved) {
        Dialogs::error(this, QString::fromStdString(saved.error()));
        return;
    }
    setProjectFileName(path);
    m_savedProject = m_project;
    m_recovered = false;
    m_autosave->removeRecoveryFile();
    addRecentProject(m_recentProjects, pathToBytes(path));
    const Result<> recent = writeLinesFile(
        (programFolder() + QString::fromLatin1(RecentFileName)).toStdString(), m_recentProjects);
    if (!recent)
        Dialogs::error(this, QString::fromStdString(recent.error()));
}

void WizardWindow::saveProject()
{
    saveProjectToPath(m_projectFileName);
}

void WizardWindow::saveProjectAs()
{
    const QString path = Dialogs::askSaveFile(this, QStringLiteral("Save This Project As.."),
        m_projectFileName, QStringLiteral("STV"), QString::fromUtf8(ProjectFilter));
    if (!path.isEmpty())
        saveProjectToPath(path);
}

void WizardWindow::openProject()
{
    m_pendingProjectFile.clear();
    loadProject();
}

bool WizardWindow::loadProjectFromPath(const QString &path)
{
    m_pendingProjectFile = path;
    return loadProject();
}

bool WizardWindow::loadProject()
{
    const bool go = askSaveChanges();
    QString path = m_pendingProjectFile;
    m_pendingProjectFile.clear();
    if (!go)
        return false;
    if (path.isEmpty())
        path = Dialogs::askOpenFile(this, QStringLiteral("Load a Sitorva Project File.."),
            m_projectFileName, QStringLiteral("STV"), QString::fromUtf8(ProjectFilter));
    if (path.isEmpty())
        return false;
    // A path given on the command line is the working folder's: the project is known by its
    // full path, which its relative files, the dialogs and the remembered page go by.
    path = QFileInfo(path).absoluteFilePath();
    Project loaded;
    if (const Result<> read = loadProjectFile(path.toStdString(), loaded); !read) {
        Dialogs::error(this, QString::fromStdString(read.error()));
        return false;
    }
    completeLoadedProject(loaded, path);
    m_project = std::move(loaded);
    m_savedProject = m_project;
    projectReplaced();
    showOpenedProject(path);
    return true;
}

void WizardWindow::showOpenedProject(const QString &path)
{
    showProjectValues();
    m_currentSection = IntroductionPosition;
    showCurrentSection();
    setProjectFileName(path);
    refreshSectionManager();
}

void WizardWindow::newProject()
{
    if (!askSaveChanges())
        return;
    m_project.sections.clear();
    m_currentSection = IntroductionPosition;
    showCurrentSection();
    refreshSectionManager();
    setProjectFileName(QString());
    m_project.pageFileName.clear();
    m_savedProject = m_project;
    projectReplaced();
}

void WizardWindow::openPrevious()
{
    stv::openPrevious(*this);
}

void WizardWindow::runStartupDecision(bool fromMenu)
{
    if (fromMenu)
        showDecisionBox(*this);
    else
        stv::runStartupDecision(*this, false);
}

void WizardWindow::setProjectFileName(const QString &path)
{
    m_projectFileName = path;
    // File dialogs start in the project's folder.
    FileDialogs::setProjectFile(path);
    setCaption();
}

void WizardWindow::setCaption()
{
    setWindowTitle(pathFromBytes(projectCaption(pathToBytes(m_projectFileName))));
}

void WizardWindow::loadConfiguration()
{
    const Configuration config
        = loadConfigurationIntoWindows(this, { this, m_sectionManagerWindow, m_decide }, m_lists);
    setPageOptions(config.pageOptions);
    m_colourForm->refresh();
    m_linkForm->refresh();
    m_imageForm->refresh();
    loadPreviewSettings();
}

void WizardWindow::saveConfiguration()
{
    saveConfigurationFromWindows(
        this, { this, m_sectionManagerWindow, m_decide }, m_pageOptions, m_lists);
}

void WizardWindow::saveListFile(FavouriteListWindow *form, const char *listFile)
{
    const Result<> saved
        = saveFavouriteList(programFolder().toStdString(), listFile, form->entries(),
            collectConfiguration({ this, m_sectionManagerWindow, m_decide }, m_pageOptions));
    if (!saved)
        Dialogs::error(form, QString::fromStdString(saved.error()));
}

void WizardWindow::imageListChanged()
{
    m_imageForm->refresh();
    saveListFile(m_imageForm, ImageListFile);
}

void WizardWindow::closeEvent(QCloseEvent *event)
{
    if (!askSaveChanges()) {
        event->ignore();
        return;
    }
    saveConfiguration();
    if (livePreviewShown())
        savePreviewSettings();
    m_autosave->removeRecoveryFile();
    event->accept();
    emit closed();
}

} // namespace stv
