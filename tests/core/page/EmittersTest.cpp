// Byte-exact output of every section emitter.
#include "support/GenerateTestUtil.h"

#include <gtest/gtest.h>

using namespace stv;
using stv::test::Gen;
using stv::test::Rec;

namespace
{

std::string emit(Gen &g, const std::vector<std::string> &records, bool importFlag = false)
{
    PageGenerator gen = g.make();
    std::string out;
    gen.emitSections(records, out, importFlag);
    return out;
}

} // namespace

TEST(Colours, HtmlColourAndFontSize)
{
    EXPECT_EQ(htmlColour(255), "FF0000");
    EXPECT_EQ(htmlColour(16777215), "FFFFFF");
    EXPECT_EQ(htmlColour(0), "000000");
    EXPECT_EQ(htmlColour(0xFF8000), "0080FF");
    EXPECT_EQ(htmlColour(0x1000000), "000010"); // more than six digits: the first six, swapped
    EXPECT_EQ(htmlColour(-1), "FFFFFF");
    EXPECT_EQ(fontSizeTag(3), "<FONT SIZE=\"3\">");
    EXPECT_EQ(fontSizeTag(-1), "<FONT SIZE=\"255\">");
    EXPECT_EQ(fontSizeTag(258), "<FONT SIZE=\"2\">");
}

TEST(Heading, ExampleAndLevels)
{
    Gen g;
    const std::string red = Rec({ "Heading", "u", "Welcome", "3", "1", "0", "0", "0", "1", "255" });
    EXPECT_EQ(emit(g, { red }),
        "<H1 ALIGN=Center>\r\n<FONT COLOR=\"#FF0000\"><B><FONT SIZE=\"3\">"
        "<BIG>Welcome</BIG></FONT></B></FONT>\r\n</H1>\r\n");

    // Seven headings are H1 to H7; the size only picks FONT SIZE; a stored black still
    // writes its colour tag, an empty colour writes none; styles close in the same order.
    std::vector<std::string> seven;
    for (int i = 0; i < 7; ++i)
        seven.push_back(
            Rec({ "Heading", "u", "T", "6", "1", "1", "1", "1", "x", i == 0 ? "0" : "" }));
    const std::string out = emit(g, seven);
    EXPECT_NE(out.find("<H1 ALIGN=Right>\r\n<FONT COLOR=\"#000000\"><B><I><U><S><FONT SIZE=\"6\">"
                       "<BIG>T</BIG></FONT></B></I></U></S></FONT>\r\n</H1>\r\n"),
        std::string::npos);
    EXPECT_NE(out.find("<H7 ALIGN=Right>\r\n<B><I><U><S><FONT SIZE=\"6\"><BIG>T</BIG></FONT>"
                       "</B></I></U></S>\r\n</H7>\r\n"),
        std::string::npos);
    // A template lacks the alignment field, which reads as "other": Right.
    EXPECT_EQ(emit(g, { newSectionRecord(0) }),
        "<H1 ALIGN=Right>\r\n<FONT SIZE=\"2\"><BIG>Insert Your Heading Here!</BIG></FONT>"
        "\r\n</H1>\r\n");
}

TEST(Heading, CounterStartsAgainEachPage)
{
    Gen g;
    Project p;
    p.sections = { Rec({ "Heading", "u", "A", "2", "0", "0", "0", "0", "0", "" }) };
    PageGenerator gen = g.make();
    const std::string first = gen.buildPage(p, {});
    const std::string second = gen.buildPage(p, {});
    EXPECT_NE(second.find("<H1 ALIGN=Left>"), std::string::npos);
    EXPECT_EQ(first, second);
}

TEST(Paragraph, BreaksLinkStylesFollowOn)
{
    Gen g;
    const std::string para = Rec({ "Paragraph", "u", "Hello{lf13}{lf10}World{LF13}{LF10}", "2", "0",
        "1", "0", "0", "1", "", "0", "mailto:a@b.c" });
    EXPECT_EQ(emit(g, { para }),
        "<P ALIGN=Center>\r\n<I><FONT SIZE=\"2\"><A HREF=\"mailto:a@b.c\">"
        "Hello<BR>World<BR></A></FONT></I>\r\n");
    // Follow-on writes no paragraph start; a lone break marker stays as stored.
    const std::string follow
        = Rec({ "Paragraph", "u", "a{lf10}b{lf13}c", "1", "0", "0", "0", "1", "2", "0", "-1", "" });
    EXPECT_EQ(emit(g, { follow }),
        "<FONT COLOR=\"#000000\"><S><FONT SIZE=\"1\">a{lf10}b{lf13}c</FONT></S></FONT>\r\n");
}

