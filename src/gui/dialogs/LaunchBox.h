#pragma once
// Hands a file, folder or address to the desktop and, when that fails, says so in an
// information box naming what could not be opened and why.

class QString;
class QWidget;

namespace stv
{

// The box's text for a failed launch of `target` with the shell's reason.
QString launchFailureText(const QString &target, const QString &reason);

// True when the desktop took the target; false after the box.
bool launchOrSay(QWidget *parent, const QString &target);

} // namespace stv
