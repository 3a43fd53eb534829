// The modern page: its skeleton, the sections it writes, the marks kept well nested, the page
// as UTF-8, anchors as unique ids, and picture sizes read from the files' headers.
#include "core/page/ModernPage.h"
#include "support/GenerateTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace stv;
using stv::test::Gen;
using stv::test::Rec;

namespace
{

std::string modernPage(Gen &g, const std::vector<std::string> &sections, PageOptions options = {})
{
    Project project;
    project.pageTitle = "T";
    project.sections = sections;
    options.style = PageStyle::Modern;
    return ModernPage(g.lists, g.request, g.copier).buildPage(project, options);
}

// The page's body between <body> and <footer>.
std::string body(const std::string &page)
{
    const std::size_t start = page.find("<body>\n") + 7;
    return page.substr(start, page.find("<footer") - start);
}

std::size_t count(const std::string &text, const std::string &what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ModernPage, SkeletonFooterAndTheClassicPageUntouched)
{
    Gen g;
    PageOptions options;
    options.language = "pt-BR";
    const std::string page = modernPage(g, {}, options);
    EXPECT_EQ(
        page.rfind("<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n"
                   "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                   "<title>T</title>\n<meta name=\"description\" content=\"T\">\n",
            0),
        0u);
    EXPECT_EQ(count(page, "<style>"), 1u);
    EXPECT_NE(page.find("body{background:#FFFFFF}"), std::string::npos);
    EXPECT_EQ(body(page), "<main></main>\n");
    EXPECT_NE(page.find("<footer class=\"fb\">\n<p class=\"upd\">Site Last Updated Saturday, 01 "
                        "January, 2000.  00:00:00</p>\n<p class=\"credit\">Created with <a "
                        "href=\"https://sitorva.org/\">Sitorva 98</a></p>\n</footer>\n</body>\n"
                        "</html>\n"),
        std::string::npos);
    // No request to another host: nothing is loaded from an address.
    EXPECT_EQ(page.find("http", page.find("<head>")), page.find("https://sitorva.org/\">"));

    // The choice reaches writePage: classic stays the designed page.
    Project project;
    project.pageTitle = "T";
    StringSink classic, modern;
    PageOptions classicOptions;
    ASSERT_TRUE(writePage(project, g.lists, classicOptions, g.request, g.copier, classic).ok());
    EXPECT_EQ(classic.data().rfind("<HTML>\r\n<HEAD>\r\n", 0), 0u);
    classicOptions.style = PageStyle::Modern;
    ASSERT_TRUE(writePage(project, g.lists, classicOptions, g.request, g.copier, modern).ok());
    EXPECT_EQ(modern.data().rfind("<!DOCTYPE html>", 0), 0u);
}

TEST(ModernPage, SectionsAsElements)
{
    Gen g;
    g.lists.colours = { "255" };
    const std::string out = body(modernPage(g,
        { Rec({ "Heading", "u", "Welcome", "3", "1", "0", "0", "0", "1", "255" }),
            Rec({ "Paragraph", "u", "One{lf13}{lf10}two", "2", "0", "1", "0", "0", "0", "", "0",
                "#my place" }),
            Rec({ "Anchor", "u", "my place", "Here", "1" }),
            Rec({ "Divider", "u", "255", "3", "50", "0" }),
            Rec({ "List", "u", "a", "", "b", "x.html", "", "", "", "", "", "", "", "", "", "", "1",
                "9", "255" }),
            Rec({ "Index", "u", "Home{lf13}{lf10}index.html{lf13}{lf10}Odd", "2", "1", "0", "0",
                "0", "1", "0" }),
            Rec({ "HTML", "u", "<div>raw</div>" }),
            Rec({ "PlaySound", "u", "a.wav", "1", "1", "0", "0", "1" }),
            Rec({ "heading", "u", "unknown kind writes nothing" }) }));
    EXPECT_EQ(out,
        "<header>\n<h1 class=\"ac t3\" style=\"color:#FF0000\"><b>Welcome</b></h1>\n"
        "</header>\n<main>\n"
        "<p class=\"al\"><span class=\"s2\"><i><a href=\"#my_place\">One<br>two</a></i></span>\n"
        "<span id=\"my_place\">Here</span>\n</p>\n"
        "<hr style=\"border:0;background:#FF0000;height:3px;width:50%\">\n"
        "<ol class=\"s6\" style=\"color:#FF0000\">\n<li>a</li>\n<li><a href=\"x.html\">b</a></li>\n"
        "</ol>\n"
        "<nav class=\"ac s2\" aria-label=\"Links\"><b><a href=\"index.html\">Home</a> | "
        "</b></nav>\n"
        "<div>raw</div>\n"
        "<p class=\"ac\"><audio src=\"a.wav\" autoplay></audio>\n</p>\n</main>\n");

    // Levels beyond six carry the heading role; a second line index has a name of its own.
    std::vector<std::string> many(
        7, Rec({ "Heading", "u", "H", "2", "0", "0", "0", "0", "0", "" }));
    many.push_back(Rec({ "Index", "u", "a{lf10}b", "2", "0", "0", "0", "0", "", "0" }));
    many.push_back(Rec({ "Index", "u", "a{lf10}b", "2", "0", "0", "0", "0", "", "0" }));
    const std::string levels = body(modernPage(g, many));
    EXPECT_NE(levels.find("<h6 class=\"al t2\">H</h6>"), std::string::npos);
    EXPECT_NE(levels.find("<div role=\"heading\" aria-level=\"7\" class=\"h al t2\">H</div>"),
        std::string::npos);
    EXPECT_NE(levels.find("aria-label=\"Links 2\""), std::string::npos);
}

TEST(ModernPage, MarksStayWellNested)
{
    Gen g;
    g.lists.colours = { "255", "32768" };
    g.lists.links = { "a.html", "b c.html" };
    const auto para = [&](const std::string &text, const std::string &link = "") {
        const std::string out = body(modernPage(
            g, { Rec({ "Paragraph", "u", text, "2", "0", "0", "0", "0", "0", "", "0", link }) }));
        const std::size_t start = out.find("<span class=\"s2\">") + 17;
        return out.substr(start, out.rfind("</span>") - start);
    };
    EXPECT_EQ(para("{c0}red{c/} rest"), "<span style=\"color:#FF0000\">red</span> rest");
    // A colour run ending inside a link: the link is closed and opened again around it.
    EXPECT_EQ(para("{c0}a{l1}b{c/}c{l/}"),
        "<span style=\"color:#FF0000\">a<a href=\"b%20c.html\">b</a></span>"
        "<a href=\"b%20c.html\">c</a>");
    // Stray ends are dropped; what is open at the end is closed; a link in a link ends the
    // first; "{C/}" opens colour 0.
    EXPECT_EQ(para("x{c/}{l/}{l0}y{l1}z{C/}w"),
        "x<a href=\"a.html\">y</a><a href=\"b%20c.html\">z<span style=\"color:#FF0000\">w"
        "</span></a>");
    // Inside a link of the paragraph's own, link marks are left out, their words kept.
    EXPECT_EQ(para("{l0}in{l/} out", "p.html"), "<a href=\"p.html\">in out</a>");
    // Not marks: out of range, a far "}", a line break marker, a lone "<" that starts no tag.
    EXPECT_EQ(
        para("{c9} {c12345} {lf13} a < b <i>c</i>"), "{c9} {c12345} {lf13} a &lt; b <i>c</i>");
}

TEST(ModernPage, PicturesWithSizesAltAndLazyLoading)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "stv-modern-pictures";
    fs::create_directories(folder);
    // A 2 x 1 PNG header and a 40 x 30 GIF header.
    std::ofstream(folder / "p.png", std::ios::binary)
        << std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x02\0\0\0\x01\x08\x02\0\0\0", 29);
    std::ofstream(folder / "g.gif", std::ios::binary) << std::string("GIF89a\x28\0\x1E\0", 10);
    Gen g(true);
    g.request.sourceFolder = folder.string();
    g.lists.images
        = { Rec({ "Image", "u", "g.gif", "", "", "", "", "1", "x.html", "0", "0", "1", "0" }) };
    const std::string out = body(modernPage(g,
        { Rec({ "Image", "u", "p.png", "0", "", "", "Dot", "0", "", "0", "1", "1", "0" }),
            Rec({ "Image", "u", "g.gif", "3", "80", "", "", "3", "my place", "1", "0", "1", "1" }),
            Rec({ "Image", "u", "sub/p.png", "9", "50%", "", "", "2", "a@b", "1", "", "0", "0" }),
            Rec({ "Paragraph", "u", "in {i0} text", "2", "0", "0", "0", "0", "0", "", "0", "" }),
            Rec({ "Image", "u", "", "0", "", "", "", "0", "", "0", "0", "1", "0" }) }));
    EXPECT_EQ(out,
        "<main>\n<p class=\"ac\"><img src=\"p.png\" alt=\"Dot\" width=\"2\" height=\"1\" "
        "class=\"vt\">\n"
        "<a href=\"#my_place\"><img src=\"g.gif\" alt=\"g\" width=\"80\" height=\"60\" "
        "loading=\"lazy\" class=\"fl bd\"></a>\n"
        "<a href=\"mailto:a@b\"><img src=\"sub/p.png\" alt=\"p\" style=\"width:50%\" "
        "loading=\"lazy\"></a>\n</p>\n"
        "<p class=\"al\"><span class=\"s2\">in <a href=\"x.html\"><img src=\"g.gif\" alt=\"g\" "
        "width=\"40\" height=\"30\" loading=\"lazy\"></a> text</span>\n</p>\n</main>\n");
    // The imported pictures are copied, a picture used twice once; the others keep their path.
    ASSERT_EQ(g.copier.calls.size(), 2u);
    EXPECT_EQ(g.copier.calls[1].first, (folder / "g.gif").string());
    fs::remove_all(folder);
}

