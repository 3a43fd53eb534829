#include "core/files/FileIO.h"

#include "core/text/TextTools.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
{
}

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
}

void AtomicFile::fail(const std::string &what, int err)
{
    m_failed = true;
    if (m_error.empty())
        m_error = what + ": " + systemError(err);
}

bool AtomicFile::open()
{
    m_target = m_path;
    // Write through a symbolic link to the file it names instead of replacing the link.
    char resolved[PATH_MAX];
    struct stat linkInfo {
    };
    if (::lstat(m_path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)
        && ::realpath(m_path.c_str(), resolved) != nullptr)
        m_target = resolved;

    std::string pattern = folderPart(m_target) + "." + fileNamePart(m_target) + ".XXXXXX";
    if (folderPart(m_target).empty())
        pattern = "./" + pattern;
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    m_fd = ::mkstemp(buf.data());
    if (m_fd < 0) {
        fail("Cannot write " + m_path, errno);
        return false;
    }
    m_temp = buf.data();
    struct stat info {
    };
    const mode_t mode
        = ::stat(m_target.c_str(), &info) == 0 ? (info.st_mode & 07777) : (0666 & ~currentUmask());
    ::fchmod(m_fd, mode);
    return true;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (m_failed || m_fd < 0)
        return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail("Cannot write " + m_path, errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        m_written += static_cast<std::size_t>(n);
    }
    // A large file starts on its way to the disk while the rest is still being made, so the
    // flush before the rename has less left to wait for.
    if (m_written - m_flushStarted >= FlushStep) {
        ::sync_file_range(m_fd, static_cast<off_t>(m_flushStarted),
            static_cast<off_t>(m_written - m_flushStarted), SYNC_FILE_RANGE_WRITE);
        m_flushStarted = m_written;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_failed || m_fd < 0)
        return false;
    if (::fsync(m_fd) != 0) {
        fail("Cannot write " + m_path, errno);
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        fail("Cannot write " + m_path, errno);
        return false;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        fail("Cannot write " + m_path, errno);
        return false;
    }
    m_temp.clear();
    return true;
}

FileResult readWholeFile(const std::string &path, std::string &data)
{
    data.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return { false, "Cannot open " + path + ": " + systemError(errno) };
    struct stat info {
    };
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return { false, "Cannot open " + path + ": " + systemError(EISDIR) };
    }
    if (info.st_size > 0)
        data.reserve(static_cast<std::size_t>(info.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            data.clear();
            return { false, "Cannot read " + path + ": " + systemError(err) };
        }
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return { true, {} };
}

FileResult writeWholeFile(const std::string &path, std::string_view bytes)
{
    AtomicFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit())
        return { false, file.error() };
    return { true, {} };
}

FileResult writeLinesFile(const std::string &path, const std::vector<std::string> &lines)
{
    return writeWholeFile(path, joinLines(lines));
}

bool readLinesFile(const std::string &path, std::vector<std::string> &lines, std::string *error)
{
    std::string data;
    const FileResult r = readWholeFile(path, data);
    if (!r.ok) {
        if (error)
            *error = r.error;
        return false;
    }
    lines = splitLines(data);
    return true;
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
