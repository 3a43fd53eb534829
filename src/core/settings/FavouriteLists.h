#pragma once
// The three lists of favourite values that inline marks refer to by number. Entries are kept
// exactly as their list files hold them, one string per entry:
//   colours: a colour value 0x00BBGGRR in decimal ("255");
//   links:   a whole address ("http://...", "mailto:" + address, "#" + anchor);
//   images:  a whole Image section record.

#include "core/page/PageStyle.h"

#include <string>
#include <vector>

namespace stv
{

struct FavouriteLists {
    std::vector<std::string> colours;
    std::vector<std::string> links = designedLinks();
    std::vector<std::string> images;

    static std::vector<std::string> designedLinks()
    {
        return { "https://sitorva.org/", "https://sitorva.org/manual/", "mailto:hello@sitorva.org",
            "#Fred" };
    }
};

inline constexpr const char *ColourListFile = "StvColList";
inline constexpr const char *LinkListFile = "StvLinkList";
inline constexpr const char *ImageListFile = "StvImageList";

// The "&Tools" ticks that change the page: the two of the footer, kept in the configuration,
// and the page style with the modern page's language, kept in the settings file.
struct PageOptions {
    bool siteLastUpdated = true; // "&Site Last Updated"
    bool updateBlack = true; // "Update &Black"
    PageStyle style = PageStyle::Classic; // "&Modern Page (fits phones)" ticked: Modern
    std::string language = "en"; // the modern page's <html lang>
};

} // namespace stv
