// The one-pass mark path gives the page the three passes give: texts made of marks, breaks and
// near misses, with lists whose entries hold braces of their own.
#include "core/page/MarkScan.h"
#include "support/GenerateTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace stv;
using stv::test::Gen;
using stv::test::Rec;

namespace
{

// What a paragraph's text becomes by the three passes, its breaks replaced first.
std::string paragraphInPasses(PageGenerator &gen, std::string_view text)
{
    std::string withBreaks;
    return gen.translateMarksInPasses(replaceParagraphBreaks(text, withBreaks) ? withBreaks : text);
}

std::string paragraphText(PageGenerator &gen, std::string_view text)
{
    std::string out;
    gen.appendParagraphText(text, out);
    return out;
}

std::string randomText(std::mt19937 &random)
{
    static const char *const Pieces[] = { "{c0}", "{C1}", "{c/}", "{l0}", "{L1}", "{l/}", "{i0}",
        "{I1}", "{c9}", "{l12}", "{lf13}{lf10}", "{LF13}{Lf10}", "{lf13}", "{lf10}", "{", "}", "{c",
        "{l", "{i", "{c0", "{l/", "x", "ab", "word ", "      ", "{x}", "{{", "}{", "\xA0" };
    std::string text;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i)
        text += Pieces[random() % std::size(Pieces)];
    return text;
}

} // namespace

TEST(MarkPaths, OnePassGivesWhatThreePassesGive)
{
    const std::string picture
        = Rec({ "Image", "u", "/p/{i1}.png", "", "", "", "{c0}", "0", "", "1", "", "0", "1" });
    const std::vector<std::vector<std::string>> linkLists
        = { { "a.html", "mailto:x@y.z" }, { "page.html#{i0}", "b.html" }, { "{c0}", "{l1}x" }, {} };
    std::mt19937 random(24);
    int compared = 0;
    for (const auto &links : linkLists) {
        Gen g;
        g.lists.colours = { "255", "65280" };
        g.lists.links = links;
        g.lists.images = { picture, "not a record {i0}" };
        PageGenerator gen = g.make();
        for (int i = 0; i < 4000; ++i, ++compared) {
            const std::string text = randomText(random);
            ASSERT_EQ(gen.translateMarks(text), gen.translateMarksInPasses(text)) << text;
            ASSERT_EQ(paragraphText(gen, text), paragraphInPasses(gen, text)) << text;
        }
    }
    EXPECT_EQ(compared, 16000);
}

TEST(MarkPaths, ALinkEntryHoldingABraceIsTranslatedByTheLaterPasses)
{
    // The picture pass sees the link pass's output, so a "{i0}" a link entry brings becomes a
    // picture; the one-pass path must fall back to the passes to give the same page.
    Gen g;
    g.lists.links = { "page.html#{i0}" };
    g.lists.images = { Rec({ "Image", "u", "p.png", "", "", "", "", "0", "", "1", "", "0", "1" }) };
    PageGenerator gen = g.make();
    const std::string expected = "see <a href=\"page.html#<IMG SRC=\"p.png\" >\r\n\">here</a>";
    EXPECT_EQ(gen.translateMarksInPasses("see {l0}here{l/}"), expected);
    EXPECT_EQ(gen.translateMarks("see {l0}here{l/}"), expected);
    EXPECT_EQ(paragraphText(gen, "see {l0}here{l/}"), expected);

    Project p;
    p.sections = { Rec({ "List", "u", "see {l0}here{l/}" }) };
    EXPECT_NE(gen.buildPage(p, {}).find(expected), std::string::npos);
}
