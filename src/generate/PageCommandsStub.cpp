// Placeholder until the page generator is built: says so instead of doing nothing.
#include "PageCommands.h"

#include "platform/Dialogs.h"

namespace stv {

void RunCreateWebPage(QWidget *parent, Project &, const FavouriteLists &, const PageOptions &)
{
    Dialogs::info(parent, QStringLiteral("Creating the web page is not built yet."));
}

void RunPreview(QWidget *parent, const Project &, const FavouriteLists &, const PageOptions &)
{
    Dialogs::info(parent, QStringLiteral("The preview is not built yet."));
}

} // namespace stv
