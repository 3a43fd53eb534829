#include "gui/dialogs/LaunchBox.h"

#include "gui/desktop/LaunchFile.h"
#include "gui/dialogs/Dialogs.h"

namespace stv
{

QString launchFailureText(const QString &target, const QString &reason)
{
    return QStringLiteral("Cannot open \"%1\".\n\n%2").arg(target, reason);
}

bool launchOrSay(QWidget *parent, const QString &target)
{
    const LaunchResult result = launchFile(target);
    if (!result.ok)
        Dialogs::info(parent, launchFailureText(target, result.text));
    return result.ok;
}

} // namespace stv
