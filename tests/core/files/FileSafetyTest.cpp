// Hostile files in every place the program reads or writes: reads return at once with a
// message naming the file, writes refuse what is not a regular file, files that could not be
// read are never written back, and a killed save leaves no temporary file.
#include "core/files/FileIO.h"
#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "core/project/Library.h"
#include "core/project/Project.h"
#include "core/settings/Config.h"

#include "support/HostileFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sys/wait.h>

using namespace stv;
using namespace stv::test;
namespace fs = std::filesystem;

namespace
{

constexpr const char *NineLines = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n0\r\n0\r\n0\r\n";

void writeFile(const std::string &path, const std::string &bytes)
{
    ASSERT_TRUE(writeWholeFile(path, bytes).ok()) << path;
}

std::set<std::string> namesIn(const std::string &folder)
{
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// One place the program reads: the file's name, its limit, and the read, which returns the
// error it reported (empty when there was none).
struct ReadPlace {
    const char *name;
    std::size_t limit; // 0: no limit of its own (a picture to copy)
    bool folderIsNoFile; // a folder in its place reads as a missing file, without a message
    std::function<std::string(const TempFolder &)> read;
};

const ReadPlace ReadPlaces[] = {
    { ConfigFileName, ConfigFileLimit, true,
        [](const TempFolder &dir) {
            Configuration config;
            FavouriteLists lists;
            const Result<bool> r = loadConfiguration(dir.folder(), config, lists);
            EXPECT_EQ(config, Configuration {}); // nothing of it was applied
            return r.error();
        } },
    { ColourListFile, ListFileLimit, true,
        [](const TempFolder &dir) {
            writeFile(dir.file(ConfigFileName), NineLines);
            Configuration config;
            FavouriteLists lists;
            const Result<bool> r = loadConfiguration(dir.folder(), config, lists);
            EXPECT_TRUE(lists.colours.empty());
            return r.error();
        } },
    { LibraryFileName, ListFileLimit, false,
        [](const TempFolder &dir) {
            std::vector<std::string> sections;
            return readLibraryFile(dir.file(LibraryFileName), sections).error();
        } },
    { RecentFileName, ConfigFileLimit, false,
        [](const TempFolder &dir) {
            std::vector<std::string> recent;
            return readRecentFile(dir.file(RecentFileName), recent).error();
        } },
    { "site.stv", ProjectFileLimit, false,
        [](const TempFolder &dir) {
            Project project;
            return loadProjectFile(dir.file("site.stv"), project).error();
        } },
    { "StvHelp.txt", ManualFileLimit, false,
        [](const TempFolder &dir) {
            return readWholeFile(dir.file("StvHelp.txt"), ManualFileLimit).error();
        } },
    { "pic.png", 0, false,
        [](const TempFolder &dir) {
            const CopyResult r = DiskCopier().copy(dir.file("pic.png"), dir.file("copy.png"));
            EXPECT_FALSE(r.ok());
            EXPECT_EQ(typeAt(dir.file("copy.png")), 0u);
            return r.error();
        } },
};

} // namespace

// A FIFO, a link to /dev/zero, a socket, a folder or a file over the limit in any place the
// program reads: the read returns within a second, naming the file and saying why.
TEST(HostileReads, EveryPlaceReturnsAtOnceWithAMessage)
{
    const HangGuard guard;
    for (const ReadPlace &place : ReadPlaces)
        for (const Hostile kind : { Hostile::Fifo, Hostile::LinkToZero, Hostile::Socket,
                 Hostile::Folder, Hostile::Oversized }) {
            if ((kind == Hostile::Folder && place.folderIsNoFile)
                || (kind == Hostile::Oversized && place.limit == 0))
                continue;
            SCOPED_TRACE(std::string(place.name) + " as " + hostileName(kind));
            TempFolder dir;
            ASSERT_TRUE(makeHostile(kind, dir.file(place.name), place.limit));
            std::string error;
            printSecondsFor(place.name, [&] { error = place.read(dir); });
            EXPECT_NE(error.find(dir.file(place.name)), std::string::npos) << error;
            const char *why
                = kind == Hostile::Oversized ? "that such a file may hold" : ", not a regular file";
            EXPECT_NE(error.find(why), std::string::npos) << error;
        }
}

// Lists, library and recent list that could not be read keep their content: nothing the
// program holds in their stead is written over them, while the readable files are written.
TEST(HostileReads, UnreadFilesAreNeverWrittenBack)
{
    TempFolder dir;
    writeFile(dir.file(ConfigFileName), NineLines);
    ASSERT_TRUE(makeHostile(Hostile::Oversized, dir.file(ColourListFile), ListFileLimit));
    ASSERT_TRUE(makeHostile(Hostile::Fifo, dir.file(LinkListFile)));
    const auto sizeOf = [](const std::string &path) { return fs::file_size(path); };

    Configuration config;
    FavouriteLists lists;
    const Result<bool> loaded = loadConfiguration(dir.folder(), config, lists);
    EXPECT_NE(loaded.error().find(dir.file(ColourListFile)), std::string::npos);
    EXPECT_NE(loaded.error().find(dir.file(LinkListFile)), std::string::npos);
    const Result<> saved = saveConfiguration(dir.folder(), config, lists);
    EXPECT_FALSE(saved.ok());
    EXPECT_NE(saved.error().find(dir.file(ColourListFile)), std::string::npos) << saved.error();
    EXPECT_NE(saved.error().find(dir.file(LinkListFile)), std::string::npos);
    EXPECT_EQ(sizeOf(dir.file(ColourListFile)), ListFileLimit + 1);
    EXPECT_EQ(typeAt(dir.file(LinkListFile)), unsigned(S_IFIFO));
    EXPECT_TRUE(fileExists(dir.file(ImageListFile)));

    // A configuration that cannot be read: it and the lists it would have let in are kept.
    TempFolder second;
    ASSERT_TRUE(makeHostile(Hostile::Oversized, second.file(ConfigFileName), ConfigFileLimit));
    writeFile(second.file(ColourListFile), "255\r\n");
    Configuration none;
    FavouriteLists designed;
    EXPECT_FALSE(loadConfiguration(second.folder(), none, designed).ok());
    EXPECT_FALSE(saveConfiguration(second.folder(), none, designed).ok());
    EXPECT_EQ(sizeOf(second.file(ConfigFileName)), ConfigFileLimit + 1);
    std::string colours;
    Result<std::string> coloursRead = readWholeFile(second.file(ColourListFile));
    ASSERT_TRUE(coloursRead.ok());
    colours = std::move(coloursRead.value());
    EXPECT_EQ(colours, "255\r\n");

    // The library and the recent list: a change or a save does not replace them.
    for (const auto &[name, limit] :
        { std::pair { LibraryFileName, ListFileLimit }, { RecentFileName, ConfigFileLimit } }) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(makeHostile(Hostile::Oversized, second.file(name), limit));
        std::vector<std::string> held;
        const Result<> read = std::string(name) == LibraryFileName
            ? readLibraryFile(second.file(name), held)
            : readRecentFile(second.file(name), held);
        EXPECT_FALSE(read.ok());
        EXPECT_NE(read.error().find("kept as it is"), std::string::npos);
        const Result<> written = appendToLibrary(held,
            "\xA0"
            "Divider\xA0",
            second.file(name));
        EXPECT_FALSE(written.ok());
        EXPECT_NE(written.error().find(KeptUnreadText), std::string::npos) << written.error();
        EXPECT_EQ(sizeOf(second.file(name)), limit + 1);
    }
}

