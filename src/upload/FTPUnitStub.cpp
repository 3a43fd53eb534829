// Placeholder until the upload window is built: says so instead of doing nothing.
#include "FTPUnit.h"

#include "platform/Dialogs.h"

namespace stv {

FtpSettings ShowUploadWindow(QWidget *parent, const FtpSettings &settings)
{
    Dialogs::info(parent, QStringLiteral("The upload window is not built yet."));
    return settings;
}

} // namespace stv
