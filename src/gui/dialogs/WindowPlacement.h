#pragma once
// Puts the windows where the configuration says, but only where the user can still reach
// them: a place saved on a screen that is gone is ignored and the window keeps its own.

#include "core/settings/Config.h"

#include <vector>

class QWidget;

namespace stv
{

class DecisionBox;

// The windows whose state the configuration holds. Any may be null.
struct ConfiguredWindows {
    QWidget *mainWindow = nullptr;
    QWidget *sectionManager = nullptr;
    DecisionBox *decisionBox = nullptr;
};

// Puts the windows where the configuration says (places off every screen are ignored) and
// chooses the decision item; the page options are the caller's. A default Configuration
// gives the designed places, so this runs whether or not the file was there.
void applyConfiguration(const Configuration &config, const ConfiguredWindows &windows);
// The configuration as the windows and the two "&Tools" ticks stand now, for writing at exit.
Configuration collectConfiguration(const ConfiguredWindows &windows, const PageOptions &options);

// The geometry of every screen the desktop has now.
std::vector<ScreenRect> currentScreens();

// Moves a window's frame to left/top when it can be reached there; false when ignored.
bool placeWindow(QWidget *window, int left, int top);
// The same with the size of the window's client area; a place that cannot be reached keeps
// both the window's place and its size.
bool placeWindow(QWidget *window, int left, int top, int width, int height);

} // namespace stv
