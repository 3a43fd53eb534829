// The program's entry: the command line first, then the main window.
#include "cli/CommandLine.h"
#include "model/LibUnit.h"
#include "wizard/SMUnit.h"
#include "wizard/SVUnit.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitorva"));

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const stv::CliOutcome outcome = stv::RunCommandLine(args, std::cout, std::cerr);
    if (!outcome.startWindow)
        return outcome.exitCode;

    stv::TSV window;
    QObject::connect(&window, &stv::TSV::closed, &app, &QApplication::quit);
    stv::TLib library(window.librarySections(), &window);
    stv::TSM sectionManager(window, library, &window);
    window.setSectionView(&sectionManager);
    window.setSectionManagerWindow(&sectionManager);
    sectionManager.RefreshSectionManager();
    window.ShowCurrentSection();
    sectionManager.show();
    if (!outcome.projectToOpen.empty())
        window.LoadProjectFromPath(QString::fromStdString(outcome.projectToOpen));
    window.show();
    return QApplication::exec();
}
