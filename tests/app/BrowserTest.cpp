// A real browser loads the sample project's generated page from disk: the headings, links
// and list items are in its document, and every picture and sound it uses lies beside it.
#include "support/CliTestUtil.h"

#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/Cp1252.h"

#include <cstdio>
#include <regex>
#include <set>

using namespace stv;
using namespace stv::test;

namespace
{

std::string findChromium()
{
    for (const char *candidate : { "/usr/bin/chromium", "/usr/bin/chromium-browser" })
        if (std::filesystem::exists(candidate))
            return candidate;
    return {};
}

std::string runCapture(const std::string &command)
{
    std::string output;
    if (FILE *pipe = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
            output.append(buf, n);
        ::pclose(pipe);
    }
    return output;
}

std::string dumpDom(const std::string &chromium, const std::filesystem::path &profile,
    const std::string &url, const std::string &flags = {})
{
    return runCapture("timeout 120 '" + chromium
        + "' --headless --no-sandbox --disable-gpu --dump-dom --no-first-run"
          " --disable-background-networking --disable-component-update --disable-sync "
        + flags + " --user-data-dir='" + profile.string() + "' '" + url + "' 2>/dev/null");
}

// A 2 x 1 PNG picture.
const char TinyPng[] = "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00"
                       "\x00\x00\x02\x00\x00\x00\x01\x08\x02\x00\x00\x00\x7b\x40\xe8\xdd\x00"
                       "\x00\x00\x0f\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\xc0\xc0\xf0\x9f\x01"
                       "\x00\x07\xff\x01\xff\x01\x7f\x89\xa7\x00\x00\x00\x00\x49\x45\x4e\x44"
                       "\xae\x42\x60\x82";

std::size_t countOf(const std::string &text, const std::string &what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

} // namespace

TEST_F(CliFixture, ChromiumLoadsTheSamplePage)
{
    const std::string chromium = findChromium();
    if (chromium.empty())
        GTEST_SKIP() << "chromium is not installed";

    // The sample's favourite lists in the program folder make its marks work.
    for (const char *list : { "Sitorva.config", "StvColList", "StvLinkList", "StvImageList" })
        std::filesystem::copy_file(
            std::filesystem::path(SITORVA_SOURCE_DIR "/examples/sample") / list, prog / list);

    const auto page = root / "site" / "index.html";
    const CliOutcome r = run({ "--generate", SITORVA_SOURCE_DIR "/examples/sample/sample.stv",
        "--output", page.string() });
    ASSERT_EQ(r.exitCode, 0) << err.str();
    EXPECT_EQ(err.str(), "");

    const std::string dom = runCapture("timeout 120 '" + chromium
        + "' --headless --no-sandbox --disable-gpu --dump-dom --no-first-run"
          " --disable-background-networking --disable-component-update --disable-sync"
          " --user-data-dir='"
        + (root / "profile").string() + "' 'file://" + page.string() + "' 2>/dev/null");
    ASSERT_NE(dom.find("<body"), std::string::npos) << dom;

    EXPECT_NE(dom.find("<title>Sitorva sample page</title>"), std::string::npos);
    EXPECT_NE(dom.find("<h1 align=\"Center\">"), std::string::npos);
    EXPECT_NE(dom.find("Welcome to the sample page"), std::string::npos);
    EXPECT_NE(dom.find("<h3 align=\"Right\">"), std::string::npos);
    EXPECT_NE(dom.find("<a name=\"Fred\">"), std::string::npos);
    EXPECT_NE(dom.find("<a href=\"#Fred\">the anchor further down</a>"), std::string::npos);
    EXPECT_NE(
        dom.find(
            "<a href=\"https://sitorva.org/manual/\"><font color=\"A84700\">Manual</font></a>"),
        std::string::npos);
    EXPECT_NE(dom.find("<font color=\"C00000\">red</font>"), std::string::npos);
    EXPECT_NE(dom.find("<img src=\"star.png\""), std::string::npos);
    EXPECT_EQ(countOf(dom, "<ul>"), 1u);
    EXPECT_EQ(countOf(dom, "<ol>"), 1u);
    EXPECT_EQ(countOf(dom, "<li>"), 8u);
    EXPECT_NE(dom.find("<td>This table</td>"), std::string::npos);
    EXPECT_NE(dom.find("Site Last Updated Monday, 07 December, 2026."), std::string::npos);

    // Every file the page refers to by a bare name was copied beside it.
    std::set<std::string> used;
    const std::regex reference("(?:src|background)=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), reference);
         it != std::sregex_iterator(); ++it)
        used.insert((*it)[1]);
    EXPECT_EQ(used,
        (std::set<std::string> {
            "background.png", "chime.wav", "hills.png", "sitorva-logo.png", "star.png" }));
    for (const std::string &name : used)
        EXPECT_TRUE(std::filesystem::is_regular_file(page.parent_path() / name)) << name;
}

// Pictures and a sound named in Cyrillic and CJK, a project folder "Сайт" and a page folder
// "Страница": the copies lie beside the page under their real names and the browser shows
// both pictures.
TEST_F(CliFixture, ChromiumShowsPicturesNamedInAnyScript)
{
    const std::string chromium = findChromium();
    if (chromium.empty())
        GTEST_SKIP() << "chromium is not installed";
    const auto site = root / "Сайт";
    std::filesystem::create_directories(site);
    for (const char *name : { "картинка.png", "日本.png" })
        WriteAll(site / name, std::string(TinyPng, sizeof TinyPng - 1));
    WriteAll(site / "звук.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16));
    const auto image = [&](const std::string &name) {
        return joinFields({ "Image", "pic", storedPath((site / name).string()), "0", "", "", "",
            "0", "", "0", "0", "1", "0" });
    };
    Project project;
    project.sections = { image("картинка.png"), image("日本.png"),
        joinFields({ "PlaySound", "s", storedPath((site / "звук.wav").string()), "0", "0", "1", "0",
            "0" }) };
    project.pageFileName = storedPath((site / "Страница" / "страница.html").string());
    ASSERT_TRUE(saveProjectFile((site / "проект.stv").string(), project).ok());

    const CliOutcome r = run({ "--generate", (site / "проект.stv").string(), "--output",
        (site / "Страница" / "страница.html").string() });
    ASSERT_EQ(r.exitCode, 0) << err.str();
    EXPECT_EQ(err.str(), "");
    const auto page = site / "Страница" / "страница.html";
    ASSERT_TRUE(std::filesystem::is_regular_file(page));
    for (const char *name : { "картинка.png", "日本.png", "звук.wav" })
        EXPECT_TRUE(std::filesystem::is_regular_file(page.parent_path() / name)) << name;

    // The page in a frame of a checking page that writes each picture's natural width.
    const auto check = root / "check.html";
    WriteAll(check,
        "<html><body><iframe id=f src=\"Сайт/Страница/страница.html\"></iframe><p id=w></p>"
        "<script>document.getElementById('f').onload = function () {"
        " var d = this.contentDocument; var w = [];"
        " for (var i = 0; i < d.images.length; ++i) w.push(d.images[i].naturalWidth);"
        " document.getElementById('w').textContent = 'widths=' + w.join(','); };</script>"
        "</body></html>");
    const std::string dom = dumpDom(chromium, root / "profile", "file://" + check.string(),
        "--allow-file-access-from-files --virtual-time-budget=5000");
    EXPECT_NE(dom.find("widths=2,2<"), std::string::npos) << dom;
}
