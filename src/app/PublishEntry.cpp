// The entries of the publish module: `--publish` and `--check --online` as the command line
// asked for them.
#include "app/ModuleEntries.h"

#include "app/OnlineCheckCommandLine.h"
#include "app/PublishCommandLine.h"

#include <iostream>

int sitorvaRunPublish(const char *projectPath, int flags)
{
    stv::PublishOptions options;
    options.dryRun = (flags & stv::PublishDryRun) != 0;
    options.allowPlainFtp = (flags & stv::PublishAllowPlainFtp) != 0;
    return stv::publishFromCommandLine(projectPath, options, std::cout, std::cerr);
}

int sitorvaRunOnlineCheck(const char *projectPath)
{
    return stv::checkOnlineFromCommandLine(projectPath, std::cout, std::cerr);
}
