#pragma once
// The folder where the program keeps its fixed-name files (configuration, lists, library,
// recent projects, preview page). Always ends with '/'.

#include <QString>

namespace stv
{

// The executable's folder when it is writable and not an installed program's bin folder (a
// portable copy, or running from build/); otherwise the per-user data folder, created on first
// use.
QString programFolder();
// Tests point the program at a folder of their own.
void setProgramFolder(const QString &folder);
// Where the manual is found: beside the executable, else in the installed data folders.
QString helpFilePath();
// The manual of a program whose executable lies in executableFolder: beside it, else in
// ../share/sitorva/ (an installed prefix); empty when neither exists.
QString installedHelpFile(const QString &executableFolder);

} // namespace stv
