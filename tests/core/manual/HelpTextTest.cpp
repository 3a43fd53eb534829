#include "core/manual/HelpText.h"
#include "core/text/TextTools.h"

#include <gtest/gtest.h>

using namespace stv;

namespace
{

std::string File(const std::vector<std::string> &lines)
{
    return joinLines(lines);
}

} // namespace

TEST(HelpChapters, AscendingOrderKeepsTwoApartFromTwelve)
{
    const std::string file = File({ "0:Chapter Contents", "intro", "2:Chapter Two", "two body",
        "12:Chapter Twelve", "twelve body" });
    const HelpChapter two = findChapter(file, 2);
    EXPECT_TRUE(two.found);
    EXPECT_EQ(two.title, "Two");
    EXPECT_EQ(two.lines, std::vector<std::string> { "two body" });
    const HelpChapter twelve = findChapter(file, 12);
    EXPECT_EQ(twelve.title, "Twelve");
    EXPECT_EQ(twelve.lines, std::vector<std::string> { "twelve body" });
    EXPECT_EQ(lastTopicOf(file), 12u);

    // Out of order, the header of 12 is taken for 2: the file must be ascending.
    const std::string wrongOrder = File({ "12:Chapter Twelve", "x", "2:Chapter Two", "y" });
    EXPECT_EQ(findChapter(wrongOrder, 2).title, "Twelve");
}

TEST(HelpChapters, HeaderTitleAndBodyRules)
{
    // Small letters in the marker, title after the one separating blank.
    const std::string file = File({ "4:Chapter Four", "a", "5:chapter Small Letters", "b",
        "6:Chapter " + std::string(41, 'T'), "c", "7:Chapter Last" });
    EXPECT_EQ(findChapter(file, 5).title, "Small Letters");
    EXPECT_EQ(findChapter(file, 5).lines, std::vector<std::string> { "b" });
    EXPECT_EQ(findChapter(file, 6).title, std::string(40, 'T'));
    // A header on the last line gives an empty chapter.
    const HelpChapter last = findChapter(file, 7);
    EXPECT_TRUE(last.found);
    EXPECT_EQ(last.title, "Last");
    EXPECT_TRUE(last.lines.empty());
    // A topic without a chapter is not found and reads nothing.
    EXPECT_FALSE(findChapter(file, 8).found);
    EXPECT_TRUE(findChapter(file, 8).lines.empty());
    EXPECT_EQ(lastTopicOf(file), 7u);
    EXPECT_EQ(lastTopicOf(""), 0u);
    EXPECT_EQ(chapterTitleOf("3:Chapter"), "");
}

TEST(HelpChapters, EightLeadingEmptyLinesKeepTheLastTwo)
{
    std::vector<std::string> lines = { "1:Chapter Gaps" };
    for (int i = 0; i < 8; ++i)
        lines.push_back("");
    lines.push_back("text");
    lines.push_back("");
    const HelpChapter c = findChapter(File(lines), 1);
    EXPECT_EQ(c.lines, (std::vector<std::string> { "", "", "text", "" }));

    std::vector<std::string> two = { "", " ", "" };
    dropLeadingEmptyLines(two);
    EXPECT_EQ(two, (std::vector<std::string> { " ", "" }));
}

TEST(HelpChapters, ScrambledLinesAreReadPlain)
{
    const std::string file = joinLines({ scrambleLine("3:Chapter Hidden Title"),
        scrambleLine("See ^this^ line"), "plain \xE9 line", std::string(ScrambleMarker) });
    const HelpChapter c = findChapter(file, 3);
    EXPECT_EQ(c.title, "Hidden Title");
    EXPECT_EQ(c.lines, (std::vector<std::string> { "See ^this^ line", "plain \xE9 line", "" }));
}

TEST(HelpLayout, LinkLineHasThreePiecesAndTarget)
{
    const LineLayout l = layoutLine("See %Saving%[12] for details");
    ASSERT_EQ(l.pieces.size(), 3u);
    EXPECT_EQ(l.pieces[0], (LinePiece { SpanStyle::Plain, "See ", -1 }));
    EXPECT_EQ(l.pieces[1], (LinePiece { SpanStyle::Link, "Saving", -1 }));
    EXPECT_EQ(l.pieces[2], (LinePiece { SpanStyle::Plain, " for details", -1 }));
    EXPECT_EQ(l.linkTarget, 12);

    // A missing bracket or one without digits leads to topic 0, and the text stays.
    const LineLayout bare = layoutLine("%Contents% again");
    EXPECT_EQ(bare.linkTarget, 0);
    EXPECT_EQ(bare.pieces.back().text, " again");
    // A bracket too long for four characters is drawn; its digits still count.
    const LineLayout longer = layoutLine("%Far%[123] on");
    EXPECT_EQ(longer.linkTarget, 123);
    EXPECT_EQ(longer.pieces.back().text, "[123] on");
}

