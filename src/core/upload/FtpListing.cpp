#include "core/upload/FtpListing.h"

#include "core/text/TextTools.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace stv
{

namespace
{

struct Token {
    std::string_view text;
    std::size_t start = 0;
};

// The first `limit` blank-separated words of a line: enough to reach the name, however many
// blanks a hostile name holds.
std::vector<Token> tokens(std::string_view line, std::size_t limit)
{
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < line.size() && out.size() < limit) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            out.push_back({ line.substr(start, i - start), start });
    }
    return out;
}

std::string_view trimLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

bool allDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Decimal value of a string of digits; false when it is not one or does not fit.
template <typename T>
bool number(std::string_view s, T &value)
{
    if (!allDigits(s))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

int monthNumber(std::string_view s)
{
    static constexpr std::array<std::string_view, 12> names
        = { "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC" };
    if (s.size() != 3)
        return 0;
    const std::string upper = upperAscii(s);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (upper == names[i])
            return static_cast<int>(i) + 1;
    return 0;
}

bool isDotEntry(std::string_view name)
{
    return name == "." || name == "..";
}

void setName(FtpEntry &entry, std::string_view name)
{
    entry.nameCut = name.size() > MaxNameBytes;
    entry.name = entry.nameCut ? cutUtf8(name, MaxNameBytes) : std::string(name);
}

std::optional<FtpEntry> parseUnixLine(
    std::string_view line, const std::vector<Token> &t, const CivilTime &today)
{
    const std::string_view perms = t[0].text;
    if (perms.size() < 10 || std::string_view("-dlbcps").find(perms[0]) == std::string_view::npos)
        return std::nullopt;
    // The owner and group columns vary (some servers leave the group out), so look for the
    // size, month, day and time-or-year run that every variant has.
    for (std::size_t i = 2; i + 3 < t.size(); ++i) {
        const int month = monthNumber(t[i].text);
        int day = 0;
        long long size = 0;
        if (month == 0 || !number(t[i + 1].text, day) || day < 1 || day > 31
            || !number(t[i - 1].text, size))
            continue;
        CivilTime when { 0, month, day, 0, 0, 0 };
        const std::string_view timeOrYear = t[i + 2].text;
        if (timeOrYear.size() == 5 && timeOrYear[2] == ':') {
            if (!number(timeOrYear.substr(0, 2), when.hour)
                || !number(timeOrYear.substr(3, 2), when.minute))
                continue;
            // Without a year the date is within the last twelve months.
            when.year = today.year;
            if (month > today.month || (month == today.month && day > today.day + 1))
                when.year = today.year - 1;
        } else if (!number(timeOrYear, when.year)) {
            continue;
        }
        std::string_view name = line.substr(t[i + 3].start);
        if (perms[0] == 'l') {
            const std::size_t arrow = name.find(" -> ");
            if (arrow != std::string_view::npos)
                name = name.substr(0, arrow);
        }
        if (isDotEntry(name))
            return std::nullopt;
        FtpEntry entry;
        setName(entry, name);
        entry.size = size;
        entry.isDirectory = perms[0] == 'd';
        entry.modified = when;
        return entry;
    }
    return std::nullopt;
}

std::optional<FtpEntry> parseDosLine(std::string_view line, const std::vector<Token> &t)
{
    // Date "MM-DD-YY" or "MM-DD-YYYY".
    const std::string_view date = t[0].text;
    if (date.size() != 8 && date.size() != 10)
        return std::nullopt;
    if ((date[2] != '-' && date[2] != '/') || date[5] != date[2])
        return std::nullopt;
    CivilTime when;
    if (!number(date.substr(0, 2), when.month) || !number(date.substr(3, 2), when.day)
        || !number(date.substr(6), when.year))
        return std::nullopt;
    if (date.size() == 8)
        when.year += when.year < 70 ? 2000 : 1900;
    // Time "HH:MM", then "AM"/"PM" attached or as a token of its own, or a 24-hour clock.
    std::string_view time = t[1].text;
    std::size_t next = 2;
    std::string_view half;
    if (time.size() >= 2) {
        const std::string tail = upperAscii(time.substr(time.size() - 2));
        if (tail == "AM" || tail == "PM") {
            half = time.substr(time.size() - 2);
            time.remove_suffix(2);
        }
    }
    if (half.empty() && t.size() > 2) {
        const std::string word = upperAscii(t[2].text);
        if (word == "AM" || word == "PM") {
            half = t[2].text;
            next = 3;
        }
    }
    const std::size_t colon = time.find(':');
    if (colon == std::string_view::npos || !number(time.substr(0, colon), when.hour)
        || !number(time.substr(colon + 1), when.minute))
        return std::nullopt;
    if (!half.empty()) {
        if (when.hour < 1 || when.hour > 12)
            return std::nullopt;
        const bool pm = upperAscii(half) == "PM";
        when.hour = when.hour % 12 + (pm ? 12 : 0);
    }
    if (next + 1 >= t.size())
        return std::nullopt;
    FtpEntry entry;
    if (upperAscii(t[next].text) == "<DIR>")
        entry.isDirectory = true;
    else if (!number(t[next].text, entry.size))
        return std::nullopt;
    const std::string_view name = line.substr(t[next + 1].start);
    if (isDotEntry(name))
        return std::nullopt;
    setName(entry, name);
    entry.modified = when;
    return entry;
}

// "YYYYMMDDHHMMSS" with an optional fraction.
std::optional<CivilTime> mlsdTime(std::string_view value)
{
    if (value.size() < 14)
        return std::nullopt;
    CivilTime t;
    if (!number(value.substr(0, 4), t.year) || !number(value.substr(4, 2), t.month)
        || !number(value.substr(6, 2), t.day) || !number(value.substr(8, 2), t.hour)
        || !number(value.substr(10, 2), t.minute) || !number(value.substr(12, 2), t.second))
        return std::nullopt;
    return t;
}

} // namespace

