// The entry of the publish module: `--publish` as the command line asked for it.
#include "app/ModuleEntries.h"

#include "app/PublishCommandLine.h"

#include <iostream>

int sitorvaRunPublish(const char *projectPath, int dryRun)
{
    return stv::publishFromCommandLine(projectPath, dryRun != 0, std::cout, std::cerr);
}
