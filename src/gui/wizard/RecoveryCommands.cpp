// The main window's side of autosave and recovery: the state autosave writes, the start-up
// offer of work left by programs that ended without saving, and opening a recovered project.
#include "gui/wizard/WizardWindow.h"

#include "core/project/Recovery.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/RecoveryBox.h"
#include "gui/wizard/Autosave.h"
#include "gui/wizard/PasswordKeeping.h"

#include <QTimer>

#include <algorithm>

namespace stv
{

std::optional<Project> WizardWindow::autosaveSnapshot() const
{
    const std::optional<std::string> pending = pageRecord();
    const bool pageChanged = pending && pending != m_shownPage
        && *pending != m_project.sections[static_cast<std::size_t>(m_currentSection)];
    if (!pageChanged && !projectChanged())
        return std::nullopt;
    Project state = m_project;
    if (pageChanged)
        state.sections[static_cast<std::size_t>(m_currentSection)] = *pending;
    return state;
}

void WizardWindow::startupTick()
{
    if (m_recoveryPending) {
        m_recoveryPending = false;
        // No tick runs the start-up decision while the recovery box is open.
        m_timer->stop();
        const bool recovered = offerRecovery();
        m_timer->start();
        if (recovered)
            m_decisionPending = false;
    }
    stv::runStartupDecision(*this, false);
}

bool WizardWindow::offerRecovery()
{
    std::vector<std::string> damaged;
    std::vector<RecoveryEntry> entries = findLeftRecoveries(Autosave::recoveryFolder(), &damaged);
    if (!damaged.empty()) {
        QString text;
        for (const std::string &error : damaged)
            text += QString::fromStdString(error) + QLatin1Char('\n');
        Dialogs::error(this,
            text
                + QStringLiteral("\nA damaged recovery file is never loaded; it is kept aside "
                                 "with the ending \".damaged\"."));
    }
    RecoveryBox box(this);
    while (!entries.empty()) {
        box.setEntries(entries);
        box.exec();
        const std::size_t row
            = std::min(static_cast<std::size_t>(box.chosenRow()), entries.size() - 1);
        const RecoveryEntry entry = entries[row];
        if (box.choice() == RecoveryBox::Choice::Later)
            return false;
        if (box.choice() == RecoveryBox::Choice::Discard) {
            if (Dialogs::confirm(this,
                    QStringLiteral("Discard the unsaved work of %1?\n\nIt cannot be recovered "
                                   "afterwards.")
                        .arg(RecoveryBox::entryLine(entry)),
                    Buttons::YesNo)
                == Answer::Yes) {
                discardRecovery(entry);
                entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(row));
            }
            continue;
        }
        Project project;
        RecoveryEntry read;
        if (const Result<> readBack = readRecovery(entry.file, read, project); !readBack) {
            Dialogs::error(this, QString::fromStdString(readBack.error()));
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(row));
            continue;
        }
        if (!askSaveChanges())
            return false;
        // The left file becomes this program's recovery file; should that fail, it stays where
        // it is for the next start and autosave writes a file of its own.
        if (const Result<> adopted = m_autosave->adopt(entry); !adopted)
            Dialogs::error(this, QString::fromStdString(adopted.error()));
        if (!read.projectPath.empty())
            completeLoadedProject(project, pathFromBytes(read.projectPath));
        recoverProject(std::move(project), pathFromBytes(read.projectPath));
        return true;
    }
    return false;
}

void WizardWindow::recoverProject(Project project, const QString &path)
{
    m_project = std::move(project);
    m_savedProject = m_project;
    m_history.reset(m_project);
    m_recovered = true;
    updateEditActions();
    showOpenedProject(path);
}

} // namespace stv
