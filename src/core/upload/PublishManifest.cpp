#include "core/upload/PublishManifest.h"

#include "core/text/TextTools.h"

#include <charconv>
#include <cstdio>

namespace stv
{

namespace
{

std::string timeText(const std::optional<CivilTime> &t)
{
    if (!t)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t->year, t->month, t->day, t->hour,
        t->minute, t->second);
    return text;
}

bool digits(std::string_view s, int &value)
{
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

std::optional<CivilTime> parseTime(std::string_view s)
{
    CivilTime t;
    if (s.size() != 14 || !digits(s.substr(0, 4), t.year) || !digits(s.substr(4, 2), t.month)
        || !digits(s.substr(6, 2), t.day) || !digits(s.substr(8, 2), t.hour)
        || !digits(s.substr(10, 2), t.minute) || !digits(s.substr(12, 2), t.second))
        return std::nullopt;
    return t;
}

bool isHex(std::string_view s)
{
    if (s.size() != 64)
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

Manifest parseManifest(std::string_view text)
{
    Manifest out;
    // Looked at before anything is taken apart: the record comes from the server, and a large
    // one of empty lines would cost far more to split than it weighs.
    if (text.size() > static_cast<std::size_t>(MaxManifestBytes))
        return out;
    LineCursor cursor(text);
    std::string_view line;
    if (!cursor.next(line) || line != ManifestHeader)
        return out;
    while (cursor.next(line)) {
        // "sha256 size time name": the name is the rest of the line, blanks included.
        std::size_t pos = 0;
        std::string_view fields[3];
        bool ok = true;
        for (std::string_view &field : fields) {
            const std::size_t space = line.find(' ', pos);
            if (space == std::string_view::npos) {
                ok = false;
                break;
            }
            field = line.substr(pos, space - pos);
            pos = space + 1;
        }
        const std::string_view name = ok ? line.substr(pos) : std::string_view();
        ManifestEntry entry;
        entry.sha256 = std::string(fields[0]);
        const auto [end, ec]
            = std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), entry.size);
        if (!ok || name.empty() || !isHex(fields[0]) || ec != std::errc()
            || end != fields[1].data() + fields[1].size() || entry.size < 0)
            continue;
        entry.listed = parseTime(fields[2]);
        out[std::string(name)] = entry;
    }
    return out;
}

std::string formatManifest(const Manifest &manifest)
{
    std::string out = std::string(ManifestHeader) + "\n";
    for (const auto &[name, entry] : manifest)
        out += entry.sha256 + " " + std::to_string(entry.size) + " " + timeText(entry.listed) + " "
            + name + "\n";
    return out;
}

bool sameListedTime(const std::optional<CivilTime> &a, const std::optional<CivilTime> &b)
{
    if (!a || !b)
        return true; // nothing to compare
    if (a->year != b->year || a->month != b->month || a->day != b->day)
        return false;
    const auto midnight
        = [](const CivilTime &t) { return t.hour == 0 && t.minute == 0 && t.second == 0; };
    if (midnight(*a) || midnight(*b))
        return true;
    // LIST shows minutes, MLSD seconds: compare what both have.
    return a->hour == b->hour && a->minute == b->minute
        && (a->second == b->second || a->second == 0 || b->second == 0);
}

} // namespace stv
