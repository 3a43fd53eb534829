#pragma once
// Hands a file, folder or address to the desktop and, when that fails, says so in an
// information box naming what could not be opened and why.

#include <QStringList>

class QWidget;

namespace stv
{

// The box's text for a failed launch of `target` with the shell's reason.
QString launchFailureText(const QString &target, const QString &reason);

// The question asked before a link starts a program.
QString programQuestion(const QString &program, const QStringList &arguments);

// True when the desktop took the target; false after the box. A target that would start a
// program is first named in a question whose default answer is No; only Yes starts it.
bool launchOrSay(QWidget *parent, const QString &target);

} // namespace stv
