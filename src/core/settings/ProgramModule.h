#pragma once
// The program's modules: parts whose libraries the command line must not wait for (the
// windows, publishing, the picture maker) are shared objects loaded only when needed, from
// beside the executable (a build folder, a portable install) or the installed library folder.

#include "core/Result.h"

namespace stv
{

// The address of `entryName` in the module `module` (a file name), loading it on first use;
// a failure says why it could not be found or loaded.
Result<void *> programModuleEntry(const char *module, const char *entryName);

} // namespace stv
