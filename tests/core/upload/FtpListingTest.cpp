#include "core/upload/FtpListing.h"
#include "core/upload/FtpClient.h"
#include "core/upload/RemoteAddress.h"

#include <gtest/gtest.h>

using namespace stv;

namespace
{
const CivilTime Today { 2024, 3, 15, 0, 0, 0 };

FtpEntry Entry(std::string name, long long size, bool dir, CivilTime when)
{
    return FtpEntry { std::move(name), size, dir, when };
}
FtpEntry Entry(std::string name, long long size, bool dir, std::nullopt_t)
{
    return FtpEntry { std::move(name), size, dir, std::nullopt };
}
} // namespace

TEST(DosDateTime, KeepsTwoSecondStepsAndItsYearRange)
{
    // The last second of 1999 packs into 23:59:58.
    const auto packed = toDosDateTime({ 1999, 12, 31, 23, 59, 59 });
    ASSERT_TRUE(packed);
    EXPECT_EQ(fromDosDateTime(*packed), (CivilTime { 1999, 12, 31, 23, 59, 58 }));
    EXPECT_EQ(packed->date, ((1999 - 1980) << 9) | (12 << 5) | 31);
    EXPECT_EQ(packed->time, (23 << 11) | (59 << 5) | 29);

    EXPECT_EQ(fromDosDateTime(*toDosDateTime({ 1980, 1, 1, 0, 0, 0 })),
        (CivilTime { 1980, 1, 1, 0, 0, 0 }));
    EXPECT_EQ(fromDosDateTime(*toDosDateTime({ 2107, 12, 31, 23, 59, 58 })),
        (CivilTime { 2107, 12, 31, 23, 59, 58 }));
    EXPECT_FALSE(toDosDateTime({ 1979, 12, 31, 23, 59, 59 }));
    EXPECT_FALSE(toDosDateTime({ 2108, 1, 1, 0, 0, 0 }));
    EXPECT_FALSE(toDosDateTime({ 2000, 13, 1, 0, 0, 0 }));
    EXPECT_FALSE(toDosDateTime({ 2000, 1, 1, 24, 0, 0 }));
}

TEST(ListingRow, SizeIsEmptyForZeroAndFoldersAndDateGoesThroughDosFields)
{
    EXPECT_EQ(makeListingRow(Entry("a", 1234, false, std::nullopt)).size, "1234");
    EXPECT_EQ(makeListingRow(Entry("a", 0, false, std::nullopt)).size, "");
    EXPECT_EQ(makeListingRow(Entry("d", 4096, true, std::nullopt)).size, "");
    // Sizes past 4 GB are shown whole, not cut to 32 bits.
    EXPECT_EQ(makeListingRow(Entry("big", 5000000000LL, false, std::nullopt)).size, "5000000000");

    const ListingRow row = makeListingRow(Entry("y2k", 1, false, { 1999, 12, 31, 23, 59, 59 }));
    EXPECT_EQ(row.date, (CivilTime { 1999, 12, 31, 23, 59, 58 }));
    EXPECT_FALSE(makeListingRow(Entry("old", 1, false, { 1970, 1, 1, 0, 0, 0 })).date);
    FtpEntry undated { "u", 1, false, std::nullopt };
    EXPECT_FALSE(makeListingRow(undated).date);
}

TEST(ParseMlsd, ReadsFactsAndKeepsNamesWhole)
{
    EXPECT_EQ(
        parseMlsdLine("modify=19991231235959;perm=r;size=1234;type=file;unique=1; a b;c.txt\r\n"),
        Entry("a b;c.txt", 1234, false, { 1999, 12, 31, 23, 59, 59 }));
    EXPECT_EQ(parseMlsdLine("Type=dir;Modify=20200102030405.123;Sizd=4096; sub"),
        Entry("sub", 4096, true, { 2020, 1, 2, 3, 4, 5 }));
    EXPECT_EQ(
        parseMlsdLine("type=OS.unix=slink:/x;size=3; link"), Entry("link", 3, false, std::nullopt));
    EXPECT_FALSE(parseMlsdLine("type=cdir;modify=20200101000000; ."));
    EXPECT_FALSE(parseMlsdLine("type=pdir;modify=20200101000000; .."));
    EXPECT_FALSE(parseMlsdLine("no facts here"));
    EXPECT_FALSE(parseMlsdLine(""));
    // An unreadable date leaves the entry undated.
    EXPECT_FALSE(parseMlsdLine("type=file;modify=2020; f")->modified);
}

