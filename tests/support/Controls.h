#pragma once
// Finds a window's control by its designed object name, so tests reach controls the way
// automation does rather than through the window's members.

#include <QObject>
#include <QTest>

namespace stv::test
{

template <class T>
T *control(const QObject &window, const char *objectName)
{
    T *found = window.findChild<T *>(QLatin1String(objectName));
    if (found == nullptr)
        qFatal("no control %s in %s", objectName, qPrintable(window.objectName()));
    return found;
}

} // namespace stv::test
