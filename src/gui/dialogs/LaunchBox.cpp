#include "gui/dialogs/LaunchBox.h"

#include "gui/desktop/LaunchFile.h"
#include "gui/dialogs/Dialogs.h"

namespace stv
{

QString launchFailureText(const QString &target, const QString &reason)
{
    return QStringLiteral("Cannot open \"%1\".\n\n%2").arg(target, reason);
}

QString programQuestion(const QString &program, const QStringList &arguments)
{
    QString quoted;
    for (const QString &argument : arguments)
        quoted += QStringLiteral("\n    \"") + argument + QLatin1Char('"');
    return QStringLiteral("This link starts a program:\n\n    %1\n\n").arg(program)
        + (arguments.isEmpty() ? QStringLiteral("with no arguments.")
                               : QStringLiteral("with the arguments:") + quoted)
        + QStringLiteral("\n\nA project made by someone else can start any program this "
                         "way.\nStart this program?");
}

bool launchOrSay(QWidget *parent, const QString &target)
{
    // A program runs only when the user, told which one and with what, says Yes.
    Programs programs = Programs::Refuse;
    if (const ProgramStart start = programStartOf(target); start.starts()) {
        if (Dialogs::confirm(
                parent, programQuestion(start.program, start.arguments), Buttons::YesNoSafeNo)
            != Answer::Yes)
            return false;
        programs = Programs::Start;
    }
    const LaunchResult result = launchFile(target, programs);
    if (!result.ok)
        Dialogs::info(parent, launchFailureText(target, result.text));
    return result.ok;
}

} // namespace stv
