#pragma once
// Names for screen readers. Controls named where they are built keep their names; the walk
// names every other control a user can reach from what the eye sees beside it.

#include <QString>

class QColor;
class QWidget;

namespace stv
{

// Gives every focusable or clickable control under `root` that has no accessible name one:
// its caption, the label that is its buddy, the label laid out just before it (which becomes
// its buddy), its tool tip, or the title of the group box it sits in, in that order. Runs once
// a window is built.
void nameControls(QWidget *root);
// "red 255, green 0, blue 0 (#FF0000)"
QString colourDescription(const QColor &colour);

} // namespace stv
