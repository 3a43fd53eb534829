#pragma once
// The command line: `sitorva [PROJECT.stv]`, `sitorva --generate PROJECT.stv [--output PAGE]
// [--preview]`, `sitorva --publish PROJECT.stv [--dry-run] [--allow-plain-ftp]`,
// `sitorva --check PROJECT.stv [--online]`, `--help`, `--version`.

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace stv
{

struct CliOutcome {
    CliOutcome() = default;
    CliOutcome(bool window, int code, std::string project)
        : startWindow(window)
        , exitCode(code)
        , projectToOpen(std::move(project))
    {
    }

    bool startWindow = true; // false: the command line did the work, exit with exitCode
    int exitCode = 0;
    std::string projectToOpen; // native path of a project to load into the window, or empty
    // --publish: the project to publish, and --dry-run. Publishing needs the network's
    // libraries, so the program runs it from a module of its own (main.cpp) and tests call
    // publishFromCommandLine (PublishCommandLine.h).
    std::string projectToPublish;
    bool dryRun = false;
    bool allowPlainFtp = false;
    // --check --online: the project whose links are checked, from the same module as
    // --publish (tests call checkOnlineFromCommandLine, OnlineCheckCommandLine.h).
    std::string projectToCheckOnline;
};

// args excludes the program name.
CliOutcome runCommandLine(
    const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace stv
