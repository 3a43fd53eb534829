#include "core/page/PageStyle.h"

#include "core/settings/FavouriteLists.h"
#include "core/text/TextTools.h"

#include <cstdlib>

namespace stv
{

namespace
{

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view pageStyleName(PageStyle style)
{
    return style == PageStyle::Modern ? "modern" : "classic";
}

std::optional<PageStyle> parsePageStyle(std::string_view word)
{
    if (equalsIgnoreCase(word, "modern"))
        return PageStyle::Modern;
    if (equalsIgnoreCase(word, "classic"))
        return PageStyle::Classic;
    return std::nullopt;
}

PageStyle pageStyleOf(const Settings &settings)
{
    return parsePageStyle(settings.value(settingKey::PageStyle)).value_or(PageStyle::Classic);
}

std::string languageTag(std::string_view text)
{
    // "de_DE.UTF-8@euro" -> "de_DE"
    text = text.substr(0, text.find_first_of(".@"));
    if (text.empty() || text == "C" || text == "POSIX")
        return {};
    std::string tag;
    std::size_t subtagLength = 0;
    bool firstSubtag = true;
    for (const char c : text) {
        if (c == '_' || c == '-') {
            if (subtagLength == 0)
                return {};
            tag += '-';
            subtagLength = 0;
            firstSubtag = false;
            continue;
        }
        const bool allowed = isAsciiLetter(c) || (!firstSubtag && isAsciiDigit(c));
        if (!allowed || ++subtagLength > 8)
            return {};
        // Language lower case, region upper case, as the tags are usually written.
        tag += firstSubtag ? lowerAscii(c) : c;
    }
    if (subtagLength == 0)
        return {};
    return tag;
}

void applyPageSettings(const Settings &settings, PageOptions &options)
{
    options.style = pageStyleOf(settings);
    options.language = pageLanguageOf(settings);
}

Result<> loadPageSettings(const std::string &folder, PageOptions &options)
{
    const Result<Settings> settings = loadSettings(folder);
    applyPageSettings(settings.ok() ? settings.value() : Settings {}, options);
    if (!settings)
        return settings.failure();
    return {};
}

Result<> savePageStyle(const std::string &folder, PageStyle style)
{
    Result<Settings> settings = loadSettings(folder);
    if (!settings)
        return settings.failure();
    settings.value().set(settingKey::PageStyle, pageStyleName(style));
    return saveSettings(folder, settings.value());
}

std::string desktopLanguage()
{
    for (const char *name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        const char *value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        // The first variable that is set decides, as it does for the C library.
        const std::string tag = languageTag(value);
        return tag.empty() ? std::string("en") : tag;
    }
    return "en";
}

std::string pageLanguageOf(const Settings &settings)
{
    const std::string chosen = languageTag(settings.value(settingKey::PageLanguage));
    return chosen.empty() ? desktopLanguage() : chosen;
}

Result<Settings> settingsAtStartup(const std::string &folder, bool configFound)
{
    Result<Settings> loaded = loadSettings(folder);
    if (!loaded || configFound || loaded.value().contains(settingKey::PageStyle))
        return loaded;
    Settings settings = loaded.value();
    settings.set(settingKey::PageStyle, pageStyleName(PageStyle::Modern));
    if (Result<> saved = saveSettings(folder, settings); !saved)
        return saved.failure();
    return settings;
}

} // namespace stv