TEST(Image, AttributesLinksAndImport)
{
    Gen g;
    const std::string logo = Rec({ "Image", "u", "C:\\Pics\\logo.gif", "0", "88", "31", "Logo", "0",
        "", "1", "0", "1", "0" });
    EXPECT_EQ(emit(g, { logo }, true),
        "<IMG SRC=\"logo.gif\" WIDTH=\"88\" HEIGHT=\"31\" ALT=\"Logo\" "
        "ALIGN=\"TOP\" Border=\"0\">\r\n");
    ASSERT_EQ(g.copier.calls.size(), 1u);
    EXPECT_EQ(g.copier.calls[0].second, "/out/logo.gif");

    auto linked = [](const char *type, const char *justify) {
        return Rec(
            { "Image", "u", "/p/a.png", "4", "", "", "", type, "L", "0", justify, "0", "1" });
    };
    EXPECT_EQ(emit(g, { linked("2", "2") }),
        "<P ALIGN=RIGHT>\r\n<A HREF=\"mailto:L\"><IMG SRC=\"/p/a.png\" ALIGN=\"RIGHT\" >"
        "</A>\r\n");
    EXPECT_EQ(emit(g, { linked("3", "0") }),
        "<P ALIGN=LEFT>\r\n<A HREF=\"#L\"><IMG SRC=\"/p/a.png\" ALIGN=\"RIGHT\" ></A>\r\n");
    EXPECT_EQ(emit(g, { linked("1", "7") }),
        "<P ALIGN=>\r\n<A HREF=\"L\"><IMG SRC=\"/p/a.png\" ALIGN=\"RIGHT\" ></A>\r\n");
    EXPECT_EQ(emit(g, { linked("0", "1") }),
        "<P ALIGN=CENTER>\r\n<IMG SRC=\"/p/a.png\" ALIGN=\"RIGHT\" >\r\n");
    // Position outside 0..4 writes no ALIGN; its own import box unticked keeps the path.
    g.copier.calls.clear();
    const std::string kept
        = Rec({ "Image", "u", "/p/b.png", "9", "", "", "", "0", "", "1", "", "0", "-1" });
    EXPECT_EQ(emit(g, { kept }, true), "<IMG SRC=\"/p/b.png\" >\r\n");
    EXPECT_TRUE(g.copier.calls.empty());
}

TEST(Divider, ShadeColourSizeWidth)
{
    Gen g;
    EXPECT_EQ(emit(g, { newSectionRecord(3) }), "<P>\r\n<HR >\r\n<P>\r\n");
    EXPECT_EQ(emit(g, { Rec({ "Divider", "u", "255", "3", "50", "0" }) }),
        "<P>\r\n<HR noshade color=\"#FF0000\" size=\"3\" width=\"50%\" >\r\n<P>\r\n");
    EXPECT_EQ(emit(g, { Rec({ "Divider", "u", "255", "01", "", "1" }) }),
        "<P>\r\n<HR size=\"01\" width=\"%\" >\r\n<P>\r\n");
}

TEST(Anchor, FollowOnAndUntranslatedText)
{
    Gen g;
    g.lists.colours = { "255" };
    EXPECT_EQ(emit(g, { Rec({ "Anchor", "u", "Fred", "<b>{c0}x", "0" }) }),
        "<P>\r\n<A NAME=\"Fred\"><!-- --><b>{c0}x</A>\r\n");
    EXPECT_EQ(
        emit(g, { Rec({ "Anchor", "u", "Fred", "", "1" }) }), "<A NAME=\"Fred\"><!-- --></A>\r\n");
}

