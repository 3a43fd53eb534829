// Inline colour, link and picture marks.
#include "support/GenerateTestUtil.h"

#include <gtest/gtest.h>

using namespace stv;
using stv::test::Gen;
using stv::test::Rec;

namespace
{

std::string translate(Gen &g, const std::string &text)
{
    PageGenerator gen = g.make();
    return gen.translateMarks(text);
}

} // namespace

TEST(ColourMarks, ValidInvalidAndClosing)
{
    Gen g;
    g.lists.colours = { "255", "0", "16777215" };
    EXPECT_EQ(translate(g, "{c0}Red{c/} rest"), "<font color=\"FF0000\">Red</font> rest");
    EXPECT_EQ(translate(g, "{c9}x"), "{c9}x");
    EXPECT_EQ(translate(g, "{C2}"), "<font color=\"FFFFFF\">");
    EXPECT_EQ(translate(g, "{C/}"), "<font color=\"FF0000\">"); // not a closing mark: N = 0
    EXPECT_EQ(translate(g, "{c1234}"), "{c1234}"); // N = 123: past the end
    EXPECT_EQ(translate(g, "{c12345}"), "{c12345}"); // "}" too far
    EXPECT_EQ(translate(g, "{c}"), "<font color=\"FF0000\">");
    EXPECT_EQ(translate(g, "{c-1}{c 1}"), "{c-1}<font color=\"000000\">");
    EXPECT_EQ(translate(g, "{c/}"), "</font>");
    EXPECT_EQ(translate(g, "{c2"), "{c2");
    EXPECT_EQ(translate(g, "{{c1}}"), "{<font color=\"000000\">}");

    g.lists.colours = {};
    EXPECT_EQ(translate(g, "{c0}x{c/}"), "{c0}x</font>");
    g.lists.colours.assign(200, "255");
    EXPECT_EQ(translate(g, "{c1234}"), "<font color=\"FF0000\">");
}

TEST(LinkMarks, LinksAndLineBreakMarkers)
{
    Gen g;
    g.lists.links = { "https://a/", "E" };
    EXPECT_EQ(translate(g, "{l1}here{l/}"), "<a href=\"E\">here</a>");
    EXPECT_EQ(translate(g, "{L0}x{L/}"), "<a href=\"https://a/\">x<a href=\"https://a/\">");
    // Stored line breaks are never links.
    EXPECT_EQ(translate(g, "a{lf13}b{LF10}c"), "a{lf13}b{LF10}c");
    EXPECT_EQ(translate(g, "{lf1}"), "<a href=\"https://a/\">");
}

TEST(Marks, EntriesHoldingMarksAreNotTranslatedAgain)
{
    Gen g;
    g.lists.links = { "{l0}" };
    g.lists.colours = { "255" };
    EXPECT_EQ(translate(g, "{l0}"), "<a href=\"{l0}\">");
    g.lists.images
        = { Rec({ "Image", "u", "/p/{i0}.png", "", "", "", "{i0}", "0", "", "1", "", "0", "1" }) };
    EXPECT_EQ(translate(g, "{i0}"), "<IMG SRC=\"/p/{i0}.png\" ALT=\"{i0}\" >\r\n");
    // Passes run colour, link, picture: a link entry's colour mark stays as stored.
    g.lists.links = { "{c0}" };
    EXPECT_EQ(translate(g, "{l0}{c0}"), "<a href=\"{c0}\"><font color=\"FF0000\">");
}

TEST(PictureMarks, InsideAParagraphAndImportRules)
{
    const std::string pic
        = Rec({ "Image", "u", "/pics/p.gif", "", "", "", "", "0", "", "0", "1", "-1", "1" });
    Gen preview(false);
    preview.lists.images = { pic };
    PageGenerator gen = preview.make();
    std::string out;
    gen.emitRecord(
        Rec({ "Paragraph", "u", "a{i0}b", "2", "0", "0", "0", "0", "0", "", "1", "" }), out, false);
    EXPECT_EQ(
        out, "<FONT SIZE=\"2\">a<P ALIGN=CENTER>\r\n<IMG SRC=\"/pics/p.gif\" >\r\nb</FONT>\r\n");
    EXPECT_TRUE(preview.copier.calls.empty());

    // Create Web Page with the background box off: sections keep their paths, inline
    // pictures are still copied.
    Gen create(true);
    create.lists.images = { pic };
    Project p;
    p.importBackgroundImage = false;
    p.backgroundImage = "/bg/tile.gif";
    p.sections = { Rec({ "Paragraph", "u", "{i0}", "2", "0", "0", "0", "0", "0", "", "1", "" }),
        Rec({ "Image", "u", "/pics/q.gif", "", "", "", "", "0", "", "1", "", "1", "1" }) };
    const std::string page = create.make().buildPage(p, {});
    EXPECT_NE(page.find("<BODY BACKGROUND=\"/bg/tile.gif\">"), std::string::npos);
    EXPECT_NE(page.find("<IMG SRC=\"p.gif\" >"), std::string::npos);
    EXPECT_NE(page.find("<IMG SRC=\"/pics/q.gif\" >"), std::string::npos);
    ASSERT_EQ(create.copier.calls.size(), 1u);
    EXPECT_EQ(create.copier.calls[0].first, "/pics/p.gif");
}

// A text whose marks stand close goes through the passes a slice at a time: marks cut by a
// slice's end at every offset, and a text expanding past several page blocks, come out as
// they do one by one; written into a sink, the page goes out in blocks of the page's size
// before the text's end.
TEST(MarkSlices, MarksAcrossSlicesAndBlocksAreTranslatedWhole)
{
    Gen g;
    g.lists.colours = { "255" };
    g.lists.links = { "https://x.org/" };
    g.lists.images
        = { Rec({ "Image", "m", "m.png", "", "", "", "M", "0", "", "0", "", "1", "1" }) };
    const std::string unit = "{c0}{l0}{i0}{lf13}{c/}{l/}{";
    const std::string unitPage = translate(g, unit);
    EXPECT_EQ(unitPage.substr(0, 38), "<font color=\"FF0000\"><a href=\"https://");
    const std::size_t units = 3 * PageGenerator::MarkSlice / unit.size();
    for (std::size_t shift = 0; shift < 8; ++shift) {
        std::string text(shift, 'x');
        std::string expected(shift, 'x');
        for (std::size_t i = 0; i < units; ++i) {
            text += unit;
            expected += unitPage;
        }
        EXPECT_EQ(translate(g, text), expected) << shift;
    }

    class BlockSink : public ByteSink
    {
    public:
        bool write(std::string_view bytes) override
        {
            data.append(bytes);
            sizes.push_back(bytes.size());
            return true;
        }
        std::string error() const override { return {}; }
        std::string data;
        std::vector<std::size_t> sizes;
    } sink;
    std::string text;
    for (std::size_t i = 0; i < 20000; ++i)
        text += "{i0}{l0}";
    Project p;
    p.sections = { Rec({ "Paragraph", "p", text, "2", "0", "0", "0", "0", "0", "", "0", "" }) };
    const std::string whole = g.make().buildPage(p, {});
    ASSERT_TRUE(writePage(p, g.lists, {}, g.request, g.copier, sink).ok());
    EXPECT_EQ(sink.data, whole);
    ASSERT_GT(sink.sizes.size(), 2u);
    EXPECT_LT(sink.sizes[0], PageGenerator::PageBlockSize + 1024);
}
