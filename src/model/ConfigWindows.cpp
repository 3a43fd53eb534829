#include "ConfigWindows.h"

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

} // namespace stv