TEST(HelpLayout, PrecedenceAndFirstPairOnly)
{
    const LineLayout mixed = layoutLine("^Bold^ and %Link%[3] and ^more^ %x%");
    ASSERT_EQ(mixed.pieces.size(), 3u);
    EXPECT_EQ(mixed.pieces[0], (LinePiece { SpanStyle::Plain, "^Bold^ and ", -1 }));
    EXPECT_EQ(mixed.pieces[1], (LinePiece { SpanStyle::Link, "Link", -1 }));
    EXPECT_EQ(mixed.pieces[2], (LinePiece { SpanStyle::Plain, " and ^more^ %x%", -1 }));

    EXPECT_EQ(layoutLine("a *red* b ^c^").pieces[1].style, SpanStyle::Bold);
    EXPECT_EQ(layoutLine("a *red* *b*").pieces[1], (LinePiece { SpanStyle::Red, "red", -1 }));
    EXPECT_EQ(layoutLine("an \xEDitalic\xED word").pieces[1],
        (LinePiece { SpanStyle::Italic, "italic", -1 }));
    EXPECT_FALSE(layoutLine("^b^").hasLink());

    // A first marker without a partner: the whole line as plain text, not a blank row.
    const LineLayout lone = layoutLine("50% done ^bold^");
    ASSERT_EQ(lone.pieces.size(), 1u);
    EXPECT_EQ(lone.pieces[0], (LinePiece { SpanStyle::Plain, "50% done ^bold^", -1 }));
    EXPECT_FALSE(lone.hasLink());

    // The rest after a span is cut at 255 characters.
    const LineLayout rest = layoutLine("^b^" + std::string(300, 'r'));
    EXPECT_EQ(rest.pieces.back().text.size(), MaxRestLength);
}

TEST(HelpLayout, PictureTagBecomesAGapPiece)
{
    const LineLayout l = layoutLine("Before {I} 3; after");
    ASSERT_EQ(l.pieces.size(), 3u);
    EXPECT_EQ(l.pieces[0].text, "Before ");
    EXPECT_EQ(l.pieces[1], (LinePiece { SpanStyle::Plain, "", 3 }));
    EXPECT_EQ(l.pieces[2].text, " after");

    // Only the first tag is a picture; the second is text.
    const LineLayout two = layoutLine("{i} 46;{I} 5; x");
    EXPECT_EQ(two.pieces[0].picture, 46);
    EXPECT_EQ(two.pieces[1].text, "{I} 5; x");

    // A picture inside a span keeps the span's style; the link still has its target.
    const LineLayout inLink = layoutLine("%{I} 6; Heading%[8]");
    ASSERT_EQ(inLink.pieces.size(), 2u);
    EXPECT_EQ(inLink.pieces[0], (LinePiece { SpanStyle::Link, "", 6 }));
    EXPECT_EQ(inLink.pieces[1], (LinePiece { SpanStyle::Link, " Heading", -1 }));
    EXPECT_EQ(inLink.linkTarget, 8);

    // A malformed tag is still a picture (number 0) and its other characters stay.
    const LineLayout odd = layoutLine("{I} ;x");
    EXPECT_EQ(odd.pieces[0].picture, 0);
    EXPECT_EQ(odd.pieces[1].text, " ;x");
}

TEST(HelpPrint, MarkersBracketsAndTagsAreRemoved)
{
    EXPECT_EQ(
        printText("See %Saving%[12] for ^details^ {I} 6; now#####"), "See Saving for details  now");
    EXPECT_EQ(
        printText("*red* \xEDit\xED [100] [101] {i} 100; {I} 101;"), "red it  [101]  {I} 101;");
    EXPECT_EQ(printLines({ "a%", "" }), (std::vector<std::string> { "a", "" }));
}

TEST(HelpHistoryTest, KeepsTwentyNineAndReturnsWithTopLine)
{
    HelpHistory h;
    for (unsigned t = 1; t <= 35; ++t) {
        h.leave(static_cast<int>(t));
        h.append(t);
    }
    EXPECT_EQ(h.size(), HelpHistory::MaxEntries);
    // Each entry holds the top line at which its topic was left.
    EXPECT_EQ(h.entries().front(),
        "7\xA0"
        "8\xA0");
    EXPECT_EQ(h.entries().back(), "35");
    EXPECT_EQ(h.previous().topic, 34u);
    EXPECT_EQ(h.previous().topLine, 35);

    // Back: the returned-to topic is appended afresh (the oldest entry goes to make room),
    // then the entry of the topic left and the older entry of the one returned to go.
    h.leave(0);
    h.append(34);
    h.dropReturned();
    EXPECT_EQ(h.size(), HelpHistory::MaxEntries - 2);
    EXPECT_EQ(h.entries().front(),
        "8\xA0"
        "9\xA0");
    EXPECT_EQ(h.entries().back(), "34");

    HelpHistory none;
    EXPECT_EQ(none.previous().topic, 0u);
    none.leave(5); // nothing to extend
    EXPECT_TRUE(none.empty());
}
