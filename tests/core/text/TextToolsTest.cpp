#include "core/text/TextTools.h"
#include "core/text/ByteScan.h"
#include "core/text/Cp1252.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace stv;

TEST(FindText, FoldsAsciiCaseAndHonoursStart)
{
    EXPECT_EQ(findText("{LF13}", "ab{lf13}cd"), 3u);
    EXPECT_EQ(findText("b", "abcabc", 3), 5u);
    EXPECT_EQ(findText("", "abc"), 0u);
    EXPECT_EQ(findText("a", "abc", 4), 0u);
    EXPECT_EQ(findText("abcd", "abc"), 0u);
    // Only ASCII letters fold: 0xE9 and 0xC9 are different characters.
    EXPECT_EQ(findText("\xE9", "\xC9"), 0u);
    EXPECT_EQ(findText("{c", "ab{C{c"), 3u);
    EXPECT_EQ(findText("{c}", "{c{c}", 2), 3u);
    EXPECT_EQ(findText("{c}", "{c{c"), 0u);
}

TEST(ReplaceAll, NeverSearchesInsertedText)
{
    std::string t = "aXa";
    replaceAll("a", "aa", t);
    EXPECT_EQ(t, "aaXaa");

    std::string none = "no markers here";
    replaceAll("{lf10}", "\n", none);
    EXPECT_EQ(none, "no markers here");

    std::string mixed = "1{LF10}2{lf10}3";
    replaceAll("{lf10}", "\n", mixed);
    EXPECT_EQ(mixed, "1\n2\n3");

    std::string gone = "xxx";
    replaceAll("x", "", gone);
    EXPECT_EQ(gone, "");
}

