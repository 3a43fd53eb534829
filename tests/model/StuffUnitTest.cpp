#include "model/StuffUnit.h"

#include <gtest/gtest.h>

using namespace stv;

TEST(FindText, FoldsAsciiCaseAndHonoursStart)
{
    EXPECT_EQ(FindText("{LF13}", "ab{lf13}cd"), 3u);
    EXPECT_EQ(FindText("b", "abcabc", 3), 5u);
    EXPECT_EQ(FindText("", "abc"), 0u);
    EXPECT_EQ(FindText("a", "abc", 4), 0u);
    EXPECT_EQ(FindText("abcd", "abc"), 0u);
    // Only ASCII letters fold: 0xE9 and 0xC9 are different characters.
    EXPECT_EQ(FindText("\xE9", "\xC9"), 0u);
}

TEST(ReplaceAll, NeverSearchesInsertedText)
{
    std::string t = "aXa";
    ReplaceAll("a", "aa", t);
    EXPECT_EQ(t, "aaXaa");

    std::string none = "no markers here";
    ReplaceAll("{lf10}", "\n", none);
    EXPECT_EQ(none, "no markers here");

    std::string mixed = "1{LF10}2{lf10}3";
    ReplaceAll("{lf10}", "\n", mixed);
    EXPECT_EQ(mixed, "1\n2\n3");

    std::string gone = "xxx";
    ReplaceAll("x", "", gone);
    EXPECT_EQ(gone, "");
}

TEST(LeadingInt, ReadsTheLeadingNumberOrZero)
{
    EXPECT_EQ(LeadingInt("12abc"), 12);
    EXPECT_EQ(LeadingInt("-1"), -1);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("  42"), 42);
    EXPECT_EQ(LeadingInt("+7"), 7);
    EXPECT_EQ(LeadingInt("-"), 0);
    EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(IntText(-5), "-5");
    EXPECT_EQ(IntText(16777215), "16777215");
}

TEST(PathParts, SplitAtTheLastSlashOrBackslash)
{
    EXPECT_EQ(FileNamePart("C:\\a\\b.stv"), "b.stv");
    EXPECT_EQ(FolderPart("C:\\a\\b.stv"), "C:\\a\\");
    EXPECT_EQ(FileNamePart("b.stv"), "b.stv");
    EXPECT_EQ(FolderPart("b.stv"), "");
    EXPECT_EQ(FileNamePart("a/b"), "b");
    EXPECT_EQ(FolderPart("a/b"), "a/");
    EXPECT_EQ(FolderPart("/home/u/p.stv"), "/home/u/");
}

TEST(SplitLines, AcceptsEveryLineEnd)
{
    EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(ScrambledLines, RoundTripAndLeavePlainLinesAlone)
{
    std::string plain;
    for (int i = 0; i < 300; ++i)
        plain += static_cast<char>(32 + i % 95);
    plain += "\t\xE9"; // bytes above 140 and control bytes are stored unshifted
    const std::string scrambled = ScrambleLine(plain);
    ASSERT_EQ(scrambled.substr(0, 2), "\x02\x04");
    EXPECT_NE(scrambled.substr(2), plain);
    EXPECT_EQ(UnscrambleLine(scrambled), plain);

    EXPECT_EQ(UnscrambleLine("\x02\x04"), "");
    EXPECT_EQ(ScrambleLine(""), "");
    EXPECT_EQ(UnscrambleLine("plain \xFE\xFF text"), "plain \xFE\xFF text");

    TextLineReader reader("one\r\n" + ScrambleLine("two") + "\nthree");
    EXPECT_EQ(reader.ReadTextLine(), "one");
    EXPECT_EQ(reader.ReadTextLine(), "two");
    EXPECT_EQ(reader.ReadTextLine(), "three");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.ReadTextLine(), "");
}
