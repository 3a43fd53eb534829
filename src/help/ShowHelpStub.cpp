// Placeholder until the help window is built: says so instead of doing nothing.
#include "ShowHelp.h"

#include "platform/Dialogs.h"

namespace stv {

void ShowHelpTopic(int topic)
{
    Dialogs::info(nullptr, QStringLiteral("The help viewer is not built yet (topic %1).").arg(topic));
}

} // namespace stv
