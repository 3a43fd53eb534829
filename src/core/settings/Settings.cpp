#include "core/settings/Settings.h"

#include "core/files/FileIO.h"

#include <algorithm>
#include <charconv>

namespace stv
{

namespace
{

std::string oneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (const char c : text) {
        if (c != '\r' && c != '\n')
            line += c;
    }
    return line;
}

} // namespace

std::string Settings::value(std::string_view key, std::string_view fallback) const
{
    for (const auto &[k, v] : m_entries) {
        if (k == key)
            return v;
    }
    return std::string(fallback);
}

long long Settings::number(std::string_view key, long long fallback) const
{
    const std::string text = value(key);
    long long result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return fallback;
    return result;
}

bool Settings::contains(std::string_view key) const
{
    return std::any_of(
        m_entries.begin(), m_entries.end(), [&](const auto &e) { return e.first == key; });
}

void Settings::set(std::string_view key, std::string_view value)
{
    std::string cleanKey = oneLine(key);
    cleanKey.erase(std::remove(cleanKey.begin(), cleanKey.end(), '='), cleanKey.end());
    if (cleanKey.empty())
        return;
    for (auto &[k, v] : m_entries) {
        if (k == cleanKey) {
            v = oneLine(value);
            return;
        }
    }
    m_entries.emplace_back(std::move(cleanKey), oneLine(value));
}

void Settings::remove(std::string_view key)
{
    std::erase_if(m_entries, [&](const auto &e) { return e.first == key; });
}

std::string Settings::text() const
{
    std::string bytes;
    for (const auto &[k, v] : m_entries)
        bytes += k + "=" + v + "\r\n";
    return bytes;
}

Settings Settings::parse(std::string_view bytes)
{
    Settings settings;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && equals > 0)
            settings.set(line.substr(0, equals), line.substr(equals + 1));
        start = end + 1;
    }
    return settings;
}

Result<Settings> loadSettings(const std::string &folder)
{
    const Result<std::string> read = readWholeFile(folder + SettingsFileName, ConfigFileLimit);
    if (read.missing())
        return Settings {};
    if (!read)
        return read.failure();
    return Settings::parse(read.value());
}

Result<> saveSettings(const std::string &folder, const Settings &settings)
{
    return writeWholeFile(folder + SettingsFileName, settings.text());
}

} // namespace stv
