#pragma once
// The main window's side of where the FTP password is kept: in the desktop's keyring when one
// runs, in the project file when the project asks for that or no keyring runs (the user is
// told once why).

#include "core/project/Project.h"

#include <QString>

class QWidget;

namespace stv
{

// The project as its file at `path` gets it: the password moved to the keyring where it
// belongs there. The project's choice is remembered for the file.
Project projectForFile(QWidget *parent, const Project &project, const QString &path);
// A project just read from `path`: its choice as remembered, and the keyring's password when
// its file holds none.
void completeLoadedProject(Project &project, const QString &path);

} // namespace stv
