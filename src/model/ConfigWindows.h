#pragma once
// Puts the windows where the configuration says, but only where the user can still reach
// them: a place saved on a screen that is gone is ignored and the window keeps its own.

#include "Config.h"

#include <vector>

class QWidget;

namespace stv
{

// The geometry of every screen the desktop has now.
std::vector<ScreenRect> CurrentScreens();

// Moves a window's frame to left/top when it can be reached there; false when ignored.
bool PlaceWindow(QWidget *window, int left, int top);
// The same with the size of the window's client area; a place that cannot be reached keeps
// both the window's place and its size.
bool PlaceWindow(QWidget *window, int left, int top, int width, int height);

} // namespace stv
