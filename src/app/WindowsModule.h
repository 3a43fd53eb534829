#pragma once
// Loading the windows module (see WindowsEntry.h) from the running program.

#include <ostream>
#include <string>

namespace stv
{

// Loads the module and runs its windows; when it cannot be loaded, says why on `err` and
// returns 1.
int runWindows(int argc, char **argv, const std::string &projectToOpen, std::ostream &err);

} // namespace stv
