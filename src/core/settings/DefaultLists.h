#pragma once
// The configuration and favourite lists a new user starts with. They come with the program
// (PREFIX/share/sitorva/defaults, or defaults/ beside the executable while developing) and
// are copied into a program folder that has no configuration yet, so that the marks of a
// first page, "{c0}", "{l1}" and "{i0}", work at once.

#include "core/Result.h"

#include <string>

namespace stv
{

inline constexpr const char *DefaultListsFolderName = "defaults";

// Copies the configuration and the three list files from `defaultsFolder` into
// `programFolder` when the latter holds no configuration file. Image List entries that name a
// bare file lying in the defaults folder are given its full path, so the picture is found
// wherever the page is written. The failure names the file.
Result<> provideDefaultLists(const std::string &defaultsFolder, const std::string &programFolder);

// The lists that come with the running program: defaults/ beside the executable, else
// ../share/sitorva/defaults (an installed prefix); empty when neither exists.
std::string defaultListsFolderPath();

// What every start does before it reads the program folder, the window's and the command
// line's alike: in a program folder that has no configuration yet, the modern page style
// chosen and the lists that come with the program copied. Succeeds also when there was nothing
// to do.
Result<> provideProgramDefaultLists();

} // namespace stv
