#include "gui/desktop/PageLocale.h"

#include "gui/desktop/Encoding.h"

#include <QLocale>

namespace stv
{

DateNames localeDateNames()
{
    const QLocale locale = QLocale::system();
    DateNames names;
    for (int d = 1; d <= 7; ++d)
        names.days[static_cast<std::size_t>(d - 1)]
            = toCp1252(locale.dayName(d, QLocale::LongFormat));
    for (int m = 1; m <= 12; ++m)
        names.months[static_cast<std::size_t>(m - 1)]
            = toCp1252(locale.monthName(m, QLocale::LongFormat));
    return names;
}

} // namespace stv
