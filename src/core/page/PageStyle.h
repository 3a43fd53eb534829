#pragma once
// The two ways of writing the page: "classic", the page exactly as it was always written, and
// "modern", a valid HTML page that fits phones. The choice and the page's language come from
// the settings file; the command line can override the style.

#include "core/Result.h"
#include "core/settings/Settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace stv
{

enum class PageStyle { Classic, Modern };
struct PageOptions;

// "classic" or "modern".
std::string_view pageStyleName(PageStyle style);
// The style a word names (letter case ignored), or nothing for any other word.
std::optional<PageStyle> parsePageStyle(std::string_view word);

// The page style the settings choose: Classic when the setting is missing or unreadable, so a
// program folder from before the choice existed keeps writing the pages it always wrote.
PageStyle pageStyleOf(const Settings &settings);
// The language written into the modern page's <html lang>: the "page-language" setting when
// it is a valid language tag, else the desktop's.
std::string pageLanguageOf(const Settings &settings);

// Sets the options' page style and language from the settings.
void applyPageSettings(const Settings &settings, PageOptions &options);
// The same from the settings file of the program folder `folder`. A file that cannot be read
// leaves the Classic page in the desktop's language, and says why.
Result<> loadPageSettings(const std::string &folder, PageOptions &options);

// Keeps the chosen style in the settings file of `folder`, the file's other lines as they
// were. A settings file that exists but cannot be read is not written over.
Result<> savePageStyle(const std::string &folder, PageStyle style);

// The desktop locale's language as a language tag ("en", "pt-BR") from LC_ALL, LC_MESSAGES
// and LANG in that order; "en" when they name none ("C", "POSIX" or nothing).
std::string desktopLanguage();
// A language tag as HTML accepts it: letters, digits and "-" in subtags of 1 to 8, the first
// of letters; a locale's "_" becomes "-" and its ".UTF-8" or "@euro" is dropped. Empty when
// the text is no such tag.
std::string languageTag(std::string_view text);

// The settings at start-up. A first start (a program folder without "Sitorva.config") that
// has not chosen a style yet writes Modern into the settings file; any other start leaves
// the file alone. The settings read (with that choice) are given back.
Result<Settings> settingsAtStartup(const std::string &folder, bool configFound);

} // namespace stv
