#include "gui/desktop/LaunchFile.h"

#include <QCoreApplication>
#include <QDesktopServices>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <optional>

namespace stv
{

namespace
{

constexpr int Success = 42;

QString runQuietly(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

class DesktopShell : public ShellSeam
{
public:
    // xdg-open is waited for a moment so that its failure (no program for the file, no file
    // manager) comes back; one that keeps running is left to it. Without xdg-open the
    // toolkit's own way is used.
    bool openUrl(const QUrl &url) override
    {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return QDesktopServices::openUrl(url);
        auto *process = new QProcess(QCoreApplication::instance());
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(
            opener, { url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded) });
        if (!process->waitForStarted(3000)) {
            process->deleteLater();
            return false;
        }
        if (!process->waitForFinished(1500))
            return true;
        return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    }
    bool startDetached(
        const QString &program, const QStringList &arguments, const QString &workingFolder) override
    {
        return QProcess::startDetached(program, arguments, workingFolder);
    }
    QStringList webBrowser() override
    {
        QString id = runQuietly(QStringLiteral("xdg-settings"),
            { QStringLiteral("get"), QStringLiteral("default-web-browser") });
        if (id.isEmpty())
            id = runQuietly(QStringLiteral("xdg-mime"),
                { QStringLiteral("query"), QStringLiteral("default"),
                    QStringLiteral("x-scheme-handler/http") });
        if (id.isEmpty())
            return {};
        const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
        QFile file(entry);
        if (entry.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        bool inMainGroup = false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('[')))
                inMainGroup = line == QLatin1String("[Desktop Entry]");
            else if (inMainGroup && line.startsWith(QLatin1String("Exec=")))
                return desktopExecCommand(line.mid(5));
        }
        return {};
    }
};

ShellSeam *g_shell = nullptr;

LaunchResult failure(int code)
{
    return { false, code, launchErrorText(code) };
}

LaunchResult outcome(bool ok)
{
    return ok ? LaunchResult { true, Success, {} } : failure(31);
}

bool isWebPage(const QFileInfo &info)
{
    const QString suffix = info.suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm")
        || suffix == QLatin1String("xhtml") || suffix == QLatin1String("shtml");
}

// Opens an address in the user's web browser, or with the desktop's handler when no
// browser is known or it does not start.
bool openInBrowser(const QUrl &url)
{
    QStringList command = shell().webBrowser();
    if (!command.isEmpty()) {
        for (QString &part : command)
            part.replace(QLatin1String("%u"), url.toString(QUrl::FullyEncoded));
        const QString program = command.takeFirst();
        if (shell().startDetached(program, command, QString()))
            return true;
    }
    return shell().openUrl(url);
}

// "http:", "mailto:" and the like; a drive letter "C:" is not a scheme.
bool hasScheme(const QString &target)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(target).hasMatch();
}

LaunchResult refusedProgram()
{
    return { false, 5,
        QStringLiteral("The link starts a program, which is only done when you allow it.") };
}

bool isDesktopEntry(const QFileInfo &info)
{
    return info.isFile() && info.suffix().toLower() == QLatin1String("desktop");
}

// A page opens in the browser whatever its mode bits say (files from a FAT stick or an
// archive often have them all); any other executable file would be run.
bool isProgramFile(const QFileInfo &info)
{
    return (info.isFile() && info.isExecutable() && !isWebPage(info)) || isDesktopEntry(info);
}

// The desktop opens these without starting anything the user did not ask for: the browser,
// the mail program, a local file's own handling below.
bool isOpenedScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("mailto") || scheme == QLatin1String("file");
}

LaunchResult launchLocal(const LaunchParts &parts, Programs programs)
{
    const QFileInfo info(parts.target);
    if (!info.exists()) {
        const QFileInfo parent(info.absolutePath());
        const bool folderTarget = parts.target.endsWith(QLatin1Char('/'));
        return failure(!folderTarget && parent.isDir() ? 2 : 3);
    }
    if (!info.isReadable())
        return failure(5);
    const bool program = isProgramFile(info) || !parts.arguments.isEmpty();
    if (program && programs != Programs::Start)
        return refusedProgram();
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (info.isDir())
        return outcome(shell().openUrl(url));
    if (isWebPage(info))
        return outcome(openInBrowser(url));
    if (isProgramFile(info) && !isDesktopEntry(info)) {
        const QString folder
            = parts.workingFolder.isEmpty() ? info.absolutePath() : parts.workingFolder;
        if (!shell().startDetached(
                info.absoluteFilePath(), QProcess::splitCommand(parts.arguments), folder))
            return failure(5);
        return { true, Success, {} };
    }
    return outcome(shell().openUrl(url));
}