std::optional<DosDateTime> toDosDateTime(const CivilTime &t)
{
    if (t.year < 1980 || t.year > 2107 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31
        || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0
        || t.second > 59)
        return std::nullopt;
    DosDateTime d;
    d.date = static_cast<std::uint16_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
    d.time = static_cast<std::uint16_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
    return d;
}

CivilTime fromDosDateTime(DosDateTime d)
{
    CivilTime t;
    t.day = d.date & 0x1F;
    t.month = (d.date >> 5) & 0x0F;
    t.year = 1980 + (d.date >> 9);
    t.second = 2 * (d.time & 0x1F);
    t.minute = (d.time >> 5) & 0x3F;
    t.hour = d.time >> 11;
    return t;
}

std::optional<FtpEntry> parseMlsdLine(std::string_view line)
{
    line = trimLineEnd(line);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0)
        return std::nullopt;
    const std::string_view facts = line.substr(0, space);
    const std::string_view name = line.substr(space + 1);
    if (name.empty() || facts.find('=') == std::string_view::npos)
        return std::nullopt;
    FtpEntry entry;
    if (isDotEntry(name))
        return std::nullopt;
    setName(entry, name);
    std::size_t pos = 0;
    while (pos < facts.size()) {
        std::size_t end = facts.find(';', pos);
        if (end == std::string_view::npos)
            end = facts.size();
        const std::string_view fact = facts.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t eq = fact.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string key = upperAscii(fact.substr(0, eq));
        const std::string_view value = fact.substr(eq + 1);
        if (key == "TYPE") {
            const std::string type = upperAscii(value);
            if (type == "CDIR" || type == "PDIR")
                return std::nullopt;
            entry.isDirectory = type == "DIR";
        } else if (key == "SIZE" || key == "SIZD") {
            long long size = 0;
            if (number(value, size))
                entry.size = size;
        } else if (key == "MODIFY") {
            entry.modified = mlsdTime(value);
        }
    }
    return entry;
}

std::optional<FtpEntry> parseListLine(std::string_view line, const CivilTime &today)
{
    line = trimLineEnd(line);
    const std::vector<Token> t = tokens(line, 24);
    if (t.size() < 4)
        return std::nullopt;
    if (!t[0].text.empty() && t[0].text[0] >= '0' && t[0].text[0] <= '9')
        return parseDosLine(line, t);
    return parseUnixLine(line, t, today);
}

std::vector<FtpEntry> parseListing(std::string_view body, bool mlsd, const CivilTime &today,
    std::size_t maxEntries, bool *cut, const std::function<bool()> &stop)
{
    std::vector<FtpEntry> entries;
    if (cut != nullptr)
        *cut = false;
    std::size_t pos = 0;
    std::size_t lines = 0;
    while (pos < body.size()) {
        if (stop && ++lines % 4096 == 0 && stop())
            break;
        std::size_t end = body.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = body.size();
        const std::string_view line = body.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty())
            continue;
        std::optional<FtpEntry> entry = mlsd ? parseMlsdLine(line) : parseListLine(line, today);
        if (!entry)
            continue;
        if (entries.size() == maxEntries) {
            if (cut != nullptr)
                *cut = true;
            break;
        }
        entries.push_back(std::move(*entry));
    }
    return entries;
}

std::string cutUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return std::string(text);
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the sequence that does not fit whole.
    std::size_t back = end;
    while (back > 0 && (static_cast<unsigned char>(text[back]) & 0xC0) == 0x80 && end - back < 4)
        --back;
    if ((static_cast<unsigned char>(text[back]) & 0xC0) == 0xC0)
        end = back;
    return std::string(text.substr(0, end));
}

std::string serverText(std::string_view text, std::size_t maxBytes)
{
    std::string out;
    out.reserve(std::min(text.size(), maxBytes));
    bool blank = false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            blank = !out.empty();
            continue;
        }
        if (blank && c != ' ')
            out += ' ';
        blank = false;
        out += ch;
        if (out.size() > maxBytes + 4)
            break;
    }
    if (out.size() > maxBytes)
        return cutUtf8(out, maxBytes) + "...";
    return out;
}

ListingRow makeListingRow(const FtpEntry &entry)
{
    ListingRow row;
    row.name = entry.name;
    if (!entry.isDirectory && entry.size > 0)
        row.size = intText(entry.size);
    if (entry.modified) {
        if (const std::optional<DosDateTime> dos = toDosDateTime(*entry.modified))
            row.date = fromDosDateTime(*dos);
    }
    return row;
}

std::string localNameForDownload(std::string_view remoteName)
{
    std::string kept; // without control characters, folders flattened
    for (const char c : remoteName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            continue;
        kept += (c == '/' || c == '\\') ? '_' : c;
    }
    std::string name; // each ".." a "_", so no name leads upwards
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] == '.' && i + 1 < kept.size() && kept[i + 1] == '.') {
            name += '_';
            ++i;
        } else {
            name += kept[i];
        }
    }
    name.erase(0, name.find_first_not_of(". "));
    // What is left of a name made only of dots and separators says nothing.
    if (name.find_first_not_of("._ ") == std::string::npos)
        return "download";
    return name;
}

} // namespace stv
