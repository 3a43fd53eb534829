#pragma once
// Loading the program's modules (see ModuleEntries.h) from the running program.

#include <ostream>
#include <string>

namespace stv
{

// Each loads its module and runs it; when the module cannot be loaded, says why on `err` and
// returns 1.
int runWindows(int argc, char **argv, const std::string &projectToOpen, std::ostream &err);
int runPublish(const std::string &projectPath, int flags, std::ostream &err);
int runOnlineCheck(const std::string &projectPath, std::ostream &err);

} // namespace stv
