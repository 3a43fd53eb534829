#pragma once
// "Sitorva.settings" in the program folder: what the program remembers beyond the nine
// designed lines of "Sitorva.config" (page style, preview, pictures, ...), as plain
// "key=value" lines. Read leniently (a line without "=" is passed over, a key read twice keeps
// its last value, unknown keys are kept and written back), written atomically.

#include "core/Result.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stv
{

inline constexpr const char *SettingsFileName = "Sitorva.settings";

// Every key the program stores, in one place.
namespace settingKey
{
inline constexpr std::string_view PageStyle = "page-style"; // "modern" or "classic"
inline constexpr std::string_view PageLanguage = "page-language"; // e.g. "en"; empty: the locale's
// Hosts ("host:port", separated by blanks) that get a password over plain FTP without a question.
inline constexpr std::string_view PlainFtpHosts = "plain-ftp-hosts";
// The project files that keep their FTP password in the file: their paths as one record.
inline constexpr std::string_view PasswordInProjectFile = "password-in-project-file";
// "1" once the user was told that no keyring runs and passwords stay in project files.
inline constexpr std::string_view NoKeyringNoticeShown = "no-keyring-notice-shown";
// The longest side, in pixels, of a picture made ready for the web (modern style).
inline constexpr std::string_view PictureLongestSide = "picture-longest-side";
// The live preview pane: "1" when it is shown, its width in pixels, and the width in CSS
// pixels the page is laid out at in it (390, 768 or 1280).
inline constexpr std::string_view PreviewShown = "preview-shown";
inline constexpr std::string_view PreviewPaneWidth = "preview-pane-width";
inline constexpr std::string_view PreviewLayoutWidth = "preview-layout-width";
// The page each project wrote last: project and page paths in pairs, the latest first.
inline constexpr std::string_view LastPages = "last-pages";
// The folder of the file last chosen in a file dialog, where the next one starts when no
// project folder is known.
inline constexpr std::string_view LastFileFolder = "last-file-folder";
} // namespace settingKey

class Settings
{
public:
    // The value of key, or fallback when it is not set.
    std::string value(std::string_view key, std::string_view fallback = {}) const;
    // The value read as a whole number; fallback when unset or not a number.
    long long number(std::string_view key, long long fallback) const;
    bool contains(std::string_view key) const;
    // Sets key (no "=", CR or LF in it) to value (CR and LF are dropped: one line each).
    void set(std::string_view key, std::string_view value);
    void remove(std::string_view key);

    const std::vector<std::pair<std::string, std::string>> &entries() const { return m_entries; }
    std::string text() const; // the file's bytes
    static Settings parse(std::string_view bytes);

    bool operator==(const Settings &) const = default;

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

// Reads the settings of the program folder `folder` (a native path ending in "/"). A missing
// file gives empty settings; a file that exists but cannot be read is a failure.
Result<Settings> loadSettings(const std::string &folder);
// Replaces the file whole; a failed write leaves the old file as it was.
Result<> saveSettings(const std::string &folder, const Settings &settings);

} // namespace stv
