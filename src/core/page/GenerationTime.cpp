#include "core/page/GenerationTime.h"

#include "core/text/Cp1252.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace stv
{

std::string formatLastUpdated(const GenerationTime &when, const DateNames &names)
{
    auto two = [](int v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d", v);
        return std::string(buf);
    };
    char year[16];
    std::snprintf(year, sizeof year, "%04d", when.year);
    const std::size_t weekday = static_cast<std::size_t>((when.weekday + 6) % 7);
    const std::size_t month = static_cast<std::size_t>((when.month + 11) % 12);
    return names.days[weekday] + ", " + two(when.day) + " " + names.months[month] + ", " + year
        + ".  " + two(when.hour) + ":" + two(when.minute) + ":" + two(when.second);
}

GenerationTime generationTimeNow()
{
    std::time_t now = std::time(nullptr);
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        char *end = nullptr;
        errno = 0;
        const long long value = std::strtoll(epoch, &end, 10);
        if (errno == 0 && end != nullptr && *end == '\0')
            now = static_cast<std::time_t>(value);
    }
    std::tm local {};
    localtime_r(&now, &local);
    GenerationTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.weekday = local.tm_wday == 0 ? 7 : local.tm_wday;
    return t;
}

namespace
{

// A locale's text as UTF-8: most locales are UTF-8 already; others go through iconv.
std::string localeTextToUtf8(const char *text, const char *codeset)
{
    std::string in(text);
    if (std::string_view(codeset) == "UTF-8")
        return in;
    iconv_t convert = ::iconv_open("UTF-8", codeset);
    if (convert == reinterpret_cast<iconv_t>(-1))
        return in;
    std::string out(in.size() * 4 + 4, '\0');
    char *from = in.data();
    char *to = out.data();
    std::size_t fromLeft = in.size();
    std::size_t toLeft = out.size();
    const bool ok
        = ::iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(convert);
    if (!ok)
        return in;
    out.resize(out.size() - toLeft);
    return out;
}

} // namespace

DateNames systemDateNames()
{
    DateNames names;
    const locale_t locale = ::newlocale(LC_TIME_MASK, "", nullptr);
    if (locale == nullptr)
        return names;
    const char *codeset = ::nl_langinfo_l(CODESET, locale);
    static constexpr nl_item Days[7] = { DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7, DAY_1 };
    static constexpr nl_item Months[12]
        = { MON_1, MON_2, MON_3, MON_4, MON_5, MON_6, MON_7, MON_8, MON_9, MON_10, MON_11, MON_12 };
    for (std::size_t d = 0; d < 7; ++d)
        names.days[d] = utf8ToCp1252(localeTextToUtf8(::nl_langinfo_l(Days[d], locale), codeset));
    for (std::size_t m = 0; m < 12; ++m)
        names.months[m]
            = utf8ToCp1252(localeTextToUtf8(::nl_langinfo_l(Months[m], locale), codeset));
    ::freelocale(locale);
    return names;
}

} // namespace stv
