#include "gui/wizard/PasswordKeeping.h"

#include "core/settings/Settings.h"
#include "core/upload/ProjectPassword.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"

namespace stv
{

namespace
{

std::string settingsFolder()
{
    return programFolder().toStdString();
}

void tellNoKeyringOnce(QWidget *parent, Settings &settings, const std::string &reason)
{
    if (settings.value(settingKey::NoKeyringNoticeShown) == "1")
        return;
    settings.set(settingKey::NoKeyringNoticeShown, "1");
    Dialogs::info(parent,
        QStringLiteral("The FTP password is kept in the project file, because %1.\n\nAnyone who "
                       "can read the file can read the password. When a keyring runs, "
                       "Sitorva keeps the password there instead.")
            .arg(QString::fromStdString(reason)));
}

} // namespace

Project projectForFile(QWidget *parent, const Project &project, const QString &path)
{
    Project fileProject = project;
    Result<Settings> loaded = loadSettings(settingsFolder());
    if (!loaded) {
        // The choice cannot be remembered; the password goes where the tick says all the same.
        Dialogs::error(parent, QString::fromStdString(loaded.error()));
        (void)movePasswordToKeyring(fileProject); // a failure leaves the password in the file
        return fileProject;
    }
    Settings settings = loaded.value();
    const Settings before = settings;
    setKeepsPasswordInFile(settings, pathToBytes(path), project.keepPasswordInFile);
    if (Result<> moved = movePasswordToKeyring(fileProject); !moved)
        tellNoKeyringOnce(parent, settings, moved.error());
    if (!(settings == before)) {
        if (Result<> saved = saveSettings(settingsFolder(), settings); !saved)
            Dialogs::error(parent, QString::fromStdString(saved.error()));
    }
    return fileProject;
}

void completeLoadedProject(Project &project, const QString &path)
{
    if (Result<Settings> settings = loadSettings(settingsFolder()))
        project.keepPasswordInFile = keepsPasswordInFile(settings.value(), pathToBytes(path));
    // Without a keyring the project's own line is all there is: nothing to add.
    (void)takePasswordFromKeyring(project);
}

} // namespace stv
