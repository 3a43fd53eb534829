#pragma once
// The parts of the program that page generation does not need live in modules of their own,
// which the program loads only when it needs them, so that the command line starts without
// their libraries: the windows (Qt) and --publish (libcurl and its TLS and SSH libraries).

namespace stv
{

// The modules' file names: beside the executable (a build folder, a portable install) or in
// the installed library folder.
inline constexpr const char *WindowsModuleName = "sitorva-windows.so";
inline constexpr const char *PublishModuleName = "sitorva-publish.so";
inline constexpr const char *WindowsEntryName = "sitorvaRunWindows";
inline constexpr const char *PublishEntryName = "sitorvaRunPublish";
inline constexpr const char *OnlineCheckEntryName = "sitorvaRunOnlineCheck";
// The options of --publish, as bits of the entry's flags.
inline constexpr int PublishDryRun = 1;
inline constexpr int PublishAllowPlainFtp = 2;

} // namespace stv

extern "C" {
// Creates the application and its windows, opens projectToOpen when it is not empty, and
// runs until the main window closes; returns the exit code.
using SitorvaWindowsEntry = int (*)(int argc, char **argv, const char *projectToOpen);
__attribute__((visibility("default"))) int sitorvaRunWindows(
    int argc, char **argv, const char *projectToOpen);

// `--publish PROJECT.stv` with its options (the PublishFlag bits), writing to standard output
// and error; returns the exit code.
using SitorvaPublishEntry = int (*)(const char *projectPath, int flags);
__attribute__((visibility("default"))) int sitorvaRunPublish(const char *projectPath, int flags);

// `--check PROJECT.stv --online`, writing to standard output and error; returns the exit code.
using SitorvaOnlineCheckEntry = int (*)(const char *projectPath);
__attribute__((visibility("default"))) int sitorvaRunOnlineCheck(const char *projectPath);
}