namespace
{

// One place the program writes, returning the error it reported.
struct WritePlace {
    const char *name;
    std::function<std::string(const TempFolder &, const std::string &)> write;
};

const WritePlace WritePlaces[] = {
    { "page",
        [](const TempFolder &, const std::string &path) {
            PageRequest request;
            request.pageFile = path;
            DiskCopier copier;
            return writePageFile(Project {}, FavouriteLists {}, {}, request, copier).error();
        } },
    { "copy beside the page",
        [](const TempFolder &dir, const std::string &path) {
            writeFile(dir.file("source.png"), "PNG");
            return DiskCopier().copy(dir.file("source.png"), path).error();
        } },
    { "project",
        [](const TempFolder &, const std::string &path) {
            return saveProjectFile(path, Project {}).error();
        } },
    { "library",
        [](const TempFolder &, const std::string &path) {
            return writeLibraryFile(path,
                { "\xA0"
                  "Divider\xA0" })
                .error();
        } },
};

void expectWritesRefuse(Hostile kind)
{
    for (const WritePlace &place : WritePlaces) {
        SCOPED_TRACE(std::string(place.name) + " onto " + hostileName(kind));
        TempFolder dir;
        const std::string path = dir.file("target");
        ASSERT_TRUE(makeHostile(kind, path));
        const unsigned before = typeAt(path);
        std::string error;
        printSecondsFor(place.name, [&] { error = place.write(dir, path); });
        EXPECT_NE(error.find(path + ": it is a"), std::string::npos) << error;
        EXPECT_NE(error.find(", not a regular file"), std::string::npos) << error;
        EXPECT_EQ(typeAt(path), before);
        EXPECT_EQ(namesIn(dir.path()).count(AtomicFile::temporaryName(path)), 0u);
    }
}

} // namespace

TEST(HostileWrites, FifosSocketsAndFoldersAreRefused)
{
    const HangGuard guard;
    for (const Hostile kind : { Hostile::Fifo, Hostile::Socket, Hostile::Folder })
        expectWritesRefuse(kind);
    // Through a link the target counts: a link to a FIFO is refused as the FIFO is.
    TempFolder dir;
    ASSERT_TRUE(makeHostile(Hostile::Fifo, dir.file("fifo")));
    fs::create_symlink(dir.file("fifo"), dir.file("link"));
    EXPECT_NE(
        saveProjectFile(dir.file("link"), Project {}).error().find("FIFO"), std::string::npos);
    EXPECT_EQ(typeAt(dir.file("fifo")), unsigned(S_IFIFO));
}

