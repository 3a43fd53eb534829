#pragma once
// Finding a word in the manual: every place where it shows in any chapter, as the help window
// lays the chapter's lines out, so that a place can be shown and marked on its row.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// More places than this are not listed: a word that common is no help to find.
inline constexpr std::size_t MaxManualHits = 500;

struct ManualHit {
    unsigned topic = 0;
    std::string title; // the chapter's title
    int line = 0; // index into the chapter's lines as findChapter gives them
    std::size_t start = 0; // where the word starts in the row's shown text
    std::size_t length = 0;
    std::string rowText; // the row's shown text

    bool operator==(const ManualHit &) const = default;
};

// What a body line shows: its pieces' texts one after another, a picture's gap as one blank.
std::string shownText(std::string_view line);

// Every place of `word` in the shown text of the manual's chapters, letters compared without
// regard to case (Windows-1252 letters too), chapters in the file's order. A chapter number
// met a second time is the one the window never shows, and is left out. At most
// MaxManualHits places; an empty word finds nothing.
std::vector<ManualHit> searchManual(const std::string &fileBytes, std::string_view word);

} // namespace stv
