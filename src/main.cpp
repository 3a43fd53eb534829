#include "cli/CommandLine.h"

#include <QApplication>

#include <cstdio>
#include <iostream>

int main(int argc, char *argv[])
{
    // The command line works without a display: it runs before any window exists.
    const stv::CliOutcome cli = stv::RunCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    if (!cli.startWindow)
        return cli.exitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitorva"));
    std::fprintf(stderr, "Sitorva: the wizard window is not built yet.\n");
    return 0;
}
