#include "core/files/FileIO.h"

#include "core/text/TextTools.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace stv
{

namespace
{

std::string systemError(int err)
{
    return std::strerror(err);
}

std::string sizeText(unsigned long long bytes)
{
    constexpr unsigned long long MB = 1 << 20;
    if (bytes >= MB && bytes % MB == 0)
        return std::to_string(bytes / MB) + " MB";
    if (bytes >= 10 * MB)
        return std::to_string((bytes + MB / 2) / MB) + " MB";
    return std::to_string(bytes) + " bytes";
}

std::string tooLargeText(const std::string &path, unsigned long long size, std::size_t limit)
{
    return "Cannot read " + path + ": it holds " + (size > limit ? sizeText(size) + ", " : "")
        + "more than the " + sizeText(limit) + " that such a file may hold";
}

// Opens a regular file for reading without ever waiting: the type is checked before the
// open (opening a device may have effects of its own) and again on the open file.
int openRegularFile(const std::string &path, struct stat &info, Result<> &result)
{
    const auto refuse = [&](int err) {
        result = fail(
            "Cannot open " + path + ": " + systemError(err), err == ENOENT || err == ENOTDIR);
        return -1;
    };
    if (::stat(path.c_str(), &info) != 0)
        return refuse(errno);
    if (!S_ISREG(info.st_mode)) {
        result = fail("Cannot open " + path + ": " + notRegularText(info.st_mode));
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return refuse(errno);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result = fail("Cannot open " + path + ": " + notRegularText(info.st_mode));
        return -1;
    }
    return fd;
}

// The same, refusing a file that already holds more than `limit` bytes; `size` is the size
// the file had when opened.
Result<> openRegularFileWithin(
    const std::string &path, std::size_t limit, int &fd, std::size_t &size)
{
    struct stat info {
    };
    Result<> result;
    fd = openRegularFile(path, info, result);
    if (fd < 0)
        return result;
    size = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
    if (size > limit) {
        ::close(fd);
        fd = -1;
        return fail(tooLargeText(path, size, limit));
    }
    return result;
}

// One read, repeated when a signal interrupts it.
ssize_t readSome(int fd, char *buf, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, buf, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

std::mutex g_keptMutex;
std::set<std::string> g_kept;

std::string keptKey(const std::string &path)
{
    return std::filesystem::path(path).lexically_normal().string();
}

} // namespace

std::string fileKindText(unsigned mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return "a folder";
    case S_IFIFO:
        return "a FIFO (named pipe)";
    case S_IFSOCK:
        return "a socket";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    case S_IFLNK:
        return "a symbolic link";
    case S_IFREG:
        return "a regular file";
    default:
        return "a special file";
    }
}

std::string notRegularText(unsigned mode)
{
    return "it is " + fileKindText(mode) + ", not a regular file";
}

Result<std::string> readWholeFile(const std::string &path, std::size_t limit)
{
    std::string data;
    int fd = -1;
    std::size_t size = 0;
    if (const Result<> opened = openRegularFileWithin(path, limit, fd, size); !opened)
        return opened.failure();
    data.reserve(size);
    // The size can change while the file is read (or be 0 for generated files): the limit
    // holds whatever comes.
    char buf[65536];
    for (;;) {
        const ssize_t n = readSome(fd, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return fail("Cannot read " + path + ": " + systemError(err));
        }
        if (data.size() + static_cast<std::size_t>(n) > limit) {
            ::close(fd);
            return fail(tooLargeText(path, 0, limit));
        }
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

LineReader::~LineReader()
{
    close();
}

void LineReader::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

Result<> LineReader::open(const std::string &path, std::size_t limit)
{
    close();
    m_buffer.clear();
    m_pos = m_end = m_scanned = m_total = 0;
    m_atEnd = true;
    m_error.clear();
    std::size_t size = 0;
    if (Result<> opened = openRegularFileWithin(path, limit, m_fd, size); !opened)
        return opened;
    m_path = path;
    m_limit = limit;
    m_buffer.resize(BlockSize);
    m_atEnd = false;
    return {};
}

void LineReader::openBytes(std::string bytes)
{
    close();
    m_buffer = std::move(bytes);
    m_pos = m_scanned = 0;
    m_end = m_buffer.size();
    m_atEnd = true;
    m_error.clear();
}

// Moves the unread bytes to the front, makes room (a line longer than the buffer doubles it)
// and reads once more; false at the end of the file or on an error.
bool LineReader::fill()
{
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    if (m_end == m_buffer.size())
        m_buffer.resize(std::max(BlockSize, m_buffer.size() * 2));
    const ssize_t n = readSome(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (n <= 0) {
        if (n < 0)
            m_error = "Cannot read " + m_path + ": " + systemError(errno);
        m_atEnd = true;
        close();
        return false;
    }
    m_total += static_cast<std::size_t>(n);
    if (m_total > m_limit) {
        m_error = tooLargeText(m_path, 0, m_limit);
        m_atEnd = true;
        close();
        return false;
    }
    m_end += static_cast<std::size_t>(n);
    return true;
}

bool LineReader::next(std::string_view &line)
{
    for (;;) {
        if (!m_error.empty())
            return false;
        const std::string_view data(m_buffer.data() + m_pos, m_end - m_pos);
        const std::size_t end = findLineEnd(data, m_scanned);
        // A CR as the last byte read may be the first half of a CR LF: read on to know.
        if (end < data.size() && (data[end] == '\n' || end + 1 < data.size() || m_atEnd)) {
            line = data.substr(0, end);
            const bool crLf = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n';
            m_pos += end + (crLf ? 2 : 1);
            m_scanned = 0;
            return true;
        }
        m_scanned = end;
        if (!m_atEnd) {
            fill(); // at the end of the file, or on an error, the next round says so
            continue;
        }
        if (m_pos == m_end)
            return false;
        line = data; // the last line, without a line end
        m_pos = m_end;
        m_scanned = 0;
        return true;
    }
}

Result<> writeWholeFile(const std::string &path, std::string_view bytes, AtomicFile::Links links)
{
    AtomicFile file(path, links);
    if (!file.open() || !file.write(bytes) || !file.commit())
        return fail(file.error());
    return {};
}

Result<> writeLinesFile(const std::string &path, const std::vector<std::string> &lines)
{
    return writeWholeFile(path, joinLines(lines));
}

Result<std::vector<std::string>> readLinesFile(const std::string &path, std::size_t limit)
{
    Result<std::string> read = readWholeFile(path, limit);
    if (!read)
        return read.failure();
    return splitLines(read.value());
}

Result<> copyRegularFile(const std::string &from, const std::string &to)
{
    struct stat info {
    };
    Result<> result;
    const int in = openRegularFile(from, info, result);
    if (in < 0)
        return result;
    AtomicFile out(to, AtomicFile::Links::Replace);
    if (!out.open()) {
        ::close(in);
        return fail(out.error());
    }
    // What the file held when it was opened, and no more: a file that keeps growing cannot
    // keep the copy going.
    unsigned long long left = static_cast<unsigned long long>(std::max<off_t>(info.st_size, 0));
    char buf[65536];
    while (left > 0) {
        const ssize_t n = readSome(
            in, buf, static_cast<std::size_t>(std::min<unsigned long long>(left, sizeof buf)));
        if (n == 0)
            break;
        if (n < 0) {
            const int err = errno;
            ::close(in);
            return fail("Cannot read " + from + ": " + systemError(err));
        }
        if (!out.write(std::string_view(buf, static_cast<std::size_t>(n)))) {
            ::close(in);
            return fail(out.error());
        }
        left -= static_cast<unsigned long long>(n);
    }
    ::close(in);
    if (!out.commit())
        return fail(out.error());
    return {};
}

void keepUnreadFile(const std::string &path)
{
    const std::lock_guard lock(g_keptMutex);
    g_kept.insert(keptKey(path));
}

void releaseUnreadFile(const std::string &path)
{
    const std::lock_guard lock(g_keptMutex);
    g_kept.erase(keptKey(path));
}

Result<std::vector<std::string>> readKeptLinesFile(const std::string &path, std::size_t limit)
{
    Result<std::string> read = readWholeFile(path, limit);
    if (read.missing())
        return std::vector<std::string>();
    if (!read) {
        // What could not be read must not be replaced by the next write of the program's own.
        keepUnreadFile(path);
        return fail(read.error() + " (the file is kept as it is)");
    }
    releaseUnreadFile(path);
    return splitLines(read.value());
}

bool isKeptUnread(const std::string &path)
{
    const std::lock_guard lock(g_keptMutex);
    return !g_kept.empty() && g_kept.count(keptKey(path)) != 0;
}

bool fileExists(const std::string &path)
{
    struct stat info {
    };
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool folderExists(const std::string &path)
{
    struct stat info {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace stv