TEST(ParseList, ReadsUnixLines)
{
    EXPECT_EQ(
        parseListLine("-rw-r--r--   1 owner    group        1234 Dec 31  1999 index.html", Today),
        Entry("index.html", 1234, false, { 1999, 12, 31, 0, 0, 0 }));
    EXPECT_EQ(
        parseListLine("drwxr-xr-x   2 owner    group        4096 Mar 14 09:30 my pictures", Today),
        Entry("my pictures", 4096, true, { 2024, 3, 14, 9, 30, 0 }));
    // A date later than today without a year is from last year.
    EXPECT_EQ(parseListLine("-rw-r--r-- 1 o g 5 Nov  2 23:59 old.txt", Today)->modified,
        (CivilTime { 2023, 11, 2, 23, 59, 0 }));
    // No group column, and a symbolic link shows its own name.
    EXPECT_EQ(parseListLine("lrwxrwxrwx 1 owner 7 Jan 05 2021 latest -> v1.2", Today),
        Entry("latest", 7, false, { 2021, 1, 5, 0, 0, 0 }));
    EXPECT_FALSE(parseListLine("total 48", Today));
    EXPECT_FALSE(parseListLine("drwxr-xr-x 2 o g 4096 Jan 1 2020 .", Today));
    EXPECT_FALSE(parseListLine("drwxr-xr-x 2 o g 4096 Jan 1 2020 ..", Today));
    EXPECT_FALSE(parseListLine("-rw-r--r-- 1 o g size Foo 1 2020 x", Today));
}

TEST(ParseList, ReadsDosLines)
{
    EXPECT_EQ(parseListLine("12-31-99  11:59PM       <DIR>          Web Site", Today),
        Entry("Web Site", 0, true, { 1999, 12, 31, 23, 59, 0 }));
    EXPECT_EQ(parseListLine("01-15-2020  12:05AM                 1234 index.html\r", Today),
        Entry("index.html", 1234, false, { 2020, 1, 15, 0, 5, 0 }));
    EXPECT_EQ(parseListLine("03-01-24  12:00 PM  77 noon.txt", Today)->modified,
        (CivilTime { 2024, 3, 1, 12, 0, 0 }));
    EXPECT_EQ(parseListLine("03-01-24  17:45  77 late.txt", Today)->modified,
        (CivilTime { 2024, 3, 1, 17, 45, 0 }));
    EXPECT_FALSE(parseListLine("03-01-24  13:00PM  77 bad.txt", Today));
    EXPECT_FALSE(parseListLine("03-01-24  10:00AM  many bad.txt", Today));
}

TEST(ParseList, WholeBodiesKeepTheServersOrder)
{
    const std::string unix = "total 2\r\n-rw-r--r-- 1 o g 6 Jan 1 2020 b.txt\r\n"
                             "drwxr-xr-x 2 o g 4096 Jan 1 2020 a\r\n";
    const auto entries = parseListing(unix, false, Today);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "b.txt");
    EXPECT_EQ(entries[1].name, "a");
    EXPECT_TRUE(parseListing("", true, Today).empty());
    EXPECT_EQ(parseListing("type=file;size=1; x\nsize=2;type=file; y\n", true, Today).size(), 2u);
}

