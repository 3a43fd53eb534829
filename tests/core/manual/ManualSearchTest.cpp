// Finding a word across the manual's chapters, as the help window shows them.
#include "core/manual/ManualSearch.h"
#include "core/files/FileIO.h"
#include "core/manual/HelpText.h"
#include "core/text/TextTools.h"

#include <gtest/gtest.h>

using namespace stv;

namespace
{

std::string Lines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append("\r\n");
    return text;
}

} // namespace

// Hits across chapters in file order, letters folded, each at its row of the chapter as the
// window holds it (leading empty lines dropped) and at its place in the row's shown text.
TEST(ManualSearch, FindsAWordAcrossChaptersWhereTheRowsShowIt)
{
    const std::string manual = Lines({ "0:Chapter Contents", "%Save%[2] your work", "",
        "2:Chapter Saving", "", "", "Press ^Save^ to save.", "{I} 6; SAVE again: save",
        "12:Chapter Other", "Nothing here.", "2:Chapter Saving again", "save me" });
    const std::vector<ManualHit> hits = searchManual(manual, "save");
    ASSERT_EQ(hits.size(), 5u);

    EXPECT_EQ(hits[0].topic, 0u);
    EXPECT_EQ(hits[0].title, "Contents");
    EXPECT_EQ(hits[0].rowText, "Save your work"); // the link's marks and target are not shown
    EXPECT_EQ(hits[0].start, 0u);

    // "Press Save to save.": the bold marks are gone, so the places move with them.
    EXPECT_EQ(hits[1].topic, 2u);
    EXPECT_EQ(hits[1].line, 0);
    EXPECT_EQ(hits[1].rowText, "Press Save to save.");
    EXPECT_EQ(hits[1].start, 6u);
    EXPECT_EQ(hits[2].start, 14u);
    EXPECT_EQ(hits[2].length, 4u);
    // A picture's gap is one blank; "SAVE" is found in capitals too.
    EXPECT_EQ(hits[3].line, 1);
    EXPECT_EQ(hits[3].rowText, "  SAVE again: save");
    EXPECT_EQ(hits[3].start, 2u);
    EXPECT_EQ(hits[4].start, 14u);
    // The second chapter 2 is never shown, so it is not searched.
    for (const ManualHit &hit : hits) {
        const HelpChapter chapter = findChapter(manual, hit.topic);
        ASSERT_LT(static_cast<std::size_t>(hit.line), chapter.lines.size());
        EXPECT_EQ(shownText(chapter.lines[static_cast<std::size_t>(hit.line)]), hit.rowText);
    }
}

TEST(ManualSearch, EmptyWordsAccentsAndTheLimit)
{
    EXPECT_TRUE(searchManual(Lines({ "0:Chapter A", "text" }), "").empty());
    EXPECT_TRUE(searchManual(Lines({ "0:Chapter A", "text" }), "texts").empty());
    EXPECT_TRUE(searchManual(Lines({ "before any chapter", "0:Chapter A" }), "before").empty());
    // Windows-1252 capitals match their small letters: "CAFÉ" finds "café".
    EXPECT_EQ(searchManual(Lines({ "0:Chapter A", "un caf\xE9" }), "CAF\xC9").size(), 1u);

    std::string many = "0:Chapter A\r\n";
    for (int i = 0; i < 300; ++i)
        many += "ab ab\r\n";
    EXPECT_EQ(searchManual(many, "AB").size(), MaxManualHits);
}

// The shipped manual: every hit of a common word names a row that shows it.
TEST(ManualSearch, ShippedManualHitsShowTheWord)
{
    const Result<std::string> read = readWholeFile(STV_MANUAL);
    ASSERT_TRUE(read.ok()) << read.error();
    const std::string &manual = read.value();
    const std::vector<ManualHit> hits = searchManual(manual, "section manager");
    ASSERT_GT(hits.size(), 3u);
    unsigned chapters = 0;
    unsigned last = 65536;
    for (const ManualHit &hit : hits) {
        const HelpChapter chapter = findChapter(manual, hit.topic);
        ASSERT_LT(static_cast<std::size_t>(hit.line), chapter.lines.size());
        const std::string shown
            = shownText(withoutPlaceholders(chapter.lines[static_cast<std::size_t>(hit.line)]));
        EXPECT_EQ(shown, hit.rowText);
        EXPECT_TRUE(equalsIgnoreCase(shown.substr(hit.start, hit.length), "section manager"));
        chapters += hit.topic != last;
        last = hit.topic;
    }
    EXPECT_GT(chapters, 1u);
}
