#pragma once
// `sitorva --publish PROJECT.stv [--dry-run]`: the page is generated into a temporary folder
// as --generate writes it and published with the project's host, user and Initial Directory,
// the password from SITORVA_PASSWORD when it is set, else the project's, else the desktop
// keyring's for the project's protocol, host and user. Progress goes to standard error; the
// last line on standard output is "published: U uploaded, C unchanged, F failed".

#include <ostream>
#include <string>

namespace stv
{

// The exit status: 0 only when nothing failed.
int publishFromCommandLine(
    const std::string &projectPath, bool dryRun, std::ostream &out, std::ostream &err);

} // namespace stv