TEST(HostField, NamesTheProtocolHostAndPort)
{
    EXPECT_EQ(parseHostField("ftp.example.com")->port, 21);
    EXPECT_EQ(parseHostField("ftp.example.com")->protocol, Protocol::Ftp);
    const auto local = parseHostField("127.0.0.1:2121");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->host, "127.0.0.1");
    EXPECT_EQ(local->port, 2121);
    EXPECT_EQ(parseHostField(" ftp://Example.com/ ")->host, "Example.com");
    EXPECT_EQ(parseHostField("[::1]:990")->host, "::1");
    EXPECT_EQ(parseHostField("[::1]:990")->port, 990);
    EXPECT_EQ(parseHostField("fe80::1")->port, 21);
    EXPECT_EQ(parseHostField("FTPS://h"), (RemoteAddress { Protocol::Ftps, "h", 21 }));
    EXPECT_EQ(parseHostField("ftps://h:2121"), (RemoteAddress { Protocol::Ftps, "h", 2121 }));
    EXPECT_EQ(parseHostField("sftp://h"), (RemoteAddress { Protocol::Sftp, "h", 22 }));
    EXPECT_EQ(
        parseHostField("sftp://[::1]:2222/"), (RemoteAddress { Protocol::Sftp, "::1", 2222 }));
    for (const char *bad : { "", "host:", "host:0", "host:65536", "host:21x", "user@host",
             "host/path", "ho st", "[::1", "[::1]x", "http://host", "sftp://", "ftps://:21" })
        EXPECT_FALSE(parseHostField(bad)) << bad;
}

TEST(ParseList, HostileListingsAreCutToWhatCanBeShown)
{
    const std::string longName(60 * 1024 * 1024, 'n');
    const auto entries
        = parseListing("-rw-r--r-- 1 o g 7 Jan 1 2020 " + longName + "\r\n", false, Today);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].nameCut);
    EXPECT_EQ(entries[0].name.size(), MaxNameBytes);
    // Blanks in a hostile name do not make a word for each.
    std::string spaced = "-rw-r--r-- 1 o g 7 Jan 1 2020 x";
    for (int i = 0; i < 100000; ++i)
        spaced += " y";
    EXPECT_EQ(parseListing(spaced, false, Today).size(), 1u);

    std::string many;
    for (int i = 0; i < 12; ++i)
        many += "type=file;size=1; f" + std::to_string(i) + "\n";
    bool cut = false;
    EXPECT_EQ(parseListing(many, true, Today, 10, &cut).size(), 10u);
    EXPECT_TRUE(cut);
    EXPECT_EQ(parseListing(many, true, Today, 12, &cut).size(), 12u);
    EXPECT_FALSE(cut);

    EXPECT_EQ(cutUtf8("a\xC3\xA9"
                      "b",
                  2),
        "a"); // never half a character
    EXPECT_EQ(cutUtf8("a\xC3\xA9"
                      "b",
                  3),
        "a\xC3\xA9");
    EXPECT_EQ(serverText("550 No\r\n\x1B[31mway\x07"), "550 No [31mway");
    EXPECT_EQ(serverText(std::string(500, 'x'), 10), "xxxxxxxxxx...");
}

TEST(UrlPath, EncodesEverythingThatCouldBreakOutOfThePath)
{
    EXPECT_EQ(encodeUrlPath("a-b_c.d~1"), "a-b_c.d~1");
    EXPECT_EQ(encodeUrlPath("/pub/my page#1?.html"), "%2Fpub%2Fmy%20page%231%3F.html");
    EXPECT_EQ(encodeUrlPath("x\r\nDELE y"), "x%0D%0ADELE%20y");
    EXPECT_EQ(encodeUrlPath("\xE9"), "%E9");
}

// A server names its files: the name proposed for a download stays in the chosen folder and
// visible there.
TEST(DownloadName, RemoteNamesAreMadeSafeForTheLocalFolder)
{
    EXPECT_EQ(localNameForDownload("report.pdf"), "report.pdf");
    EXPECT_EQ(localNameForDownload("../../etc/passwd"), "____etc_passwd");
    EXPECT_EQ(localNameForDownload("a\\b/c"), "a_b_c");
    EXPECT_EQ(localNameForDownload(".bashrc"), "bashrc");
    EXPECT_EQ(localNameForDownload(". .x...y"), "x_.y");
    EXPECT_EQ(localNameForDownload("line\r\nbreak\x1B\x7F.txt"), "linebreak.txt");
    EXPECT_EQ(localNameForDownload("caf\xC3\xA9 menu.html"), "caf\xC3\xA9 menu.html");
    EXPECT_EQ(localNameForDownload(""), "download");
    EXPECT_EQ(localNameForDownload(".."), "download");
    EXPECT_EQ(localNameForDownload("..."), "download");
}