TEST(HostileWrites, DeviceNodesAreRefused)
{
    TempFolder probe;
    if (!makeHostile(Hostile::Device, probe.file("null")))
        GTEST_SKIP() << "making a device node needs a right this system does not give ("
                     << std::strerror(errno) << ")";
    const HangGuard guard;
    expectWritesRefuse(Hostile::Device);
}

namespace
{

// Runs `save` in a child process and kills it `delayMs` after the child called its `ready`.
void killDuring(const std::function<void(const std::function<void()> &ready)> &save, int delayMs)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::close(pipeEnds[0]);
        save([&] { (void)!::write(pipeEnds[1], "r", 1); });
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    char byte = 0;
    ASSERT_EQ(::read(pipeEnds[0], &byte, 1), 1);
    ::close(pipeEnds[0]);
    ::usleep(static_cast<useconds_t>(delayMs) * 1000);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

Project bigProject(std::size_t megabytes)
{
    Project p;
    for (std::size_t i = 0; i < megabytes; ++i)
        p.sections.push_back(std::string(1 << 20, static_cast<char>('a' + i % 26)));
    return p;
}

} // namespace

// A save killed at any moment: the old file is whole or the new one is, and no temporary is
// left: with unnamed temporaries never, with named ones not after the next save.
TEST(KilledSave, LeavesNoTemporaryFile)
{
    const HangGuard guard(120);
    for (const bool unnamed : { true, false }) {
        AtomicFile::useUnnamedTemporaries(unnamed);
        SCOPED_TRACE(unnamed ? "unnamed temporaries" : "named temporaries");
        TempFolder dir;
        const std::string path = dir.file("big.stv");
        ASSERT_TRUE(saveProjectFile(path, Project {}).ok());
        const auto oldSize = fs::file_size(path);
        const std::string temporary = AtomicFile::temporaryName(path);

        // Killed with 40 MB written into the temporary.
        killDuring(
            [&](const std::function<void()> &ready) {
                AtomicFile file(path);
                if (file.open()) {
                    const std::string block(1 << 20, 'x');
                    for (int i = 0; i < 40; ++i)
                        file.write(block);
                }
                ready();
                ::pause(); // until killed
            },
            0);
        // Unnamed, the temporary died with the process; named, it waits for the next save.
        std::set<std::string> left = namesIn(dir.path());
        std::set<std::string> expected = { "big.stv" };
        if (!unnamed)
            expected.insert(temporary);
        EXPECT_EQ(left, expected);
        EXPECT_EQ(fs::file_size(path), oldSize);

        // Killed at several moments of a 200 MB project's save.
        const Project big = bigProject(200);
        const std::size_t newSize = serializeProject(big).size();
        for (const int delay : { 0, 100, 300, 600 }) {
            SCOPED_TRACE(delay);
            killDuring(
                [&](const std::function<void()> &ready) {
                    ready();
                    (void)saveProjectFile(path, big); // killed while it writes
                },
                delay);
            left = namesIn(dir.path());
            EXPECT_TRUE(left.count("big.stv") == 1 && left.size() <= 2);
            if (left.size() == 2) {
                EXPECT_TRUE(!unnamed && left.count(temporary) == 1);
            }
            const auto size = fs::file_size(path);
            EXPECT_TRUE(size == oldSize || size == newSize) << size;
        }
        // The next save clears whatever a killed one left.
        ASSERT_TRUE(saveProjectFile(path, Project {}).ok());
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string> { "big.stv" });
    }
    AtomicFile::useUnnamedTemporaries(true);
}

// A temporary that a live writer holds is left alone: the second save is refused, the first
// completes.
TEST(KilledSave, ALiveWritersTemporaryIsNotTaken)
{
    AtomicFile::useUnnamedTemporaries(false);
    TempFolder dir;
    const std::string path = dir.file("a.stv");
    AtomicFile first(path);
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(first.write("first"));
    AtomicFile second(path);
    EXPECT_FALSE(second.open());
    EXPECT_NE(second.error().find("another save of this file"), std::string::npos);
    EXPECT_TRUE(first.commit());
    std::string bytes;
    Result<std::string> bytesRead = readWholeFile(path);
    ASSERT_TRUE(bytesRead.ok());
    bytes = std::move(bytesRead.value());
    EXPECT_EQ(bytes, "first");
    AtomicFile::useUnnamedTemporaries(true);
    // A name too long for a temporary's prefix still saves.
    const std::string longName = dir.file(std::string(250, 'n') + ".stv");
    EXPECT_TRUE(saveProjectFile(longName, Project {}).ok());
    EXPECT_EQ(namesIn(dir.path()).size(), 2u);
}
