#include "core/project/Records.h"
#include "support/TestRecords.h"

#include <gtest/gtest.h>

using namespace stv;

using stv::test::Rec;

TEST(SplitFields, TemplatesSplitIntoTheirFields)
{
    const auto h = splitFields(newSectionRecord(0), 20);
    ASSERT_EQ(h.size(), 21u);
    EXPECT_EQ(h[0], "Heading");
    EXPECT_EQ(h[1], "Untitled");
    EXPECT_EQ(h[2], "Insert Your Heading Here!");
    EXPECT_EQ(h[3], "2");
    for (int i = 4; i <= 20; ++i)
        EXPECT_EQ(h[static_cast<std::size_t>(i)], "") << i;

    const auto img = splitFields(newSectionRecord(2), 20);
    for (int i = 2; i <= 10; ++i)
        EXPECT_EQ(img[static_cast<std::size_t>(i)], "") << i;
    EXPECT_EQ(img[11], "-1");
    EXPECT_EQ(img[12], "-1");
    EXPECT_TRUE(flagValue(img[11]));
    EXPECT_TRUE(flagValue(img[12]));
}

TEST(SplitFields, IgnoresBytesOutsideSeparators)
{
    const auto f = splitFields("junk\xA0"
                               "a\xA0\xA0"
                               "c\xA0tail",
        4);
    EXPECT_EQ(f, (std::vector<std::string> { "a", "", "c", "", "" }));
    EXPECT_EQ(splitFields("no separator", 1), (std::vector<std::string> { "", "" }));
    EXPECT_EQ(fieldCount("\xA0"
                         "a\xA0"
                         "b\xA0"),
        2);
    EXPECT_EQ(fieldCount(""), 0);
}

TEST(SplitFields, ViewsAreTheSameFields)
{
    for (const std::string &record : { newSectionRecord(5), Rec({ "a", "", "c" }),
             std::string("junk\xA0"
                         "a\xA0\xA0"
                         "c\xA0tail"),
             std::string("no separator"), std::string() }) {
        const auto copies = splitFields(record, 20);
        const auto views = fieldViews<21>(record);
        for (std::size_t i = 0; i < views.size(); ++i)
            EXPECT_EQ(views[i], copies[i]) << i;
    }
}

TEST(Templates, MatchTheDesignedFieldsExactly)
{
    EXPECT_EQ(newSectionRecord(3), Rec({ "Divider", "Untitled", "0", "1", "100", "-1" }));
    EXPECT_EQ(newSectionRecord(4),
        Rec({ "Anchor", "Untitled", "Insert Your Anchor Here",
            "Insert Some Descriptive Text Here" }));
    EXPECT_EQ(newSectionRecord(6), Rec({ "Index", "Untitled", "", "2" }));
    EXPECT_EQ(newSectionRecord(7), Rec({ "HTML", "Untitled" }));
    EXPECT_EQ(newSectionRecord(8), Rec({ "PlaySound", "Untitled", "", "-1", "-1", "-1", "-1" }));
    const auto list = splitFields(newSectionRecord(5), 20);
    EXPECT_EQ(fieldCount(newSectionRecord(5)), 19);
    EXPECT_EQ(list[16], "0");
    EXPECT_EQ(list[17], "2");
    EXPECT_EQ(list[18], "0");
    EXPECT_EQ(newSectionRecord(9), "");
    EXPECT_EQ(newSectionRecord(-1), "");
    for (int k = 0; k < KindCount; ++k)
        EXPECT_EQ(
            splitFields(newSectionRecord(k), 0)[0], SectionKinds[static_cast<std::size_t>(k)].name);
}

TEST(Flags, LowByteDecides)
{
    EXPECT_TRUE(flagValue("-1"));
    EXPECT_TRUE(flagValue("1"));
    EXPECT_FALSE(flagValue("0"));
    EXPECT_FALSE(flagValue(""));
    EXPECT_FALSE(flagValue("256"));
    EXPECT_TRUE(flagValue("257"));
}

TEST(NextField, WalksFieldsThenGivesEnd)
{
    const std::string r = Rec({ "HTML", "", "x" });
    std::size_t cursor = 1;
    EXPECT_EQ(nextField(r, cursor), "HTML");
    EXPECT_EQ(nextField(r, cursor), "");
    EXPECT_EQ(nextField(r, cursor), "x");
    const std::size_t before = cursor;
    EXPECT_EQ(nextField(r, cursor), "{END}");
    EXPECT_EQ(cursor, before);
}

TEST(ReplaceField, ReplacesAppendsAtTheEndAndIgnoresBeyond)
{
    const std::string html = newSectionRecord(7);
    EXPECT_EQ(replaceField(html, 1, "Mine"), Rec({ "HTML", "Mine" }));
    EXPECT_EQ(replaceField(html, 2, "<b>"), Rec({ "HTML", "Untitled", "<b>" }));
    EXPECT_EQ(replaceField(html, 3, "<b>"), html);
    EXPECT_EQ(replaceField("", 0, "x"), Rec({ "x" }));
}

TEST(ReplaceField, KeepsFieldsThatReadEnd)
{
    const std::string r = Rec({ "Paragraph", "Untitled", "{END}", "2", "1" });
    EXPECT_EQ(replaceField(r, 3, "4"), Rec({ "Paragraph", "Untitled", "{END}", "4", "1" }));
    EXPECT_EQ(replaceField(r, 2, "{END}"), r);
}

TEST(LineBreakEscapes, BothDirections)
{
    EXPECT_EQ(escapeLineBreaks("a\r\nb"), "a{lf13}{lf10}b");
    EXPECT_EQ(unescapeLineBreaks("a{LF13}{Lf10}b"), "a\r\nb");
    EXPECT_EQ(unescapeLineBreaks("a{lf10}b"), "a\nb");
    // Typed marker characters come back as line breaks: the markers are not escaped.
    EXPECT_EQ(unescapeLineBreaks(escapeLineBreaks("x{lf10}y")), "x\ny");
    EXPECT_EQ(escapeLineBreaks("x"), "x");
    // A replaced marker never forms a new one with its neighbours.
    EXPECT_EQ(unescapeLineBreaks("{lf1{lf10}0}"), "{lf1\n0}");
    EXPECT_EQ(unescapeLineBreaks("{lf10{lf13}{{lf10}"), "{lf10\r{\n");
}

TEST(KindTables, IconsAndPositions)
{
    EXPECT_EQ(kindIcon("HTML"), 0);
    EXPECT_EQ(kindIcon("PlaySound"), 14);
    EXPECT_EQ(kindIcon("What`s Next?"), 11);
    EXPECT_EQ(kindIcon("heading"), -1);
    EXPECT_EQ(kindPosition("Index"), 6);
    EXPECT_EQ(kindPosition("Bogus"), -1);
    EXPECT_EQ(fixedSectionRecord("Introduction"), "\xA0Introduction\xA0");
}
