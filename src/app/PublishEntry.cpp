// The entries of the publish module: `--publish` and `--check --online` as the command line
// asked for them.
#include "app/ModuleEntries.h"

#include "app/OnlineCheckCommandLine.h"
#include "app/PublishCommandLine.h"

#include <iostream>

int sitorvaRunPublish(const char *projectPath, int dryRun)
{
    return stv::publishFromCommandLine(projectPath, dryRun != 0, std::cout, std::cerr);
}

int sitorvaRunOnlineCheck(const char *projectPath)
{
    return stv::checkOnlineFromCommandLine(projectPath, std::cout, std::cerr);
}