TEST(List, BracketsSizeColourItems)
{
    Gen g;
    EXPECT_EQ(emit(g,
                  { Rec({ "List", "u", "One", "", "", "dropped.html", "Two", "t.html", "", "", "",
                      "", "", "", "", "", "0", "2", "0" }) }),
        "<UL>\r\n<LI> One\r\n<LI> <A HREF=\"t.html\">Two</A>\r\n</UL>\r\n");
    EXPECT_EQ(emit(g,
                  { Rec({ "List", "u", "A", "x", "", "", "", "", "", "", "", "", "", "", "", "",
                      "1", "4", "255" }) }),
        "<OL>\r\n<LI> <FONT COLOR=\"#FF0000\"><FONT SIZE=\"4\"><A HREF=\"x\">A</A></FONT>"
        "</FONT>\r\n</OL>\r\n");
    EXPECT_EQ(emit(g, { newSectionRecord(5) }), "<UL>\r\n</UL>\r\n");
}

TEST(LineIndex, PairsOddCountAndShortLists)
{
    Gen g;
    auto index = [](const std::string &lines, const char *align = "0") {
        return Rec({ "Index", "u", lines, "2", "1", "0", "1", "0", align, "0" });
    };
    EXPECT_EQ(
        emit(g, { index("Home{lf13}{lf10}index.html{lf13}{lf10}Links{LF13}{LF10}links.html") }),
        "<P ALIGN=Left>\r\n<FONT SIZE=\"2\"><B><U><A HREF=\"index.html\">Home</A> | "
        "<A HREF=\"links.html\">Links</A></B></U></Font>\r\n");
    // Odd count: the last label is dropped and the link before it keeps its separator.
    EXPECT_EQ(emit(g, { index("Home{lf10}index.html{lf13}Last{lf13}{lf10}", "5") }),
        "<P ALIGN=>\r\n<FONT SIZE=\"2\"><B><U><A HREF=\"index.html\">Home</A> | </B></U>"
        "</Font>\r\n");
    EXPECT_EQ(
        emit(g, { index("Only") }), "<P ALIGN=Left>\r\n<FONT SIZE=\"2\"><B><U></B></U></Font>\r\n");
    EXPECT_EQ(emit(g, { newSectionRecord(6) }), "<P ALIGN=>\r\n<FONT SIZE=\"2\"></Font>\r\n");
}

TEST(Html, CodeAsTypedWithoutMarks)
{
    Gen g;
    g.lists.colours = { "255" };
    EXPECT_EQ(
        emit(g, { Rec({ "HTML", "u", "<B>{c0}{lf13}{lf10}x{LF10}" }) }), "<B>{c0}\r\nx\n\r\n");
    EXPECT_EQ(emit(g, { newSectionRecord(7) }), "\r\n");
}

TEST(Sound, OptionsAndImportBox)
{
    Gen g;
    EXPECT_EQ(emit(g, { Rec({ "PlaySound", "u", "/s/a.wav", "0", "0", "1", "0", "1" }) }),
        "<P ALIGN=Center>\r\n<EMBED SRC=\"/s/a.wav\"  >\r\n");
    EXPECT_EQ(emit(g, { newSectionRecord(8) }),
        "<EMBED SRC=\"\" AUTOSTART=\"True\" HIDDEN=\"True\">\r\n");
    // Copied only when generation copies and the section's own box is ticked.
    EXPECT_EQ(emit(g, { Rec({ "PlaySound", "u", "/s/a.wav", "1", "0", "1", "1", "2" }) }, true),
        "<EMBED SRC=\"a.wav\" AUTOSTART=\"True\" >\r\n");
    EXPECT_EQ(emit(g, { Rec({ "PlaySound", "u", "/s/b.wav", "0", "1", "0", "1", "2" }) }, true),
        "<EMBED SRC=\"/s/b.wav\"  HIDDEN=\"True\">\r\n");
    ASSERT_EQ(g.copier.calls.size(), 1u);
    EXPECT_EQ(
        g.copier.calls[0], std::make_pair(std::string("/s/a.wav"), std::string("/out/a.wav")));
}

TEST(Sections, UnknownKindsWriteNothing)
{
    Gen g;
    EXPECT_EQ(emit(g, { Rec({ "heading", "u", "x" }), Rec({ "Title", "u" }), "", "garbage" }), "");
}
