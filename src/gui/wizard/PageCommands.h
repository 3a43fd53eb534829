#pragma once
// The main window's two page commands, kept apart from the wizard's code. Both expect the
// wizard to have stored its page first.

#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"

#include <QString>

class QWidget;

namespace stv
{

// "&Create Web Page": confirms, asks for the file, writes the page and copies its files,
// shows the folder and offers to open the page. May set project.pageFileName.
// projectFileName (the open project's path, empty for a project never saved) gives the
// proposed page name and the folder that relative picture paths are read from.
void runCreateWebPage(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName = QString());
// "View Your Creation": writes programFolder + "test.html" and opens it at once.
void runPreview(QWidget *parent, const Project &project, const FavouriteLists &lists,
    const PageOptions &options);

} // namespace stv
