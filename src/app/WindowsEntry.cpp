// The entry of the windows module: the application and its windows, as the program starts
// them when no command-line work was asked for.
#include "app/ModuleEntries.h"

#include "core/settings/DefaultLists.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/ProgramWindows.h"

#include <QApplication>

int sitorvaRunWindows(int argc, char **argv, const char *projectToOpen)
{
    // The live preview's WebEngine, loaded later from its module, draws with GL contexts shared
    // with the windows; that is decided before the application exists, and costs nothing.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitorva"));
    QApplication::setApplicationVersion(QStringLiteral(SITORVA_VERSION));

    // A first start gets the lists that come with the program, so the manual's first page
    // with its colour, link and picture marks works at once, and the modern page style.
    if (const stv::Result<> provided = stv::provideProgramDefaultLists(); !provided)
        stv::Dialogs::error(nullptr, QString::fromStdString(provided.error()));

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
