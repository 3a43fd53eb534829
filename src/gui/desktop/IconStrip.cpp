#include "gui/desktop/IconStrip.h"

#include <QString>

#include <array>

// The resource of a static library must be registered by hand, outside any namespace.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace stv
{

const QPixmap &stripIcon(int n)
{
    static const QPixmap none;
    static std::array<QPixmap, StripIconCount> icons;
    static bool loaded = false;
    if (!loaded) {
        initIconResources();
        for (int i = 0; i < StripIconCount; ++i)
            icons[static_cast<std::size_t>(i)]
                = QPixmap(QStringLiteral(":/icons/strip/%1.png").arg(i, 2, 10, QLatin1Char('0')));
        loaded = true;
    }
    if (n < 0 || n >= StripIconCount)
        return none;
    return icons[static_cast<std::size_t>(n)];
}

} // namespace stv
