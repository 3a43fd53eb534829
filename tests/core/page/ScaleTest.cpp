// Generation is linear in what it is given, whatever the text holds: unclosed marks and
// projects of nothing but line breaks. Times and memory are printed, not asserted (the
// machine may be busy); a quadratic algorithm or a string per line would not finish here.
#include "support/GenerateTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

using namespace stv;
using stv::test::Gen;

namespace
{

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
constexpr bool Sanitized = __has_feature(address_sanitizer);
#else
constexpr bool Sanitized = false;
#endif

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double peakMegabytes()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Keeps the page's bytes: a page of empty records is only its skeleton.
class KeepingSink : public ByteSink
{
public:
    bool write(std::string_view bytes) override
    {
        data.append(bytes);
        ++writes;
        return true;
    }
    std::string error() const override { return {}; }
    std::string data;
    int writes = 0;
};

} // namespace

TEST(Scale, UnclosedMarksAreLinear)
{
    Gen g;
    g.lists.colours = { "255" };
    g.lists.links = { "https://a/" };
    g.lists.images = { test::Rec({ "Image", "u", "p.gif" }) };
    for (const std::string unit : { "{c", "{l", "{i", "{C1{l2{i3" }) {
        std::string text;
        while (text.size() < (4u << 20))
            text += unit;
        PageGenerator gen = g.make();
        const auto start = std::chrono::steady_clock::now();
        const std::string out = gen.translateMarks(text + "xxxx{c0}");
        std::printf("%.1f MB of \"%s\": %.3f s\n", static_cast<double>(text.size()) / 1e6,
            unit.c_str(), secondsSince(start));
        EXPECT_EQ(out, text + "xxxx<font color=\"FF0000\">");
    }
}

TEST(Scale, ProjectOfLineBreaksIsReadAsViews)
{
    Gen g;
    const std::string header = "\r\n\r\n\r\n\r\n\r\n\r\n0\r\n\r\n0\r\nBreaks\r\n";
    Project empty;
    empty.importBackgroundImage = false;
    empty.backgroundColour = 0;
    empty.pageTitle = "Breaks";
    const std::string emptyPage = g.make().buildPage(empty, {});

    const std::size_t large = Sanitized ? (10u << 20) : (100u << 20);
    double smallSeconds = 0;
    for (const std::size_t size : { large / 10, large }) {
        std::string bytes = header;
        bytes.reserve(header.size() + size + 4);
        bytes.append(size - size / 4, '\n');
        while (bytes.size() < header.size() + size)
            bytes.append("\r\n\r");
        const double before = peakMegabytes();
        const auto start = std::chrono::steady_clock::now();
        ProjectFile file;
        ASSERT_TRUE(file.parse(std::move(bytes), "breaks.stv").ok());
        KeepingSink sink;
        ASSERT_TRUE(g.make().writePage(file.header(), SectionRecords(file), {}, sink));
        const double seconds = secondsSince(start);
        const double peak = peakMegabytes();
        std::printf("%zu MB of line breaks: %.3f s, peak resident %.0f MB (%.0f MB once the bytes "
                    "were made)\n",
            size >> 20, seconds, peak, before);
        if (size != large)
            smallSeconds = seconds;
        else if (smallSeconds > 0)
            std::printf("ten times the breaks took %.1f times as long\n", seconds / smallSeconds);
        EXPECT_EQ(sink.data, emptyPage);
        // The bytes once and a little more; a string or a view per line would be gigabytes.
        if (!Sanitized) {
            EXPECT_LT(peak, 2.0 * static_cast<double>(size >> 20) + 100.0);
        }
    }
}
