#include "core/project/Project.h"
#include "core/files/FileIO.h"
#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"

#include "support/FullFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace stv;
namespace fs = std::filesystem;

namespace
{

class TempDir
{
public:
    TempDir()
    {
        char tmpl[] = "/tmp/stv-test-XXXXXX";
        m_path = ::mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string file(const std::string &name) const { return m_path + "/" + name; }
    static void writeFile(const std::string &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

Project everyKind()
{
    Project p;
    p.headCode = "<meta name=\"a\">\r\n<meta name=\"b\">";
    p.ftpInitDir = "/www";
    p.ftpPassword = "secret";
    p.ftpUserId = "me";
    p.ftpHost = "ftp.example.org";
    p.pageFileName = "/home/me/page.html";
    p.importBackgroundImage = false;
    p.backgroundImage = "/home/me/bg.gif";
    p.backgroundColour = 255;
    p.pageTitle = "My \xE9t\xE9 page";
    for (int k = 0; k < KindCount; ++k)
        p.sections.push_back(newSectionRecord(k));
    p.sections.push_back(joinFields({ "Paragraph", "Intro", "line1{lf13}{lf10}line2", "3", "1", "0",
        "0", "0", "1", "255", "0", "http://example.org" }));
    p.sections.push_back(joinFields({ "Mystery", "kept as it is" }));
    return p;
}

// A sink that takes a number of bytes and then refuses, like a full disk.
class FailingSink : public ByteSink
{
public:
    explicit FailingSink(std::size_t capacity)
        : m_left(capacity)
    {
    }
    bool write(std::string_view bytes) override
    {
        if (bytes.size() > m_left)
            return false;
        m_left -= bytes.size();
        return true;
    }
    std::string error() const override { return "No space left on device"; }

private:
    std::size_t m_left;
};

} // namespace

TEST(ProjectFile, EmptyProjectIsExactlyTenLines)
{
    Project p;
    const std::string bytes = serializeProject(p);
    EXPECT_EQ(splitLines(bytes).size(), 10u);
    EXPECT_EQ(
        bytes, "\r\n\r\n\r\n\r\n\r\n\r\n1\r\n\r\n16777215\r\nYour web pages title (Change me)\r\n");
    Project back;
    back.pageTitle = "other";
    ASSERT_TRUE(parseProject(bytes, "p.stv", back).ok());
    EXPECT_EQ(back, p);
    EXPECT_TRUE(back.sections.empty());
}

std::vector<std::string> recordsOf(ProjectFile &file)
{
    std::vector<std::string> records;
    for (std::string_view record; file.nextRecord(record);)
        records.emplace_back(record);
    return records;
}

TEST(ProjectFile, ReadForThePageItGivesTheHeaderThenTheRecords)
{
    const Project p = everyKind();
    ProjectFile file;
    ASSERT_TRUE(file.parse(serializeProject(p), "p.stv").ok());
    Project header = p;
    header.sections.clear();
    EXPECT_EQ(file.header(), header);
    EXPECT_EQ(recordsOf(file), p.sections);

    EXPECT_FALSE(file.parse("1\n2\n3\n4\n5\n6\n7\n8\n9\n", "short.stv").ok());
    EXPECT_EQ(file.header(), header); // a refused file changes nothing
    ASSERT_TRUE(file.parse("\n\n\n\n\n\n1\n\n0\ntitle", "t.stv").ok());
    EXPECT_EQ(file.header().pageTitle, "title");
    EXPECT_TRUE(recordsOf(file).empty());
}

// The file is read a block at a time: a CR LF split between two blocks, a record longer than
// several blocks, empty records and a last record without a line end come out as the whole
// file's lines would.
TEST(ProjectFile, RecordsReadAcrossBlocksAreTheLinesOfTheWholeFile)
{
    constexpr std::size_t Block = LineReader::BlockSize;
    std::string bytes = "\r\n\r\n\r\n\r\n\r\n\r\n1\r\n\r\n0\r\ntitle\r\n";
    bytes.append(Block - 1 - bytes.size(), 'a');
    bytes += "\r\n\n\r\r\n"; // the first CR ends the first block
    bytes.append(3 * Block + 5, 'b');
    bytes += "\r";
    bytes.append(Block - 3, 'c');
    bytes += "\r\n\nlast";
    TempDir dir;
    TempDir::writeFile(dir.file("blocks.stv"), bytes);

    ProjectFile file;
    ASSERT_TRUE(file.read(dir.file("blocks.stv")).ok());
    EXPECT_EQ(file.header().pageTitle, "title");
    const std::vector<std::string> lines = splitLines(bytes);
    EXPECT_EQ(recordsOf(file), std::vector<std::string>(lines.begin() + 10, lines.end()));
    EXPECT_TRUE(file.error().empty());

    const Result<> missing = file.read(dir.file("none.stv"));
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("none.stv"), std::string::npos);
    // A regular file whose reading fails (this one at its start) is reported, never taken
    // for a short project.
    const Result<> unreadable = file.read("/proc/self/mem");
    EXPECT_FALSE(unreadable.ok());
    EXPECT_NE(unreadable.error().find("/proc/self/mem"), std::string::npos);
    EXPECT_EQ(unreadable.error().find("not a Sitorva project"), std::string::npos)
        << unreadable.error();
}

TEST(ProjectFile, HeadCodeIsOneLineInTheFile)
{
    Project p;
    p.headCode = "first\r\nsecond";
    const auto lines = splitLines(serializeProject(p));
    EXPECT_EQ(lines[0], "first{lf13}{lf10}second");
    Project back;
    ASSERT_TRUE(parseProject(serializeProject(p), "p.stv", back).ok());
    EXPECT_EQ(back.headCode, "first\r\nsecond");
}

TEST(ProjectFile, EveryKindRoundTripsByteForByte)
{
    const Project p = everyKind();
    const std::string bytes = serializeProject(p);
    Project back;
    ASSERT_TRUE(parseProject(bytes, "p.stv", back).ok());
    EXPECT_EQ(back, p);
    EXPECT_EQ(serializeProject(back), bytes);
}

TEST(ProjectFile, ReadsCrOnlyAndLfOnlyFiles)
{
    const std::string crlf = serializeProject(everyKind());
    std::string cr, lf;
    for (std::size_t i = 0; i < crlf.size(); ++i) {
        if (crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n') {
            cr += '\r';
            lf += '\n';
            ++i;
        } else {
            cr += crlf[i];
            lf += crlf[i];
        }
    }
    Project a, b;
    ASSERT_TRUE(parseProject(cr, "cr.stv", a).ok());
    ASSERT_TRUE(parseProject(lf, "lf.stv", b).ok());
    EXPECT_EQ(a, everyKind());
    EXPECT_EQ(b, everyKind());
}

TEST(ProjectFile, ShortFilesAreRefusedAndNothingIsTouched)
{
    Project open = everyKind();
    for (const std::string &bytes :
        { std::string(), std::string("a\r\nb\r\n"), std::string("1\n2\n3\n4\n5\n6\n7\n8\n9\n") }) {
        const Result<> r = parseProject(bytes, "/home/me/short.stv", open);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.error().find("/home/me/short.stv"), std::string::npos);
        EXPECT_EQ(open, everyKind());
    }
}

TEST(ProjectFile, OddHeaderValuesReadLeniently)
{
    Project p;
    ASSERT_TRUE(parseProject("h\nd\npw\nu\nhost\npage\n-1\nbg\n12abc\ntitle\n", "x", p).ok());
    EXPECT_TRUE(p.importBackgroundImage);
    EXPECT_EQ(p.backgroundColour, 12);
    ASSERT_TRUE(parseProject("\n\n\n\n\n\n0\n\nnot a number\n\n", "x", p).ok());
    EXPECT_FALSE(p.importBackgroundImage);
    EXPECT_EQ(p.backgroundColour, 0);
}

TEST(ProjectFile, BinaryAndHugeFilesLoadWithoutCrashing)
{
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>((i * 37) % 256);
    Project p;
    const Result<> r = parseProject(binary, "bin", p);
    if (r.ok()) {
        EXPECT_FALSE(serializeProject(p).empty());
    }

    std::string huge(10 * 1024 * 1024, 'x');
    huge = "\n\n\n\n\n\n1\n\n0\n" + huge + "\n";
    ASSERT_TRUE(parseProject(huge, "huge", p).ok());
    EXPECT_EQ(p.pageTitle.size(), 10u * 1024 * 1024);
}

TEST(ProjectFile, SaveAndLoadThroughTheFileSystem)
{
    TempDir dir;
    const std::string path = dir.file("site.stv");
    ASSERT_TRUE(saveProjectFile(path, everyKind()).ok());
    Project back;
    ASSERT_TRUE(loadProjectFile(path, back).ok());
    EXPECT_EQ(back, everyKind());
    // No temporary files are left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    const Result<> missing = loadProjectFile(dir.file("none.stv"), back);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("No such file"), std::string::npos);
    EXPECT_EQ(back, everyKind());
}

TEST(ProjectFile, FailedSaveLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string path = dir.file("site.stv");
    ASSERT_TRUE(saveProjectFile(path, everyKind()).ok());
    std::string before;
    Result<std::string> beforeRead = readWholeFile(path);
    ASSERT_TRUE(beforeRead.ok());
    before = std::move(beforeRead.value());

    // A write refused half-way: the writer reports it.
    FailingSink full(100);
    EXPECT_FALSE(writeProject(everyKind(), full));

    // A folder that does not exist: the error names the file and says why.
    const Result<> r = saveProjectFile(dir.file("missing/site.stv"), everyKind());
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error().find("site.stv"), std::string::npos);
    EXPECT_NE(r.error().find("No such file"), std::string::npos);

