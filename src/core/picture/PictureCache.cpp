#include "core/picture/PictureCache.h"

#include "core/files/FileIO.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

namespace stv
{

namespace
{

// A stable 64-bit hash (FNV-1a) for entry names; the stamp holds the whole key, so a
// collision only makes a picture again.
std::string hashText(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return digits;
}

// What a picture is made from, one "name value" line each.
std::string stampKey(const std::string &source, const struct stat &info, const PictureRules &rules)
{
    char modified[48];
    std::snprintf(modified, sizeof modified, "%lld.%09ld",
        static_cast<long long>(info.st_mtim.tv_sec), static_cast<long>(info.st_mtim.tv_nsec));
    return "sitorva picture " + std::to_string(PictureRulesVersion) + "\nsource " + source
        + "\nsize " + std::to_string(info.st_size) + "\nmodified " + modified + "\nlongest-side "
        + std::to_string(rules.longestSide) + "\nquality " + std::to_string(rules.quality) + "\n";
}

struct StampResult {
    bool found = false;
    bool asItIs = false;
    long long bytes = 0; // of the picture made
    int width = 0;
    int height = 0;
};

// The last line of a stamp that begins with `key`: "as-is W H" or "made BYTES W H".
StampResult readStamp(const std::string &path, const std::string &key)
{
    StampResult stamp;
    const Result<std::string> read = readWholeFile(path, 1 << 16);
    if (!read || read.value().compare(0, key.size(), key) != 0)
        return stamp;
    const std::string &text = read.value();
    const std::string last = text.substr(key.size());
    if (std::sscanf(last.c_str(), "as-is %d %d", &stamp.width, &stamp.height) == 2)
        stamp.asItIs = stamp.found = true;
    else if (std::sscanf(last.c_str(), "made %lld %d %d", &stamp.bytes, &stamp.width, &stamp.height)
        == 3)
        stamp.found = true;
    return stamp;
}

// Removes the entries made before from the same source under other stamps.
void removeOlderEntries(
    const std::string &folder, const std::string &sourcePrefix, const std::string &keep)
{
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(sourcePrefix, 0) == 0 && name.rfind(keep, 0) != 0)
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace

PictureCache::PictureCache(std::string folder, PictureRules rules)
    : m_folder(std::move(folder))
    , m_rules(rules)
{
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
}

Result<ReadyPicture> PictureCache::prepare(const std::string &source)
{
    std::error_code ec;
    const std::string path = std::filesystem::absolute(source, ec).lexically_normal().string();
    struct stat info {
    };
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        // Nothing to keep: the maker says why the file cannot be read.
        Result<WebPicture> made = makeWebPicture(source, m_rules);
        if (!made)
            return made.failure();
        return fail("it cannot be read");
    }
    const std::string key = stampKey(path, info, m_rules);
    const std::string sourcePrefix = hashText(path) + "-";
    const std::string entry = sourcePrefix + hashText(key);
    const std::string stampPath = m_folder + entry + ".stamp";
    const std::string picturePath = m_folder + entry + ".picture";

    const StampResult stamp = readStamp(stampPath, key);
    if (stamp.found && stamp.asItIs)
        return ReadyPicture { path, stamp.width, stamp.height };
    struct stat kept {
    };
    if (stamp.found && ::stat(picturePath.c_str(), &kept) == 0 && kept.st_size == stamp.bytes)
        return ReadyPicture { picturePath, stamp.width, stamp.height };

    ++m_madeCount;
    Result<WebPicture> made = makeWebPicture(path, m_rules);
    if (!made)
        return made.failure();
    const WebPicture &picture = made.value();
    std::filesystem::create_directories(m_folder, ec);
    std::string result;
    if (picture.asItIs) {
        result = "as-is " + std::to_string(picture.width) + " " + std::to_string(picture.height);
    } else {
        const Result<> written = writeWholeFile(picturePath, picture.bytes);
        if (!written)
            return fail("the picture made ready for the web could not be kept: " + written.error());
        result = "made " + std::to_string(picture.bytes.size()) + " "
            + std::to_string(picture.width) + " " + std::to_string(picture.height);
    }
    // A stamp that cannot be written only means the picture is made again next time.
    (void)writeWholeFile(stampPath, key + result + "\n");
    removeOlderEntries(m_folder, sourcePrefix, entry);
    if (picture.asItIs)
        return ReadyPicture { path, picture.width, picture.height };
    return ReadyPicture { picturePath, picture.width, picture.height };
}

} // namespace stv
