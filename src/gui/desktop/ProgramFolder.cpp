#include "gui/desktop/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace stv
{

namespace
{

QString &overrideFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    static QString folder;
    if (!folder.isEmpty())
        return folder;

    // Before the application object exists neither the executable's folder nor the program's
    // name is known: answer with the per-user folder but do not keep the answer.
    const bool known = QCoreApplication::instance() != nullptr;
    const QString exeDir = known ? QCoreApplication::applicationDirPath() : QString();
    QString result;
    // An installed program (its manual in ../share/sitorva, none beside it) never keeps its
    // files in the system's bin folder, even when it may write there (run by root).
    const bool installed = !exeDir.isEmpty()
        && !QFileInfo::exists(withSlash(exeDir) + QStringLiteral("StvHelp.txt"))
        && QFileInfo::exists(withSlash(exeDir) + QStringLiteral("../share/sitorva/StvHelp.txt"));
    if (!exeDir.isEmpty() && !installed && QFileInfo(exeDir).isWritable()) {
        result = withSlash(exeDir);
    } else {
        // Without a program name the data location is the shared data folder itself.
        QString data = QCoreApplication::applicationName().isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                + QStringLiteral("/sitorva")
            : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(data);
        result = withSlash(data);
    }
    if (known)
        folder = result;
    return result;
}

void setProgramFolder(const QString &folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(folder);
}

QString defaultListsFolder()
{
    const QString exeDir = withSlash(QCoreApplication::applicationDirPath());
    for (const QString &candidate : { exeDir + QStringLiteral("defaults"),
             exeDir + QStringLiteral("../share/sitorva/defaults") }) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return {};
}

QString installedHelpFile(const QString &executableFolder)
{
    const QString name = QStringLiteral("StvHelp.txt");
    const QString beside = withSlash(executableFolder) + name;
    if (QFileInfo::exists(beside))
        return beside;
    // An installed program: PREFIX/bin/sitorva reads PREFIX/share/sitorva/StvHelp.txt.
    const QString shared
        = QDir::cleanPath(withSlash(executableFolder) + QStringLiteral("../share/sitorva/") + name);
    return QFileInfo::exists(shared) ? shared : QString();
}

QString helpFilePath()
{
    const QString name = QStringLiteral("StvHelp.txt");
    const QString beside = withSlash(QCoreApplication::applicationDirPath()) + name;
    if (!overrideFolder().isEmpty())
        return overrideFolder() + name;
    if (const QString found = installedHelpFile(QCoreApplication::applicationDirPath());
        !found.isEmpty())
        return found;
    const QString installed = QStandardPaths::locate(QStandardPaths::AppDataLocation, name);
    if (!installed.isEmpty())
        return installed;
    const QString shared = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("sitorva/") + name);
    return shared.isEmpty() ? beside : shared;
}

} // namespace stv
