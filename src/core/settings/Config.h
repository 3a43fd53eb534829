#pragma once
// What the program remembers between runs: "Sitorva.config" (window places, the decision
// box's item, the two "&Tools" ticks) and the three favourite-list files, all in the program
// folder. The configuration is read leniently: a short or damaged file never stops start-up.
// The list files are read only when the configuration exists, and all are written at exit.

#include "core/Result.h"
#include "core/settings/FavouriteLists.h"

#include <string>
#include <vector>

namespace stv
{

inline constexpr const char *ConfigFileName = "Sitorva.config";
inline constexpr int ConfigLineCount = 9;

// Decision box items.
enum DecisionItem {
    OpenLastProject = 0,
    OpenExistingProject = 1,
    StartNewProject = 2,
    DontShowAgain = 3
};

struct Configuration {
    // Main window (designed place left 187, top 45).
    int mainTop = 45;
    int mainLeft = 187;
    // Section Manager (designed left 18, top 45, 165 by 419).
    int smTop = 45;
    int smLeft = 18;
    int smWidth = 165;
    int smHeight = 419;
    int decisionItem = OpenLastProject;
    PageOptions pageOptions; // "&Site Last Updated", "Update &Black"

    bool operator==(const Configuration &other) const;
};

// The nine lines read leniently: missing lines keep their defaults, text that is not a number
// reads as 0, an item outside 0 to 3 reads as 0, a size below 1 keeps its default.
Configuration parseConfiguration(const std::vector<std::string> &lines);
std::vector<std::string> configurationLines(const Configuration &config);

// Reads "Sitorva.config" from folder (a native path) into config and, only when it was read,
// replaces each list of `lists` whose file exists by that file's lines. Without the
// configuration both stay as they are. A file that exists but cannot be read (not a regular
// file, too large, refused by the system) is reported and kept: saveConfiguration will not
// write over it, and without a readable configuration the existing list files are kept too.
// This also serves the command line, which needs the lists and the page options but no
// windows. Succeeds with whether "Sitorva.config" was there and read; fails, naming each file
// that exists but could not be read in a paragraph of its own, after applying what could be.
Result<bool> loadConfiguration(
    const std::string &folder, Configuration &config, FavouriteLists &lists);

// Writes the configuration and all three list files; a failure does not stop the other writes,
// and the failure names every write that failed, a paragraph each. Files kept by
// loadConfiguration are refused and reported among the failures.
Result<> saveConfiguration(
    const std::string &folder, const Configuration &config, const FavouriteLists &lists);

// Writes one list file the moment its list changes, so that a crash loses no entry. The list
// files are read only beside a configuration, so a folder without one gets `config` first.
// Each file is replaced atomically; a file kept by loadConfiguration is refused.
Result<> saveFavouriteList(const std::string &folder, const char *listFile,
    const std::vector<std::string> &entries, const Configuration &config);

// Rectangle in screen pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// True when a window placed at `window` can still be reached on one of the screens: enough of
// its top band (where the title bar is) lies on a single screen to grab it.
bool placeIsReachable(const ScreenRect &window, const std::vector<ScreenRect> &screens);

} // namespace stv
