#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace stv {

namespace {

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

QString ProgramFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    static const QString folder = [] {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
            return withSlash(exeDir);
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(data);
        return withSlash(data);
    }();
    return folder;
}

void SetProgramFolder(const QString &folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(folder);
}

QString HelpFilePath()
{
    const QString name = QStringLiteral("StvHelp.txt");
    const QString beside = withSlash(QCoreApplication::applicationDirPath()) + name;
    if (overrideFolder().isEmpty() && QFileInfo::exists(beside))
        return beside;
    if (!overrideFolder().isEmpty())
        return overrideFolder() + name;
    const QString installed = QStandardPaths::locate(QStandardPaths::AppDataLocation, name);
    if (!installed.isEmpty())
        return installed;
    const QString shared = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                  QStringLiteral("sitorva/") + name);
    return shared.isEmpty() ? beside : shared;
}

} // namespace stv
