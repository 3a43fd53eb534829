// The program's entry: the command line first, then the windows or the publish command, which
// are loaded only now so that the command line never waits for their libraries.
#include "app/CommandLine.h"
#include "app/ModuleEntries.h"
#include "app/ProgramModules.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    // The command line works without a display: it runs before any window exists.
    const stv::CliOutcome cli = stv::runCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    if (!cli.projectToCheckOnline.empty())
        return stv::runOnlineCheck(cli.projectToCheckOnline, std::cerr);
    if (!cli.projectToPublish.empty())
        return stv::runPublish(cli.projectToPublish,
            (cli.dryRun ? stv::PublishDryRun : 0)
                | (cli.allowPlainFtp ? stv::PublishAllowPlainFtp : 0),
            std::cerr);
    if (!cli.startWindow)
        return cli.exitCode;
    return stv::runWindows(argc, argv, cli.projectToOpen, std::cerr);
}