TEST(LeadingInt, ReadsTheLeadingNumberOrZero)
{
    EXPECT_EQ(leadingInt("12abc"), 12);
    EXPECT_EQ(leadingInt("-1"), -1);
    EXPECT_EQ(leadingInt("abc"), 0);
    EXPECT_EQ(leadingInt(""), 0);
    EXPECT_EQ(leadingInt("  42"), 42);
    EXPECT_EQ(leadingInt("+7"), 7);
    EXPECT_EQ(leadingInt("-"), 0);
    EXPECT_EQ(leadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(leadingInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(intText(-5), "-5");
    EXPECT_EQ(intText(16777215), "16777215");
}

TEST(PathParts, SplitAtTheLastSlashOrBackslash)
{
    EXPECT_EQ(fileNamePart("C:\\a\\b.stv"), "b.stv");
    EXPECT_EQ(folderPart("C:\\a\\b.stv"), "C:\\a\\");
    EXPECT_EQ(fileNamePart("b.stv"), "b.stv");
    EXPECT_EQ(folderPart("b.stv"), "");
    EXPECT_EQ(fileNamePart("a/b"), "b");
    EXPECT_EQ(folderPart("a/b"), "a/");
    EXPECT_EQ(folderPart("/home/u/p.stv"), "/home/u/");
}

TEST(SplitLines, AcceptsEveryLineEnd)
{
    EXPECT_EQ(splitLines(""), std::vector<std::string> {});
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (std::vector<std::string> { "a", "b", "c", "d" }));
    EXPECT_EQ(splitLines("a\r\n"), std::vector<std::string> { "a" });
    EXPECT_EQ(splitLines("\n\n"), (std::vector<std::string> { "", "" }));
    EXPECT_EQ(splitLines("a\n\rb"), (std::vector<std::string> { "a", "", "b" }));
    EXPECT_EQ(joinLines({ "a", "", "b" }), "a\r\n\r\nb\r\n");

    // Line ends at every place of the blocks the search reads at a time, a CR LF split
    // across two blocks included.
    std::string text;
    std::vector<std::string> expected;
    for (std::size_t n = 0; n < 70; ++n) {
        expected.push_back(std::string(n, static_cast<char>('a' + n % 26)));
        text += expected.back() + (n % 3 == 0 ? "\r\n" : n % 3 == 1 ? "\r" : "\n");
    }
    EXPECT_EQ(splitLines(text), expected);
    EXPECT_EQ(countLines(text), expected.size());
    const std::string withTail = text + "tail";
    LineCursor cursor(withTail);
    std::string_view line;
    for (std::size_t n = 0; n < 3; ++n)
        ASSERT_TRUE(cursor.next(line));
    EXPECT_EQ(line, "cc");
    EXPECT_EQ(cursor.rest().substr(0, 4), "ddd\r");
}

// The scans read sixteen bytes at a time and the end of a text as its last sixteen: every
// length, start and place of the wanted bytes must give what a byte-by-byte look gives.
TEST(ByteScans, AgreeWithALookAtEachByte)
{
    for (std::size_t size = 0; size <= 40; ++size)
        for (std::size_t a = 0; a <= size; ++a)
            for (const std::size_t b : { a + 1, a + 15, a + 17, size - 1 }) {
                std::string text(size, 'x');
                for (const std::size_t at : { a, b })
                    if (at < size)
                        text[at] = at % 2 ? '\n' : '\r';
                for (std::size_t from = 0; from <= size; ++from) {
                    std::size_t end = from;
                    while (end < size && text[end] != '\r' && text[end] != '\n')
                        ++end;
                    ASSERT_EQ(findLineEnd(text, from), end) << size << " " << a << " " << from;
                    std::vector<std::size_t> seen, wanted;
                    forEachByte(text, '\n', from, [&](std::size_t at) {
                        seen.push_back(at);
                        return true;
                    });
                    for (std::size_t i = from; i < size; ++i)
                        if (text[i] == '\n')
                            wanted.push_back(i);
                    ASSERT_EQ(seen, wanted) << size << " " << a << " " << from;
                }
            }
}

TEST(ScrambledLines, RoundTripAndLeavePlainLinesAlone)
{
    std::string plain;
    for (int i = 0; i < 300; ++i)
        plain += static_cast<char>(32 + i % 95);
    plain += "\t\xE9"; // bytes above 140 and control bytes are stored unshifted
    const std::string scrambled = scrambleLine(plain);
    ASSERT_EQ(scrambled.substr(0, 2), "\x02\x04");
    EXPECT_NE(scrambled.substr(2), plain);
    EXPECT_EQ(unscrambleLine(scrambled), plain);

    EXPECT_EQ(unscrambleLine("\x02\x04"), "");
    EXPECT_EQ(scrambleLine(""), "");
    EXPECT_EQ(unscrambleLine("plain \xFE\xFF text"), "plain \xFE\xFF text");

    TextLineReader reader("one\r\n" + scrambleLine("two") + "\nthree");
    EXPECT_EQ(reader.readTextLine(), "one");
    EXPECT_EQ(reader.readTextLine(), "two");
    EXPECT_EQ(reader.readTextLine(), "three");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readTextLine(), "");
}

TEST(NativePath, CharacterReferencesNameTheRealFile)
{
    EXPECT_EQ(nativePath("/w/&#321;&#243;d&#378;.stv"), "/w/Łódź.stv");
    EXPECT_EQ(nativePath("\xD3wiat/&#1057;&#1072;&#1081;&#1090;"), "Ówiat/Сайт");
    // Not references: no digits, no semicolon, surrogates, out of range, too long.
    EXPECT_EQ(decodeCharacterReferences("&#; &#12 &#55296; &#1114112; &#12345678;"),
        "&#; &#12 &#55296; &#1114112; &#12345678;");
    EXPECT_EQ(storedPath(nativePath("a&#26085;b")), "a&#26085;b");

    // A file really named with "&#" is used as it stands when its decoded name does not exist.
    const std::string folder = ::testing::TempDir() + "sitorva-native-path";
    std::filesystem::create_directories(folder);
    const std::string literal = folder + "/x&#321;.png";
    std::ofstream(literal) << "png";
    EXPECT_EQ(nativePath(literal), literal);
    std::ofstream(folder + "/xŁ.png") << "png";
    EXPECT_EQ(nativePath(literal), folder + "/xŁ.png");
    std::filesystem::remove_all(folder);
}
