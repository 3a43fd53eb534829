#include "core/settings/Config.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"

#include <algorithm>

namespace stv
{

namespace
{

std::string inFolder(const std::string &folder, const char *name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

void appendError(std::string &all, const std::string &error)
{
    if (error.empty())
        return;
    if (!all.empty())
        all += "\n\n";
    all += error;
}

} // namespace

bool Configuration::operator==(const Configuration &o) const
{
    return mainTop == o.mainTop && mainLeft == o.mainLeft && smTop == o.smTop && smLeft == o.smLeft
        && smWidth == o.smWidth && smHeight == o.smHeight && decisionItem == o.decisionItem
        && pageOptions.siteLastUpdated == o.pageOptions.siteLastUpdated
        && pageOptions.updateBlack == o.pageOptions.updateBlack;
}

Configuration parseConfiguration(const std::vector<std::string> &lines)
{
    Configuration config;
    const auto has = [&](std::size_t line) { return lines.size() > line; };
    const auto value = [&](std::size_t line) { return leadingInt(lines[line]); };

    if (has(0))
        config.mainTop = value(0);
    if (has(1))
        config.mainLeft = value(1);
    if (has(2))
        config.smTop = value(2);
    if (has(3))
        config.smLeft = value(3);
    if (has(4) && value(4) > 0)
        config.smWidth = value(4);
    if (has(5) && value(5) > 0)
        config.smHeight = value(5);
    if (has(6)) {
        const int item = value(6);
        config.decisionItem
            = (item >= OpenLastProject && item <= DontShowAgain) ? item : OpenLastProject;
    }
    if (has(7))
        config.pageOptions.siteLastUpdated = value(7) != 0;
    if (has(8))
        config.pageOptions.updateBlack = value(8) != 0;
    return config;
}

std::vector<std::string> configurationLines(const Configuration &config)
{
    return { intText(config.mainTop), intText(config.mainLeft), intText(config.smTop),
        intText(config.smLeft), intText(config.smWidth), intText(config.smHeight),
        intText(config.decisionItem), config.pageOptions.siteLastUpdated ? "1" : "0",
        config.pageOptions.updateBlack ? "1" : "0" };
}

Result<bool> loadConfiguration(
    const std::string &folder, Configuration &config, FavouriteLists &lists)
{
    std::string errors;
    const auto failed = [&](const std::string &path, const std::string &error) {
        // What could not be read is not written over at exit either.
        keepUnreadFile(path);
        appendError(errors, error + " (the file is kept as it is)");
    };
    const std::pair<const char *, std::vector<std::string> *> listFiles[] = {
        { ColourListFile, &lists.colours },
        { LinkListFile, &lists.links },
        { ImageListFile, &lists.images },
    };

    // A folder in a file's place is something there that cannot be read, not a first run.
    const auto present
        = [](const std::string &path) { return fileExists(path) || folderExists(path); };
    const std::string configPath = inFolder(folder, ConfigFileName);
    if (!present(configPath))
        return false;
    const Result<std::vector<std::string>> lines = readLinesFile(configPath, ConfigFileLimit);
    if (!lines) {
        // Unreadable: start as on a first run, and say why. The list files are not read
        // without the configuration, so they are kept as they are too.
        failed(configPath, lines.error());
        for (const auto &[name, list] : listFiles)
            if (present(inFolder(folder, name)))
                keepUnreadFile(inFolder(folder, name));
        return fail(errors);
    }
    releaseUnreadFile(configPath);
    config = parseConfiguration(lines.value());

    for (const auto &[name, list] : listFiles) {
        const std::string path = inFolder(folder, name);
        if (!present(path))
            continue;
        Result<std::vector<std::string>> items = readLinesFile(path, ListFileLimit);
        if (items) {
            releaseUnreadFile(path);
            *list = std::move(items.value());
        } else {
            failed(path, items.error());
        }
    }
    if (!errors.empty())
        return fail(errors);
    return true;
}

Result<> saveConfiguration(
    const std::string &folder, const Configuration &config, const FavouriteLists &lists)
{
    std::string errors;
    const auto write = [&](const char *name, const std::vector<std::string> &lines) {
        if (const Result<> written = writeLinesFile(inFolder(folder, name), lines); !written)
            appendError(errors, written.error());
    };
    write(ConfigFileName, configurationLines(config));
    write(ColourListFile, lists.colours);
    write(LinkListFile, lists.links);
    write(ImageListFile, lists.images);
    if (!errors.empty())
        return fail(errors);
    return {};
}

Result<> saveFavouriteList(const std::string &folder, const char *listFile,
    const std::vector<std::string> &entries, const Configuration &config)
{
    if (const std::string configPath = inFolder(folder, ConfigFileName); !fileExists(configPath))
        if (Result<> written = writeLinesFile(configPath, configurationLines(config)); !written)
            return written;
    return writeLinesFile(inFolder(folder, listFile), entries);
}

bool placeIsReachable(const ScreenRect &window, const std::vector<ScreenRect> &screens)
{
    // The band that carries the title bar must show at least this much on one screen.
    constexpr int MinVisibleWidth = 48;
    constexpr int BandHeight = 24;
    const long long bandTop = window.top;
    const long long bandBottom = static_cast<long long>(window.top) + BandHeight;
    const long long left = window.left;
    const long long right = static_cast<long long>(window.left) + std::max(window.width, 1);
    const long long need = std::min<long long>(MinVisibleWidth, std::max(window.width, 1));

    for (const ScreenRect &s : screens) {
        const long long sLeft = s.left, sRight = static_cast<long long>(s.left) + s.width;
        const long long sTop = s.top, sBottom = static_cast<long long>(s.top) + s.height;
        const long long w = std::min(right, sRight) - std::max(left, sLeft);
        // The title bar's top must be on the screen, not above it.
        const bool topOnScreen = bandTop >= sTop && bandBottom <= sBottom;
        if (w >= need && topOnScreen)
            return true;
    }
    return false;
}

} // namespace stv
