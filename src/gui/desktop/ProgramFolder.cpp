#include "gui/desktop/ProgramFolder.h"

#include "core/settings/ProgramFolderPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace stv
{

namespace
{

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

// The command line finds the same folder without Qt, so both share one answer.
QString programFolder()
{
    return QFile::decodeName(QByteArray::fromStdString(programFolderPath()));
}

void setProgramFolder(const QString &folder)
{
    setProgramFolderPath(QFile::encodeName(folder).toStdString());
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
    if (const std::string folder = programFolderOverride(); !folder.empty())
        return QFile::decodeName(QByteArray::fromStdString(folder)) + name;
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
