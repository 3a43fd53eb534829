// A real browser loads the sample project's generated page from disk: the headings, links
// and list items are in its document, and every picture and sound it uses lies beside it.
#include "support/CliTestUtil.h"

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
            "<a href=\"https://sitorva.org/manual/\"><font color=\"FF8000\">Manual</font></a>"),
        std::string::npos);
    EXPECT_NE(dom.find("<font color=\"FF0000\">red</font>"), std::string::npos);
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
