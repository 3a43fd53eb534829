// The entry of the publish module: `--publish` as the command line asked for it.
#include "app/ModuleEntries.h"

#include "app/PublishCommandLine.h"

#include <iostream>

int sitorvaRunPublish(const char *projectPath, int flags)
{
    stv::PublishOptions options;
    options.dryRun = (flags & stv::PublishDryRun) != 0;
    options.allowPlainFtp = (flags & stv::PublishAllowPlainFtp) != 0;
    return stv::publishFromCommandLine(projectPath, options, std::cout, std::cerr);
}
