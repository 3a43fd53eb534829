#include "StartupDecision.h"

#include "MultiSelectUnit.h"
#include "model/Config.h"
#include "model/DecideUnit.h"
#include "model/Project.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"
#include "platform/ProgramFolder.h"

#include <QListWidget>
#include <QPushButton>

namespace stv
{

bool ShouldShowDecisionBox(bool recentEmpty, int decisionItem, bool fromMenu)
{
    return fromMenu || (!recentEmpty && decisionItem != DontShowAgain);
}

void RunStartupDecision(DecisionHost &host, bool fromMenu)
{
    bool &pending = host.decisionPending();
    if (!pending)
        return;
    pending = false;

    TDecide &box = host.decisionBox();
    if (!ShouldShowDecisionBox(host.recentProjectList().empty(), box.itemIndex(), fromMenu))
        return;
    if (box.exec() != QDialog::Accepted)
        return;

    switch (box.itemIndex()) {
    case OpenLastProject: {
        const std::vector<std::string> &recent = host.recentProjectList();
        if (recent.empty()) {
            Dialogs::info(host.dialogParent(), QString::fromLatin1(NoPreviousProjectText));
            return;
        }
        host.loadProjectFromPath(PathFromBytes(RecentEntryPath(recent.front())));
        return;
    }
    case OpenExistingProject:
        OpenPrevious(host);
        return;
    default: // a new project, or not to be asked again: nothing more
        return;
    }
}

void ShowDecisionBox(DecisionHost &host)
{
    host.decisionPending() = true;
    RunStartupDecision(host, true);
}

Configuration LoadConfigurationIntoWindows(
    QWidget *parent, const ConfiguredWindows &windows, FavouriteLists &lists)
{
    Configuration config;
    const ConfigLoadResult r = LoadConfiguration(ProgramFolder().toStdString(), config, lists);
    if (!r.error.empty())
        Dialogs::error(parent, QString::fromStdString(r.error));
    ApplyConfiguration(config, windows);
    return config;
}

bool SaveConfigurationFromWindows(QWidget *parent, const ConfiguredWindows &windows,
    const PageOptions &options, const FavouriteLists &lists)
{
    const ConfigSaveResult r = SaveConfiguration(
        ProgramFolder().toStdString(), CollectConfiguration(windows, options), lists);
    if (!r.ok)
        Dialogs::error(parent, QString::fromStdString(r.error));
    return r.ok;
}

void OpenPrevious(DecisionHost &host)
{
    TMultiSelect &picker = host.multiSelect();
    picker.setWindowTitle(QStringLiteral("Load A Previous Web Project.."));
    picker.selectedButton()->setText(QStringLiteral("&Open"));
    picker.allButton()->hide();
    picker.setSingleSelection(true);

    // Taken now: the list must not change under the picker while it is open.
    const std::vector<std::string> recent = host.recentProjectList();
    QStringList lines;
    for (const std::string &entry : recent)
        lines << FromCp1252(RecentEntryLine(entry));
    picker.setItems(lines);

    if (picker.exec() != QDialog::Accepted)
        return;
    const std::vector<int> rows = picker.selectedRows();
    const int row = rows.empty() ? picker.list()->currentRow() : rows.front();
    if (row < 0 || static_cast<std::size_t>(row) >= recent.size())
        return;
    host.loadProjectFromPath(PathFromBytes(RecentEntryPath(recent[static_cast<std::size_t>(row)])));
}

} // namespace stv
