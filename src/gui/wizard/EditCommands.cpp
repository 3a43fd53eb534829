// The main window's Edit commands: every change to the project is one step of the undo
// history, named for what it did ("Delete Paragraph"); Undo and Redo walk the steps.
#include "gui/wizard/WizardWindow.h"

#include "gui/desktop/Encoding.h"
#include "gui/wizard/Autosave.h"

#include <QAction>

#include <algorithm>

namespace stv
{

namespace
{

QString editCaption(const char *command, const std::string &label)
{
    QString caption = QString::fromLatin1(command);
    if (!label.empty())
        caption
            += QLatin1Char(' ') + fromCp1252(label).replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}

} // namespace

void WizardWindow::recordChange(const std::string &label)
{
    if (m_history.record(label, m_project))
        updateEditActions();
}

void WizardWindow::undoChange()
{
    // What was typed on the page is a step of its own, taken back first.
    storeEditedPage();
    if (const std::optional<int> position = m_history.undo(m_project))
        showHistoryStep(*position);
}

void WizardWindow::redoChange()
{
    storeEditedPage();
    if (const std::optional<int> position = m_history.redo(m_project))
        showHistoryStep(*position);
}

void WizardWindow::storeEditedPage()
{
    if (m_currentSection < 0 || pageRecord() != m_shownPage)
        storeCurrentPage();
}

void WizardWindow::showHistoryStep(int position)
{
    const int count = static_cast<int>(m_project.sections.size());
    // A step that touched sections shows the first of them; one of the header values leaves
    // the wizard where it was.
    m_currentSection = std::min(position >= 0 ? position : m_currentSection, count);
    showProjectValues();
    showCurrentSection();
    refreshSectionManager();
    selectManagerRow();
    updateEditActions();
}

void WizardWindow::updateEditActions()
{
    m_undoAction->setText(editCaption("&Undo", m_history.undoLabel()));
    m_undoAction->setEnabled(m_history.canUndo());
    m_redoAction->setText(editCaption("&Redo", m_history.redoLabel()));
    m_redoAction->setEnabled(m_history.canRedo());
}

void WizardWindow::projectReplaced()
{
    m_history.reset(m_project);
    m_recovered = false;
    m_autosave->removeRecoveryFile();
    updateEditActions();
}

} // namespace stv