// The target as a local path when it is one (a plain path or a file:// address).
std::optional<QString> localTarget(const QString &target)
{
    if (!hasScheme(target))
        return target;
    const QUrl url(target);
    if (url.isLocalFile())
        return url.toLocalFile();
    return std::nullopt;
}

} // namespace

ShellSeam &shell()
{
    static DesktopShell desktop;
    return g_shell ? *g_shell : desktop;
}

void setShell(ShellSeam *shell)
{
    g_shell = shell;
}

LaunchParts splitLaunchTarget(const QString &target)
{
    LaunchParts parts;
    parts.target = target;
    const qsizetype at = target.indexOf(QLatin1String("{ARGS}"), 0, Qt::CaseInsensitive);
    if (at >= 0) {
        QString args = target.mid(at + 6, 255);
        qsizetype start = 0;
        qsizetype end = args.size();
        while (start < end && args.at(start).unicode() <= 32)
            ++start;
        while (end > start && args.at(end - 1).unicode() <= 32)
            --end;
        parts.arguments = args.mid(start, end - start);
        parts.target = target.left(at);
    }
    const qsizetype slash = std::max(
        parts.target.lastIndexOf(QLatin1Char('/')), parts.target.lastIndexOf(QLatin1Char('\\')));
    if (slash >= 0)
        parts.workingFolder = parts.target.left(slash + 1);
    return parts;
}

LaunchResult launchFile(const QString &target, Programs programs)
{
    LaunchParts parts = splitLaunchTarget(target);
    if (parts.target.isEmpty())
        return failure(2);
    if (const std::optional<QString> local = localTarget(parts.target)) {
        parts.target = *local;
        return launchLocal(parts, programs);
    }
    const QUrl url(parts.target);
    const QString scheme = url.scheme().toLower();
    if (programs != Programs::Start && (!isOpenedScheme(scheme) || !parts.arguments.isEmpty()))
        return refusedProgram();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return outcome(openInBrowser(url));
    return outcome(shell().openUrl(url));
}

ProgramStart programStartOf(const QString &target)
{
    const LaunchParts parts = splitLaunchTarget(target);
    const QStringList arguments = QProcess::splitCommand(parts.arguments);
    if (parts.target.isEmpty())
        return {};
    if (const std::optional<QString> local = localTarget(parts.target)) {
        const QFileInfo info(*local);
        if (!isProgramFile(info) && arguments.isEmpty())
            return {};
        return { info.exists() ? info.absoluteFilePath() : *local, arguments };
    }
    // Another scheme's address goes to whatever program claims that scheme.
    if (isOpenedScheme(QUrl(parts.target).scheme().toLower()) && arguments.isEmpty())
        return {};
    return { QStringLiteral("xdg-open"), QStringList { parts.target } + arguments };
}

QString launchErrorText(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("The operating system is out of memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied access to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred.");
    case 27:
        return QStringLiteral("The filename association is incomplete or invalid.");
    case 28:
        return QStringLiteral(
            "The DDE transaction could not be completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not be completed because other DDE "
                              "transactions were being processed.");
    case 31:
        return QStringLiteral(
            "There is no application associated with the given filename extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return {};
    }
}

QStringList desktopExecCommand(const QString &execLine)
{
    QStringList out;
    bool placed = false;
    for (QString part : QProcess::splitCommand(execLine)) {
        static const QRegularExpression fileCode(QStringLiteral("%[uUfF]"));
        static const QRegularExpression otherCode(QStringLiteral("%[dDnNickvm]"));
        if (part.contains(fileCode)) {
            part.replace(fileCode, QStringLiteral("%u"));
            placed = true;
        }
        part.remove(otherCode);
        part.replace(QLatin1String("%%"), QLatin1String("%"));
        if (!part.isEmpty())
            out << part;
    }
    if (!out.isEmpty() && !placed)
        out << QStringLiteral("%u");
    return out;
}

} // namespace stv