    // An aborted atomic write never replaces the target.
    {
        AtomicFile f(path);
        ASSERT_TRUE(f.open());
        ASSERT_TRUE(f.write("half"));
    }
    std::string after;
    Result<std::string> afterRead = readWholeFile(path);
    ASSERT_TRUE(afterRead.ok());
    after = std::move(afterRead.value());
    EXPECT_EQ(after, before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ProjectFile, SavingThroughALinkKeepsTheLink)
{
    TempDir dir;
    ASSERT_TRUE(saveProjectFile(dir.file("real.stv"), Project {}).ok());
    fs::create_symlink(dir.file("real.stv"), dir.file("link.stv"));
    ASSERT_TRUE(saveProjectFile(dir.file("link.stv"), everyKind()).ok());
    EXPECT_TRUE(fs::is_symlink(dir.file("link.stv")));
    Project back;
    ASSERT_TRUE(loadProjectFile(dir.file("real.stv"), back).ok());
    EXPECT_EQ(back, everyKind());
}

// A file that holds the FTP password is readable by its owner only, from the moment it exists
// (both kinds of temporary); one without a password keeps the mode it had.
TEST(ProjectFile, AFileHoldingAPasswordIsPrivate)
{
    const mode_t oldMask = ::umask(022);
    for (const bool unnamed : { true, false }) {
        AtomicFile::useUnnamedTemporaries(unnamed);
        SCOPED_TRACE(unnamed ? "unnamed temporaries" : "named temporaries");
        TempDir dir;
        const std::string path = dir.file("site.stv");
        const auto mode = [&] { return fs::status(path).permissions(); };
        ASSERT_TRUE(saveProjectFile(path, Project {}).ok());
        EXPECT_EQ(mode(), fs::perms(0644));

        Project withPassword;
        withPassword.ftpPassword = "secret";
        ASSERT_TRUE(saveProjectFile(path, withPassword).ok());
        EXPECT_EQ(mode(), fs::perms(0600));
        // The password gone (kept in the keyring now): the file stays as private as it was.
        ASSERT_TRUE(saveProjectFile(path, Project {}).ok());
        EXPECT_EQ(mode(), fs::perms(0600));
        ASSERT_TRUE(saveProjectFile(dir.file("new.stv"), withPassword).ok());
        EXPECT_EQ(fs::status(dir.file("new.stv")).permissions(), fs::perms(0600));
    }
    AtomicFile::useUnnamedTemporaries(true);
    ::umask(oldMask);
}

TEST(RecentProjects, NewestFirstWithoutDuplicates)
{
    std::vector<std::string> recent;
    addRecentProject(recent, "/w/a.stv");
    addRecentProject(recent, "/w/b.stv");
    addRecentProject(recent, "/w/a.stv"); // the same project again
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(recentEntryPath(recent[1]), "/w/b.stv");
    addRecentProject(recent, "/w/A.stv"); // another file on Linux: letter case counts
    ASSERT_EQ(recent.size(), 3u);
    EXPECT_EQ(recent[0],
        "\xA0"
        "A.stv\xA0 in \xA0/w/\xA0");
    EXPECT_EQ(recentEntryPath(recent[1]), "/w/a.stv");
    EXPECT_EQ(recentEntryLine(recentEntry("C:\\w\\a.stv")), "a.stv  in  C:\\w\\");
    EXPECT_EQ(recentEntryPath(recentEntry("C:\\w\\a.stv")), "C:\\w\\a.stv");
}

TEST(ProjectCaption, NamesFileAndFolder)
{
    EXPECT_EQ(projectCaption(""), "Sitorva 98");
    EXPECT_EQ(projectCaption("/home/me/site.stv"), "Sitorva 98 .. site.stv in /home/me/");
}

TEST(Cp1252, RoundTripsEveryByteAndEscapesTheRest)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != 0xA0)
            all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(utf8ToCp1252("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(utf8ToCp1252("a\xC2\xA0"
                           "b"),
        "a b"); // no-break space
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD"), "&#20013;"); // a CJK character
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), "&#128512;");
    EXPECT_EQ(utf8ToCp1252("\xE9"), "\xE9"); // stray Latin-1 byte kept
}

