// The shipped manual: every topic the program opens has a chapter, every link leads somewhere.
#include "core/files/FileIO.h"
#include "core/manual/HelpText.h"
#include "core/text/TextTools.h"

#include <gtest/gtest.h>

#include <set>

using namespace stv;

namespace
{

std::string Manual()
{
    std::string bytes;
    Result<std::string> bytesRead = readWholeFile(STV_MANUAL);
    EXPECT_TRUE(bytesRead.ok()) << STV_MANUAL;
    bytes = std::move(bytesRead.value());
    return bytes;
}

} // namespace

TEST(ShippedManual, ChaptersStandInAscendingOrder)
{
    const std::string manual = Manual();
    std::vector<int> numbers;
    TextLineReader reader(manual);
    while (!reader.atEnd()) {
        const std::string line = reader.readTextLine();
        if (isChapterHeader(line))
            numbers.push_back(leadingInt(line));
    }
    ASSERT_FALSE(numbers.empty());
    EXPECT_EQ(numbers.front(), 0);
    for (std::size_t i = 1; i < numbers.size(); ++i)
        EXPECT_LT(numbers[i - 1], numbers[i]) << "header " << numbers[i];
    // Each chapter is found by its own header, not by a longer number ending in its digits.
    for (int n : numbers) {
        const HelpChapter c = findChapter(manual, static_cast<unsigned>(n));
        EXPECT_TRUE(c.found);
        EXPECT_FALSE(c.title.empty()) << n;
        EXPECT_FALSE(c.lines.empty()) << n;
    }
    EXPECT_EQ(lastTopicOf(manual), static_cast<unsigned>(numbers.back()));
}

TEST(ShippedManual, EveryTopicTheProgramOpensHasAChapter)
{
    const std::string manual = Manual();
    // Help menu: 0, 1, 2, 4. Help button, by wizard page: 0, 5 to 15, 27.
    const std::set<unsigned> topics = { 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 27 };
    for (unsigned t : topics) {
        const HelpChapter c = findChapter(manual, t);
        EXPECT_TRUE(c.found) << t;
        EXPECT_FALSE(c.title.empty()) << t;
        EXPECT_LE(c.title.size(), ChapterTitleLength) << t;
    }
    // The generator's confirmation sends the reader to this chapter by name.
    bool named = false;
    TextLineReader reader(manual);
    while (!reader.atEnd()) {
        const std::string line = reader.readTextLine();
        if (isChapterHeader(line) && chapterTitleOf(line) == "Creating Your Web Page")
            named = true;
    }
    EXPECT_TRUE(named);
}

TEST(ShippedManual, EveryLinkLeadsToAChapter)
{
    const std::string manual = Manual();
    std::set<unsigned> linked;
    const unsigned last = lastTopicOf(manual);
    for (unsigned t = 0; t <= last; ++t) {
        const HelpChapter c = findChapter(manual, t);
        if (!c.found)
            continue;
        for (const std::string &line : c.lines) {
            const LineLayout l = layoutLine(withoutPlaceholders(line));
            if (!l.hasLink())
                continue;
            // The bracket is there and holds the target (not the fallback to topic 0).
            EXPECT_NE(findText("%[" + intText(l.linkTarget) + "]", line), 0u) << line;
            if (l.linkTarget == WebSiteTopic)
                continue;
            EXPECT_TRUE(findChapter(manual, static_cast<unsigned>(l.linkTarget)).found) << line;
            linked.insert(static_cast<unsigned>(l.linkTarget));
        }
    }
    // The contents chapter reaches every other chapter.
    const HelpChapter contents = findChapter(manual, 0);
    std::set<unsigned> fromContents;
    for (const std::string &line : contents.lines) {
        const LineLayout l = layoutLine(line);
        if (l.hasLink())
            fromContents.insert(static_cast<unsigned>(l.linkTarget));
    }
    for (unsigned t = 1; t <= last; ++t) {
        if (findChapter(manual, t).found) {
            EXPECT_TRUE(fromContents.count(t)) << "contents lacks a link to " << t;
        }
    }
}

TEST(ShippedManual, EveryLineDrawsWithoutStrayMarkup)
{
    const std::string manual = Manual();
    const unsigned last = lastTopicOf(manual);
    for (unsigned t = 0; t <= last; ++t) {
        for (const std::string &line : findChapter(manual, t).lines) {
            // One span per line: any markup character left over would be drawn as it stands.
            for (const LinePiece &piece : layoutLine(withoutPlaceholders(line)).pieces) {
                EXPECT_EQ(piece.text.find_first_of("%^*\xED"), std::string::npos) << line;
                EXPECT_EQ(findText("{I}", piece.text), 0u) << line;
            }
        }
    }
}
