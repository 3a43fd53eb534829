#pragma once
// Remote directory listings: MLSD lines, Unix and DOS style LIST lines, and the row text the
// upload window shows for each entry. Plain C++, no network and no Qt.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

struct CivilTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0; // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const CivilTime &) const = default;
};

// The packed MS-DOS date and time: day in bits 0-4, month 5-8, year-1980 9-15; seconds/2 in
// bits 0-4, minutes 5-10, hours 11-15.
struct DosDateTime {
    std::uint16_t date = 0;
    std::uint16_t time = 0;
};

// Empty when the time cannot be packed (year outside 1980..2107 or a field out of range).
std::optional<DosDateTime> toDosDateTime(const CivilTime &t);
CivilTime fromDosDateTime(DosDateTime d);

// A listing keeps at most this many entries; a longer one is cut, with a note.
inline constexpr std::size_t MaxListingEntries = 100000;
// Names are kept up to this many bytes: 260 characters of up to four bytes each.
inline constexpr std::size_t MaxNameBytes = 1040;

struct FtpEntry {
    std::string name; // bytes as the server sent them, cut to MaxNameBytes
    long long size = 0;
    bool isDirectory = false;
    std::optional<CivilTime> modified; // as the server reports it, no time-zone conversion
    bool nameCut = false; // the server's name was longer
    bool operator==(const FtpEntry &) const = default;
};

// One MLSD line ("fact=value;fact=value; name"). Empty for the current and parent directory
// entries and for lines that are not entries.
std::optional<FtpEntry> parseMlsdLine(std::string_view line);

// One LIST line in the Unix ("drwxr-xr-x 2 owner group 4096 Jan  5 12:00 name") or DOS
// ("01-05-20  12:00PM  <DIR>  name") format. A Unix date without a year lies in the year up to
// `today`. Empty for "total" lines, "." and "..", and lines of no known format.
std::optional<FtpEntry> parseListLine(std::string_view line, const CivilTime &today);

// The entries of a listing body, in the order the server sent them; at most maxEntries, and
// *cut (when given) tells whether there were more.
// With stop, the parse ends early (with what it has) once stop() says so.
std::vector<FtpEntry> parseListing(std::string_view body, bool mlsd, const CivilTime &today,
    std::size_t maxEntries = MaxListingEntries, bool *cut = nullptr,
    const std::function<bool()> &stop = {});

// The first bytes of text, at most maxBytes, never ending inside a UTF-8 sequence.
std::string cutUtf8(std::string_view text, std::size_t maxBytes);
// Text a server sent, made fit to show: line breaks and other control characters removed,
// cut to maxBytes with "..." after it when it was longer.
std::string serverText(std::string_view text, std::size_t maxBytes = 300);

// What a row of the listing shows: the size in decimal when above 0 and not a directory,
// otherwise empty; the date passed through the MS-DOS fields (2-second steps), empty when the
// server gave none or it cannot be packed.
struct ListingRow {
    std::string name;
    std::string size;
    std::optional<CivilTime> date;
};
ListingRow makeListingRow(const FtpEntry &entry);

// The local file name a download proposes for a remote name: a server chooses its names, so
// "/" and "\\" become "_", control characters go, ".." becomes "_" and leading dots and blanks
// go (no hidden file, no way out of the folder). "download" when nothing is left.
std::string localNameForDownload(std::string_view remoteName);

} // namespace stv
