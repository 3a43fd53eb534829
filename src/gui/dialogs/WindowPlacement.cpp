#include "gui/dialogs/WindowPlacement.h"

#include "gui/dialogs/DecisionBox.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace stv
{

std::vector<ScreenRect> currentScreens()
{
    std::vector<ScreenRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        screens.push_back({ g.left(), g.top(), g.width(), g.height() });
    }
    return screens;
}

bool placeWindow(QWidget *window, int left, int top)
{
    return placeWindow(window, left, top, window->width(), window->height());
}

bool placeWindow(QWidget *window, int left, int top, int width, int height)
{
    if (!placeIsReachable({ left, top, width, height }, currentScreens()))
        return false;
    window->resize(width, height);
    window->move(left, top);
    return true;
}

void applyConfiguration(const Configuration &config, const ConfiguredWindows &windows)
{
    if (windows.mainWindow)
        placeWindow(windows.mainWindow, config.mainLeft, config.mainTop);
    if (windows.sectionManager)
        placeWindow(
            windows.sectionManager, config.smLeft, config.smTop, config.smWidth, config.smHeight);
    if (windows.decisionBox)
        windows.decisionBox->setItemIndex(config.decisionItem);
}

Configuration collectConfiguration(const ConfiguredWindows &windows, const PageOptions &options)
{
    Configuration config;
    config.pageOptions = options;
    if (windows.mainWindow) {
        config.mainTop = windows.mainWindow->y();
        config.mainLeft = windows.mainWindow->x();
    }
    if (const QWidget *sm = windows.sectionManager) {
        config.smTop = sm->y();
        config.smLeft = sm->x();
        config.smWidth = sm->width();
        config.smHeight = sm->height();
    }
    if (windows.decisionBox)
        config.decisionItem = windows.decisionBox->itemIndex();
    return config;
}

} // namespace stv
