#pragma once
// The start-up decision (run by the main window's timer and by "Show &Decision Box") and
// "&Open Previous". Written against DecisionHost so that it runs without the main window.

#include "core/settings/FavouriteLists.h"
#include "gui/dialogs/WindowPlacement.h"

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace stv
{

class DecisionBox;
class SelectionDialog;

class DecisionHost
{
public:
    virtual ~DecisionHost() = default;
    virtual std::vector<std::string> &recentProjectList() = 0; // RecentProjects, newest first
    // DecisionPending: set at start, cleared by the first timer tick.
    virtual bool &decisionPending() = 0;
    // The load steps with PendingProjectFile set to a native path; false when abandoned or
    // failed.
    virtual bool loadProjectFromPath(const QString &path) = 0;
    virtual DecisionBox &decisionBox() = 0;
    virtual SelectionDialog &multiSelect() = 0;
    virtual QWidget *dialogParent() = 0; // parent of the message boxes
};

// Whether the box opens: always from the menu command, else only with recent projects and
// an item other than "Don`t show this window again".
bool shouldShowDecisionBox(bool recentEmpty, int decisionItem, bool fromMenu);

// Runs once per setting of DecisionPending; the timer calls it every tick.
void runStartupDecision(DecisionHost &host, bool fromMenu);
// "Show &Decision Box": sets DecisionPending and runs the decision from the menu.
void showDecisionBox(DecisionHost &host);
// "&Open Previous": pick one of the recent projects and load it.
void openPrevious(DecisionHost &host);

// Just before the main window is first shown: reads "Sitorva.config" and the list files of
// the program folder into the windows and lists (designed values when there is no
// configuration). A file that exists but cannot be read is reported in one error box.
// Returns what was read; its page options are for the caller to apply.
Configuration loadConfigurationIntoWindows(
    QWidget *parent, const ConfiguredWindows &windows, FavouriteLists &lists);
// When the main window closes: writes the configuration and the three list files. Every
// failure is reported in one error box; the program ends all the same. False on failure.
bool saveConfigurationFromWindows(QWidget *parent, const ConfiguredWindows &windows,
    const PageOptions &options, const FavouriteLists &lists);

// Shown when the newest project is asked for and there is none.
inline constexpr const char *NoPreviousProjectText
    = "There is no previous web page project to open.";

} // namespace stv
