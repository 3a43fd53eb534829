#pragma once
// The command line: `sitorva [PROJECT.stv]`, `sitorva --generate PROJECT.stv [--output PAGE]
// [--preview]`, `--help`, `--version`.

#include <ostream>
#include <string>
#include <vector>

namespace stv
{

struct CliOutcome {
    bool startWindow = true; // false: the command line did the work, exit with exitCode
    int exitCode = 0;
    std::string projectToOpen; // native path of a project to load into the window, or empty
};

// args excludes the program name.
CliOutcome runCommandLine(
    const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace stv
