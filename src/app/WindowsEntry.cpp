// The entry of the windows module: the application and its windows, as the program starts
// them when no command-line work was asked for.
#include "app/ModuleEntries.h"

#include "core/settings/DefaultLists.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/ProgramWindows.h"

#include <QApplication>

int sitorvaRunWindows(int argc, char **argv, const char *projectToOpen)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitorva"));
    QApplication::setApplicationVersion(QStringLiteral(SITORVA_VERSION));

    // A first start gets the lists that come with the program, so the manual's first page
    // with its colour, link and picture marks works at once, and the modern page style.
    const std::string defaultsError = stv::provideProgramDefaultLists();
    if (!defaultsError.empty())
        stv::Dialogs::error(nullptr, QString::fromStdString(defaultsError));

    stv::ProgramWindows windows;
    stv::WizardWindow &window = windows.window;
    QObject::connect(&window, &stv::WizardWindow::closed, &app, &QApplication::quit);
    if (projectToOpen != nullptr && *projectToOpen != '\0') {
        window.skipStartupDecision();
        window.loadProjectFromPath(QString::fromStdString(projectToOpen));
    }
    window.show();
    window.startDecisionTimer();
    return QApplication::exec();
}
