#include "ConfigWindows.h"

#include "DecideUnit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace stv
{

std::vector<ScreenRect> CurrentScreens()
{
    std::vector<ScreenRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        screens.push_back({ g.left(), g.top(), g.width(), g.height() });
    }
    return screens;
}

bool PlaceWindow(QWidget *window, int left, int top)
{
    return PlaceWindow(window, left, top, window->width(), window->height());
}

bool PlaceWindow(QWidget *window, int left, int top, int width, int height)
{
    if (!PlaceIsReachable({ left, top, width, height }, CurrentScreens()))
        return false;
    window->resize(width, height);
    window->move(left, top);
    return true;
}

void ApplyConfiguration(const Configuration &config, const ConfiguredWindows &windows)
{
    if (windows.mainWindow)
        PlaceWindow(windows.mainWindow, config.mainLeft, config.mainTop);
    if (windows.sectionManager)
        PlaceWindow(
            windows.sectionManager, config.smLeft, config.smTop, config.smWidth, config.smHeight);
    if (windows.decisionBox)
        windows.decisionBox->setItemIndex(config.decisionItem);
}

Configuration CollectConfiguration(const ConfiguredWindows &windows, const PageOptions &options)
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
