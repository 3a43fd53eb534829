#pragma once
// The record of what was published to a remote folder, kept in that folder as a small text
// file: one line per file with its SHA-256, its size, the time the folder's listing showed
// for it after the upload, and its name.

#include "core/upload/FtpListing.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace stv
{

inline constexpr const char *ManifestName = ".sitorva-publish";
inline constexpr const char *ManifestHeader = "Sitorva publish record 1";
// A record larger than this is neither fetched whole nor read: it would be someone else's
// file. A line is about a hundred bytes, so this holds thousands of files.
inline constexpr long long MaxManifestBytes = 1024 * 1024;

struct ManifestEntry {
    std::string sha256;
    long long size = 0;
    std::optional<CivilTime> listed; // the listing's time after the upload, when it gave one
    bool operator==(const ManifestEntry &) const = default;
};
using Manifest = std::map<std::string, ManifestEntry>; // by remote name

// Lines that are not entries are skipped; a text without the header line, or larger than
// MaxManifestBytes, is no record.
Manifest parseManifest(std::string_view text);
std::string formatManifest(const Manifest &manifest);

// Whether two listing times are the same moment as far as listings can tell: a listing of
// older files shows the date only, so a time of midnight matches any time of that day.
bool sameListedTime(const std::optional<CivilTime> &a, const std::optional<CivilTime> &b);

} // namespace stv
