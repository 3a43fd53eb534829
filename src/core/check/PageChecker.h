#pragma once
// Every fault a visitor of the page would see that can be found without the network: files
// that are missing or are not what they should be, marks that would print as typed, links to
// anchors the page does not have, pictures without alternative text, text that does not stand
// out from the background, an empty title. The links to other sites are gathered for the
// online check (LinkChecker), which alone sends anything over the network.

#include "core/Result.h"
#include "core/page/PageGenerator.h"
#include "core/project/Project.h"
#include "core/settings/FavouriteLists.h"

#include <cstdint>
#include <string>
#include <vector>

namespace stv
{

// One fault. The codes are stable words that scripts may rely on.
struct Problem {
    int section = 0; // 1 for the project's first section; 0 for the page as a whole
    std::string code; // "missing-file", "unknown-mark", ...
    std::string message;

    bool operator==(const Problem &) const = default;
};

// An address of another site (http, https or mailto) and the section that links to it.
struct PageLink {
    int section = 0;
    std::string address;
};

struct PageReport {
    std::vector<Problem> problems; // by section, the page's own first
    std::vector<PageLink> links;
};

// Pictures over either of these are slow for a visitor to load.
inline constexpr std::uint64_t LargePictureBytes = std::uint64_t(1) << 20;
inline constexpr int LargePictureSide = 2000;

// Checks the header's values and the records. Stored paths are read as the page generator
// copies them: relative ones from `sourceFolder` (native, may be empty). With
// `picturesMadeForTheWeb` (a modern page) a picture copied beside the page is made small, so
// only the pictures the page shows from where they are can be too large. Fails only when a
// project file cannot be read to its end.
Result<PageReport> checkPage(const Project &header, SectionRecords records,
    const FavouriteLists &lists, const std::string &sourceFolder,
    bool picturesMadeForTheWeb = false);

// "section N: CODE: message" or "page: CODE: message".
std::string problemLine(const Problem &problem);

} // namespace stv
