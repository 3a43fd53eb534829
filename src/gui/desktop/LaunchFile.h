#pragma once
// The one way the program hands a file, folder or address to the desktop. A target may carry
// arguments after "{ARGS}" (letter case ignored): "/opt/view{args} -x page.html" runs
// /opt/view with the arguments -x and page.html in the folder /opt/. Web pages (".html",
// ".htm" and http addresses) open in the user's web browser, folders in the file manager,
// other documents and mail addresses with the desktop's associated program.
//
// Links come from projects that strangers share, so nothing that starts a program is done
// unasked: an executable file, a desktop entry, a target carrying "{ARGS}" and an address of
// any scheme but http, https, mailto and file are started only when the caller allows it,
// after asking the user (launchOrSay does).
//
// Failures come back with the shell's classic result codes and their texts; the caller shows
// the text in an information box.

#include <QString>
#include <QStringList>

class QUrl;

namespace stv
{

// What launchFile asks of the desktop; tests install a fake.
class ShellSeam
{
public:
    virtual ~ShellSeam() = default;
    // Opens an address (file:///, mailto:, ...) with the desktop's associated program.
    virtual bool openUrl(const QUrl &url) = 0;
    virtual bool startDetached(
        const QString &program, const QStringList &arguments, const QString &workingFolder)
        = 0;
    // The user's web browser: program and arguments, the address standing as "%u" among
    // them. Empty when no browser is known.
    virtual QStringList webBrowser() = 0;
};

ShellSeam &shell();
// Installs another shell (tests); nullptr goes back to the desktop's. Not owned.
void setShell(ShellSeam *shell);

struct LaunchResult {
    bool ok = false;
    int code = 0; // above 32 on success; else one of the codes of launchErrorText
    QString text; // the message for a failure
};

enum class Programs { Refuse, Start };

// Opens the target; one that would start a program is refused (code 5, with a text saying
// so) unless `programs` is Start.
LaunchResult launchFile(const QString &target, Programs programs = Programs::Refuse);

// The program a target would start and its arguments; empty program when it starts none.
struct ProgramStart {
    QString program;
    QStringList arguments;
    bool starts() const { return !program.isEmpty(); }
};
ProgramStart programStartOf(const QString &target);

// Message for a result code: 2 file not found, 3 path not found, 5 access denied,
// 31 no associated program, and the other classic codes; empty for an unknown code.
QString launchErrorText(int code);

// Parts of a target: the target before "{ARGS}", the arguments after it (at most 255
// characters, spaces and control characters trimmed) and the working folder.
struct LaunchParts {
    QString target;
    QString arguments;
    QString workingFolder;
};
LaunchParts splitLaunchTarget(const QString &target);

// The program and arguments of a desktop entry's Exec line, its file field codes turned into
// "%u" and the others dropped; "%u" is appended when the line has none.
QStringList desktopExecCommand(const QString &execLine);

} // namespace stv
