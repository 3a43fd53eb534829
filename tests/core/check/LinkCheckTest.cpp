// The online link check against a web server on loopback: what counts as broken, what only
// as unverified, and how politely the server is asked.

#include "core/upload/LinkChecker.h"
#include "support/ScriptServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>
#include <thread>

namespace stv
{
namespace
{

using namespace std::chrono_literals;

struct LoggedRequest {
    std::string method;
    std::string path;
    int atOnce = 0;
    long long millis = 0;
};

struct LinkCheckTest : ::testing::Test {
    std::string log = "/tmp/stv-links-" + std::to_string(::getpid()) + ".log";
    test::LinkTestServer server { log };
    LinkCheckLimits limits;
    std::atomic<bool> cancel { false };

    void SetUp() override
    {
        ASSERT_EQ(server.startError(), "");
        limits.perLink = 5s;
    }
    void TearDown() override { std::remove(log.c_str()); }

    std::vector<LoggedRequest> requests() const
    {
        std::vector<LoggedRequest> out;
        for (const std::string &line : server.requests()) {
            std::istringstream words(line);
            LoggedRequest r;
            words >> r.method >> r.path >> r.atOnce >> r.millis;
            out.push_back(r);
        }
        return out;
    }
};

TEST_F(LinkCheckTest, BrokenAndUnverifiedLinksAreToldApart)
{
    const std::vector<std::string> paths = { "/ok", "/moved", "/forbidden", "/missing", "/gone",
        "/busy", "/broken", "/nohead", "/loop" };
    std::vector<PageLink> links;
    for (std::size_t i = 0; i < paths.size(); ++i)
        links.push_back({ static_cast<int>(i + 1), server.url(paths[i]) });
    links.push_back({ 10, "mailto:someone@example.org" });
    links.push_back({ 11, "mailto:someone" });
    links.push_back({ 12, "http://127.0.0.1:1/" }); // nothing listens: refused
    links.push_back({ 13, server.url("/missing") }); // asked once, reported for both sections

    std::size_t lastDone = 0, lastTotal = 0;
    const auto started = std::chrono::steady_clock::now();
    const std::vector<Problem> problems
        = checkLinks(links, limits, cancel, [&](std::size_t done, std::size_t total) {
              lastDone = done;
              lastTotal = total;
          });
    std::printf("the link check took %lld ms\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started)
                                   .count()));

    std::map<int, std::string> codes;
    for (const Problem &problem : problems)
        codes[problem.section] += problem.code;
    EXPECT_EQ(codes,
        (std::map<int, std::string> { { 3, "unverified-link" }, { 4, "broken-link" },
            { 5, "broken-link" }, { 6, "unverified-link" }, { 7, "unverified-link" },
            { 9, "unverified-link" }, { 11, "broken-link" }, { 12, "broken-link" },
            { 13, "broken-link" } }));
    EXPECT_EQ(lastDone, 12u);
    EXPECT_EQ(lastTotal, 12u);

    // HEAD first; GET only where HEAD was refused; each address asked once.
    std::map<std::string, std::string> methods;
    for (const LoggedRequest &r : requests())
        methods[r.path] += r.method + " ";
    EXPECT_EQ(methods["/ok"], "HEAD HEAD "); // once for itself, once after /moved
    EXPECT_EQ(methods["/nohead"], "HEAD GET ");
    EXPECT_EQ(methods["/missing"], "HEAD ");
    EXPECT_EQ(methods["/forbidden"], "HEAD GET ");
}

TEST_F(LinkCheckTest, OneHostIsAskedTwoAtATimeWithAPauseBetweenRequests)
{
    std::vector<PageLink> links;
    for (int i = 0; i < 6; ++i)
        links.push_back({ i + 1, server.url("/ok?page=" + std::to_string(i)) });
    EXPECT_TRUE(checkLinks(links, limits, cancel).empty());
    const std::vector<LoggedRequest> seen = requests();
    ASSERT_EQ(seen.size(), 6u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_LE(seen[i].atOnce, 2);
        // 250 ms between starts, less what the loopback's delivery may take from it.
        if (i > 0) {
            EXPECT_GE(seen[i].millis - seen[i - 1].millis, 200) << "request " << i;
        }
    }
}

TEST_F(LinkCheckTest, AStalledSiteIsUnverifiedAfterTheTimeAllowedAndCancelStopsTheCheck)
{
    limits.perLink = 400ms;
    std::vector<Problem> problems = checkLinks({ { 1, server.url("/stall") } }, limits, cancel);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].code, "unverified-link");
    EXPECT_NE(problems[0].message.find("no answer"), std::string::npos);

    limits.perLink = 60s;
    std::thread canceller([this] {
        std::this_thread::sleep_for(300ms);
        cancel = true;
    });
    const auto started = std::chrono::steady_clock::now();
    problems = checkLinks({ { 1, server.url("/stall") } }, limits, cancel);
    canceller.join();
    std::printf("cancelled after %lld ms\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started)
                                   .count()));
    EXPECT_TRUE(problems.empty());
}

TEST(MailAddressForm, OnlyTheFormIsChecked)
{
    EXPECT_TRUE(isMailAddressForm("hello@sitorva.org"));
    EXPECT_TRUE(isMailAddressForm("first.last+tag@mail.example.co.uk"));
    EXPECT_FALSE(isMailAddressForm("hello"));
    EXPECT_FALSE(isMailAddressForm("@sitorva.org"));
    EXPECT_FALSE(isMailAddressForm("a@b"));
    EXPECT_FALSE(isMailAddressForm("a@@b.org"));
    EXPECT_FALSE(isMailAddressForm("a b@c.org"));
    EXPECT_FALSE(isMailAddressForm("a@b..org"));
}

} // namespace
} // namespace stv
