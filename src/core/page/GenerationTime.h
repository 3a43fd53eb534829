#pragma once
// The moment a page is generated, for its "Site Last Updated" line, and the names of days and
// months it is written with.

#include <array>
#include <string>

namespace stv
{

// A local date and time and the locale's names, passed in so output is reproducible.
struct GenerationTime {
    int year = 2000, month = 1, day = 1; // month 1 to 12
    int hour = 0, minute = 0, second = 0;
    int weekday = 6; // 1 Monday to 7 Sunday
};
struct DateNames {
    std::array<std::string, 7> days
        = { "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday" };
    std::array<std::string, 12> months = { "January", "February", "March", "April", "May", "June",
        "July", "August", "September", "October", "November", "December" };
};
// "dddd, dd mmmm, yyyy.  hh:nn:ss", e.g. "Monday, 07 December, 2026.  14:05:09".
std::string formatLastUpdated(const GenerationTime &when, const DateNames &names);
// The local time now, or the instant of SOURCE_DATE_EPOCH when it holds an integer.
GenerationTime generationTimeNow();
// The full day and month names of the user's locale (LC_TIME, from the C library), as
// Windows-1252 (characters outside the code page as "&#N;"); English where the locale is
// missing.
DateNames systemDateNames();

} // namespace stv
