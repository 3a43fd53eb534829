#include "gui/wizard/StartupDecision.h"

#include "core/page/PageStyle.h"
#include "core/project/Project.h"
#include "core/settings/Config.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/SelectionDialog.h"

#include <QListWidget>
#include <QPushButton>

namespace stv
{

bool shouldShowDecisionBox(bool recentEmpty, int decisionItem, bool fromMenu)
{
    return fromMenu || (!recentEmpty && decisionItem != DontShowAgain);
}

void runStartupDecision(DecisionHost &host, bool fromMenu)
{
    bool &pending = host.decisionPending();
    if (!pending)
        return;
    pending = false;

    DecisionBox &box = host.decisionBox();
    if (!shouldShowDecisionBox(host.recentProjectList().empty(), box.itemIndex(), fromMenu))
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
        host.loadProjectFromPath(pathFromBytes(recentEntryPath(recent.front())));
        return;
    }
    case OpenExistingProject:
        openPrevious(host);
        return;
    default: // a new project, or not to be asked again: nothing more
        return;
    }
}

void showDecisionBox(DecisionHost &host)
{
    host.decisionPending() = true;
    runStartupDecision(host, true);
}

Configuration loadConfigurationIntoWindows(
    QWidget *parent, const ConfiguredWindows &windows, FavouriteLists &lists)
{
    Configuration config;
    const std::string folder = programFolder().toStdString();
    const Result<bool> loaded = loadConfiguration(folder, config, lists);
    if (!loaded)
        Dialogs::error(parent, QString::fromStdString(loaded.error()));
    // The page style and language live in the settings file; a first start chooses Modern.
    const Result<Settings> settings = settingsAtStartup(folder, loaded.valueOr(false));
    if (!settings) {
        Dialogs::error(parent, QString::fromStdString(settings.error()));
        (void)loadPageSettings(folder, config.pageOptions);
    } else {
        applyPageSettings(settings.value(), config.pageOptions);
    }
    applyConfiguration(config, windows);
    return config;
}

bool saveConfigurationFromWindows(QWidget *parent, const ConfiguredWindows &windows,
    const PageOptions &options, const FavouriteLists &lists)
{
    const Result<> saved = saveConfiguration(
        programFolder().toStdString(), collectConfiguration(windows, options), lists);
    if (!saved)
        Dialogs::error(parent, QString::fromStdString(saved.error()));
    return saved.ok();
}

void openPrevious(DecisionHost &host)
{
    SelectionDialog &picker = host.multiSelect();
    picker.setWindowTitle(QStringLiteral("Load A Previous Web Project.."));
    picker.selectedButton()->setText(QStringLiteral("&Open"));
    picker.allButton()->hide();
    picker.setSingleSelection(true);

    // Taken now: the list must not change under the picker while it is open.
    const std::vector<std::string> recent = host.recentProjectList();
    QStringList lines;
    for (const std::string &entry : recent)
        lines << pathFromBytes(recentEntryLine(entry));
    picker.setItems(lines);

    if (picker.exec() != QDialog::Accepted)
        return;
    const std::vector<int> rows = picker.selectedRows();
    const int row = rows.empty() ? picker.list()->currentRow() : rows.front();
    if (row < 0 || static_cast<std::size_t>(row) >= recent.size())
        return;
    host.loadProjectFromPath(pathFromBytes(recentEntryPath(recent[static_cast<std::size_t>(row)])));
}

} // namespace stv