TEST(ModernPage, PageIsUtf8)
{
    std::string out;
    appendPageUtf8("caf\xE9 \x80 &#321;&#243;d&#378; &#60; &#0; &#99999999; \x81", out);
    EXPECT_EQ(out,
        "caf\xC3\xA9 \xE2\x82\xAC \xC5\x81\xC3\xB3"
        "d\xC5\xBA &#60; &#0; &#99999999; "
        "\xEF\xBF\xBD");
}

TEST(ModernPage, AnchorIdsAreUniqueAndLinksFindTheFirst)
{
    AnchorIds ids;
    EXPECT_EQ(ids.take("Fred"), "Fred");
    EXPECT_EQ(ids.take("Fred-2"), "Fred-2");
    EXPECT_EQ(ids.take("Fred"), "Fred-3");
    EXPECT_EQ(ids.take("a b\"c"), "a_b_c");
    EXPECT_EQ(ids.take(""), "");
    std::string link;
    appendAddress("#a b\"c", link);
    EXPECT_EQ(link, "#a_b_c");
}

TEST(PictureSize, HeadersOfEveryKind)
{
    using S = PixelSize;
    EXPECT_EQ(pictureSizeOfHeader(std::string("GIF87a\x10\x01\x20\0", 10)), (S { 272, 32 }));
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x01\0\0\0\0\x40", 24);
    EXPECT_EQ(pictureSizeOfHeader(png), (S { 256, 64 }));
    std::string vp8x = std::string("RIFF\0\0\0\0WEBPVP8X", 16) + std::string(8, '\0');
    vp8x += std::string("\x3F\x01\0\xC7\0\0", 6);
    EXPECT_EQ(pictureSizeOfHeader(vp8x), (S { 320, 200 }));
    std::string lossy = std::string("RIFF\0\0\0\0WEBPVP8 ", 16) + std::string(10, '\0');
    lossy += std::string("\x40\x01\xF0\0", 4);
    EXPECT_EQ(pictureSizeOfHeader(lossy), (S { 320, 240 }));
    EXPECT_EQ(pictureSizeOfHeader("GIF89a\0\0\0\0"), std::nullopt); // a size of 0
    EXPECT_EQ(pictureSizeOfHeader("not a picture at all, not at all"), std::nullopt);

    // A JPEG's frame stands after other segments, which are skipped.
    const auto path = std::filesystem::temp_directory_path() / "stv-size.jpg";
    std::string jpeg("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 20);
    jpeg += std::string("\xFF\xC0\0\x11\x08\x01\xE0\x02\x80\x03", 10);
    std::ofstream(path, std::ios::binary) << jpeg;
    EXPECT_EQ(pictureFileSize(path.string()), (S { 640, 480 }));
    std::ofstream(path, std::ios::binary) << jpeg.substr(0, 22); // cut inside the frame
    EXPECT_EQ(pictureFileSize(path.string()), std::nullopt);
    EXPECT_EQ(pictureFileSize("/nonexistent/x.png"), std::nullopt);
    EXPECT_EQ(pictureFileSize("/tmp"), std::nullopt); // a folder
    std::filesystem::remove(path);
}
