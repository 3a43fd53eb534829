#pragma once
// Whole-file reading and crash-safe writing. Every read opens without blocking, accepts only
// a regular file and stops at a limit chosen per kind of file, so a FIFO, a device or a huge
// file in a file's place can neither hang the program nor fill its memory. Writers produce
// bytes into a ByteSink so tests can make a write fail half-way; files are replaced through
// AtomicFile.

#include "core/Result.h"
#include "core/files/AtomicFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// The most a file of each kind may hold.
inline constexpr std::size_t ConfigFileLimit = std::size_t(1) << 20; // configuration, "PWP"
inline constexpr std::size_t ListFileLimit = std::size_t(64) << 20; // list files, "Library"
inline constexpr std::size_t ManualFileLimit = std::size_t(64) << 20; // "StvHelp.txt"
inline constexpr std::size_t ProjectFileLimit = std::size_t(1) << 30; // *.stv

// Collects everything in memory (tests, previews).
class StringSink : public ByteSink
{
public:
    bool write(std::string_view bytes) override
    {
        m_data.append(bytes);
        return true;
    }
    std::string error() const override { return {}; }
    void reserve(std::size_t bytes) { m_data.reserve(bytes); }
    const std::string &data() const { return m_data; }
    std::string take() { return std::move(m_data); }

private:
    std::string m_data;
};

// Reads a whole regular file of at most `limit` bytes (by default the largest kind's). The
// failure names the file (missing() when it or a folder on its path does not exist); a FIFO,
// socket, device or folder is refused without waiting.
Result<std::string> readWholeFile(const std::string &path, std::size_t limit = ProjectFileLimit);
// Writes bytes whole through AtomicFile.
Result<> writeWholeFile(const std::string &path, std::string_view bytes,
    AtomicFile::Links links = AtomicFile::Links::Follow);
// Writes lines, each followed by CR LF.
Result<> writeLinesFile(const std::string &path, const std::vector<std::string> &lines);
// Reads the lines of a file (CR LF, CR or LF).
Result<std::vector<std::string>> readLinesFile(
    const std::string &path, std::size_t limit = ProjectFileLimit);

// Reads the lines of a regular file of at most `limit` bytes a block at a time, with the
// line ends of LineCursor (CR LF, a lone CR or a lone LF; a final line end starts no line).
// Memory holds one block or the longest line, whatever the size of the file. The file is
// opened and checked as readWholeFile does.
class LineReader
{
public:
    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;

    Result<> open(const std::string &path, std::size_t limit = ProjectFileLimit);
    // Reads the lines of bytes held in memory instead.
    void openBytes(std::string bytes);
    // The next line, valid until the next call; false at the end or when reading failed, and
    // then error() says why.
    bool next(std::string_view &line);
    const std::string &error() const { return m_error; }

    static constexpr std::size_t BlockSize = std::size_t(1) << 18;

private:
    bool fill();
    void close();

    int m_fd = -1;
    std::string m_path;
    std::size_t m_limit = 0;
    std::size_t m_total = 0; // bytes read from the file so far
    std::string m_buffer; // the unread bytes are [m_pos, m_end)
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::size_t m_scanned = 0; // bytes after m_pos already known to hold no line end
    bool m_atEnd = true;
    std::string m_error;
};

// Copies a regular file to `to` through AtomicFile (a link at `to` is replaced, never
// followed), a block at a time: memory does not grow with the file.
Result<> copyRegularFile(const std::string &from, const std::string &to);

// "a folder", "a FIFO (named pipe)", ... for a file's type bits (st_mode).
std::string fileKindText(unsigned mode);
// "it is a FIFO (named pipe), not a regular file".
std::string notRegularText(unsigned mode);

// Files of the program folder that exist but could not be read (configuration, list files,
// library, recent list) must not be replaced by what the program holds in their stead: the
// reader keeps them, and AtomicFile then refuses to write them. A later successful read of
// the same path releases it.
void keepUnreadFile(const std::string &path);
void releaseUnreadFile(const std::string &path);
bool isKeptUnread(const std::string &path);
// The reason AtomicFile gives for a kept file.
inline constexpr const char *KeptUnreadText
    = "its content could not be read, so the file is kept as it is";

// Reads the lines of a file of the program folder the program writes back later (library,
// recent list): a missing file gives no lines; one that exists but cannot be read is kept
// (keepUnreadFile) and the error says so.
Result<std::vector<std::string>> readKeptLinesFile(const std::string &path, std::size_t limit);

bool fileExists(const std::string &path);
bool folderExists(const std::string &path);

} // namespace stv