// Saving onto a disk that fills up half-way: the error says so, the old project and list
// files stay whole and no temporary file is left behind.
TEST(FullDisk, FailedWritesKeepTheOldFilesWhole)
{
    stv::test::FullFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no right to mount a tmpfs here";
    const std::string path = disk.file("site.stv");
    const std::string list = disk.file("StvColList");
    ASSERT_TRUE(saveProjectFile(path, everyKind()).ok());
    ASSERT_TRUE(writeLinesFile(list, { "255", "65280" }).ok());
    std::string oldProject, oldList;
    Result<std::string> oldProjectRead = readWholeFile(path);
    ASSERT_TRUE(oldProjectRead.ok());
    oldProject = std::move(oldProjectRead.value());
    Result<std::string> oldListRead = readWholeFile(list);
    ASSERT_TRUE(oldListRead.ok());
    oldList = std::move(oldListRead.value());
    ASSERT_TRUE(disk.fill(8192));

    Project big = everyKind();
    big.sections.push_back(joinFields({ "Paragraph", "big", std::string(200000, 'x') }));
    const Result<> r = saveProjectFile(path, big);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error().find("No space left on device"), std::string::npos) << r.error();
    EXPECT_NE(r.error().find("site.stv"), std::string::npos) << r.error();
    const Result<> l = writeLinesFile(list, std::vector<std::string>(30000, "16777215"));
    EXPECT_FALSE(l.ok());
    EXPECT_NE(l.error().find("No space left on device"), std::string::npos) << l.error();

    std::string project, colours;
    Result<std::string> projectRead = readWholeFile(path);
    ASSERT_TRUE(projectRead.ok());
    project = std::move(projectRead.value());
    Result<std::string> coloursRead = readWholeFile(list);
    ASSERT_TRUE(coloursRead.ok());
    colours = std::move(coloursRead.value());
    EXPECT_EQ(project, oldProject);
    EXPECT_EQ(colours, oldList);
    EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), fs::directory_iterator()), 3);
}

// A folder that is really a file (ENOTDIR stops root too) and a folder in place of the file.
TEST(FullDisk, UnwritablePlacesAreReported)
{
    TempDir dir;
    ASSERT_TRUE(writeWholeFile(dir.file("plain"), "x").ok());
    const Result<> underFile = writeLinesFile(dir.file("plain/StvLinkList"), { "#a" });
    EXPECT_FALSE(underFile.ok());
    EXPECT_NE(underFile.error().find("StvLinkList"), std::string::npos) << underFile.error();
    EXPECT_NE(underFile.error().find("Not a directory"), std::string::npos) << underFile.error();

    fs::create_directory(dir.file("StvImageList"));
    EXPECT_FALSE(writeLinesFile(dir.file("StvImageList"), { "x" }).ok());
    EXPECT_TRUE(fs::is_directory(dir.file("StvImageList")));

    const Result<> proc = saveProjectFile("/proc/sitorva.stv", everyKind());
    EXPECT_FALSE(proc.ok());
    EXPECT_FALSE(proc.error().empty());
}
