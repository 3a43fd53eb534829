// The program's entry: the command line first, then the main window.
#include "app/CommandLine.h"
#include "core/settings/DefaultLists.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/ProgramWindows.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    // The command line works without a display: it runs before any window exists.
    const stv::CliOutcome cli = stv::runCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    if (!cli.startWindow)
        return cli.exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitorva"));
    QApplication::setApplicationVersion(QStringLiteral(SITORVA_VERSION));

    // A first start gets the lists that come with the program, so the manual's first page
    // with its colour, link and picture marks works at once.
    const std::string defaultsError = stv::provideDefaultLists(
        stv::defaultListsFolder().toStdString(), stv::programFolder().toStdString());
    if (!defaultsError.empty())
        stv::Dialogs::error(nullptr, QString::fromStdString(defaultsError));

    stv::ProgramWindows windows;
    stv::WizardWindow &window = windows.window;
    QObject::connect(&window, &stv::WizardWindow::closed, &app, &QApplication::quit);
    if (!cli.projectToOpen.empty()) {
        window.skipStartupDecision();
        window.loadProjectFromPath(QString::fromStdString(cli.projectToOpen));
    }
    window.show();
    window.startDecisionTimer();
    return QApplication::exec();
}
