#pragma once
// The project's side of uploading: "&Upload My Page" shows the upload window with the
// project's connection fields and a working "&Publish" button; "Publish My Page" shows it
// and publishes at once. Both keep the fields the user leaves in the window. The caller
// stores the wizard's current page first, as for Create Web Page.

#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"
#include "core/upload/Publisher.h"

#include <QString>

#include <optional>

class QWidget;

namespace stv
{

void runUploadWindow(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName = QString());
void runPublish(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName = QString());

// What publishing sends: the page last created for the project and the files it refers to.
// When the project has changes that are not in the page yet, or no page was created, it
// offers Create Web Page first; nothing when the user declines or the page is still not
// ready.
std::optional<PublishRequest> preparePublish(QWidget *parent, Project &project,
    const FavouriteLists &lists, const PageOptions &options, const QString &projectFileName);

} // namespace stv
