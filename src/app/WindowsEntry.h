#pragma once
// The windows live in a module of their own, which the program loads only when a window is
// needed: the command line then starts without the toolkit's libraries.

namespace stv
{

// The module's file name: beside the executable (a build folder, a portable install) or in
// the installed library folder.
inline constexpr const char *WindowsModuleName = "sitorva-windows.so";
inline constexpr const char *WindowsEntryName = "sitorvaRunWindows";

} // namespace stv

extern "C" {
// Creates the application and its windows, opens projectToOpen when it is not empty, and
// runs until the main window closes; returns the exit code.
using SitorvaWindowsEntry = int (*)(int argc, char **argv, const char *projectToOpen);
__attribute__((visibility("default"))) int sitorvaRunWindows(
    int argc, char **argv, const char *projectToOpen);
}
