#include "core/files/AtomicFile.h"

#include "core/files/FileIO.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stv
{

namespace
{

std::atomic<bool> g_useUnnamed { true };

constexpr std::string_view TemporarySuffix = ".sitorva-tmp";
constexpr std::size_t MaxNameLength = 255;

// Native paths: only '/' separates folders.
std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string baseOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string inFolder(const std::string &folder, const std::string &name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

int openForLock(const std::string &path)
{
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    const int fd = ::open(path.c_str(), O_RDONLY | flags);
    return fd >= 0 || errno != EACCES ? fd : ::open(path.c_str(), O_WRONLY | flags);
}

// Removes a temporary left behind by a writer that is gone: only a regular file of this user
// that no live writer holds locked. True when the name is free afterwards.
bool removeStaleTemporary(const std::string &temp)
{
    const int fd = openForLock(temp);
    if (fd < 0)
        return errno == ENOENT;
    bool removed = false;
    struct stat info {
    };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
        && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        struct stat now {
        };
        // Still the same file under that name: remove it.
        if (::lstat(temp.c_str(), &now) == 0 && now.st_ino == info.st_ino
            && now.st_dev == info.st_dev)
            removed = ::unlink(temp.c_str()) == 0;
    }
    ::close(fd);
    return removed;
}

} // namespace

AtomicFile::AtomicFile(std::string path, Links links)
    : m_path(std::move(path))
    , m_links(links)
{
}

AtomicFile::~AtomicFile()
{
    // The name goes first, while the lock still tells cleaners that the file is in use.
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
    if (m_fd >= 0)
        ::close(m_fd);
}

void AtomicFile::useUnnamedTemporaries(bool on)
{
    g_useUnnamed = on;
}

std::string AtomicFile::temporaryName(const std::string &target)
{
    const std::string name = baseOf(target);
    std::string temp = "." + name + std::string(TemporarySuffix);
    if (temp.size() <= MaxNameLength)
        return temp;
    // Too long for a file name: the start of the name and a hash of all of it (FNV-1a).
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return "." + name.substr(0, 200) + "~" + hex + std::string(TemporarySuffix);
}

void AtomicFile::fail(const std::string &reason)
{
    if (!m_failed) {
        m_reason = reason;
        m_error = "Cannot write " + m_path + ": " + reason;
    }
    m_failed = true;
}

void AtomicFile::failErrno(int err)
{
    fail(std::strerror(err));
}

bool AtomicFile::open()
{
    if (isKeptUnread(m_path)) {
        fail(KeptUnreadText);
        return false;
    }
    const std::string name = baseOf(m_path);
    if (name.empty() || name == "." || name == "..") {
        fail("it names a folder, not a file");
        return false;
    }

    m_target = m_path;
    bool exists = false;
    struct stat info {
    };
    if (::lstat(m_path.c_str(), &info) == 0) {
        exists = true;
        if (S_ISLNK(info.st_mode)) {
            struct stat linked {
            };
            if (m_links == Links::Replace || ::stat(m_path.c_str(), &linked) != 0) {
                exists = false; // the link itself (or a dangling one) gives way to the file
            } else if (!S_ISREG(linked.st_mode)) {
                fail(notRegularText(linked.st_mode));
                return false;
            } else {
                char resolved[PATH_MAX];
                if (::realpath(m_path.c_str(), resolved) != nullptr)
                    m_target = resolved;
                info = linked;
            }
        } else if (!S_ISREG(info.st_mode)) {
            fail(notRegularText(info.st_mode));
            return false;
        }
    }
    mode_t mode = exists ? (info.st_mode & 07777) : (0666 & ~currentUmask());
    // Set on the temporary, so the secret is never readable by others, not even for a moment.
    if (m_private)
        mode &= 0700;

    // Linking an unnamed file needs /proc to name its descriptor.
    if (g_useUnnamed && ::access("/proc/self/fd", X_OK) == 0) {
        m_fd = ::open(folderOf(m_target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        m_unnamed = m_fd >= 0;
    }
    if (m_fd < 0 && !createNamedTemporary(mode))
        return false;
    ::fchmod(m_fd, mode);
    // Held until the rename, so that a cleaner never takes a live writer's temporary.
    ::flock(m_fd, LOCK_EX | LOCK_NB);
    return true;
}

bool AtomicFile::createNamedTemporary(unsigned mode)
{
    return nameTemporary([&](const std::string &temp) {
        m_fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        return m_fd >= 0;
    });
}

bool AtomicFile::linkUnnamedTemporary()
{
    const std::string descriptor = "/proc/self/fd/" + std::to_string(m_fd);
    return nameTemporary([&](const std::string &temp) {
        return ::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW)
            == 0;
    });
}

// Gives the temporary its name beside the target through `makeName` (false, with errno set,
// when it fails). A temporary of that name left by a killed save is removed and the name
// tried once more; one that a live save holds is reported.
bool AtomicFile::nameTemporary(const std::function<bool(const std::string &)> &makeName)
{
    const std::string temp = inFolder(folderOf(m_target), temporaryName(m_target));
    int err = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (makeName(temp)) {
            m_temp = temp;
            return true;
        }
        err = errno;
        if (err != EEXIST || !removeStaleTemporary(temp))
            break;
    }
    if (err == EEXIST)
        fail("another save of this file is under way (" + temp + " is in use)");
    else
        failErrno(err);
    return false;
}

bool AtomicFile::write(std::string_view bytes)
{
    if (m_failed || m_fd < 0)
        return false;
    m_synced = false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failErrno(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        m_written += static_cast<std::size_t>(n);
    }
    // A large file starts on its way to the disk while the rest is still being made, so the
    // sync before the rename has less left to wait for.
    if (m_written - m_flushStarted >= FlushStep) {
        ::sync_file_range(m_fd, static_cast<off_t>(m_flushStarted),
            static_cast<off_t>(m_written - m_flushStarted), SYNC_FILE_RANGE_WRITE);
        m_flushStarted = m_written;
    }
    return true;
}

bool AtomicFile::sync()
{
    if (m_failed || m_fd < 0)
        return false;
    if (!m_synced && ::fsync(m_fd) != 0) {
        failErrno(errno);
        return false;
    }
    m_synced = true;
    return true;
}

bool AtomicFile::commit()
{
    if (!sync())
        return false;
    if (m_unnamed && m_temp.empty() && !linkUnnamedTemporary())
        return false;
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        failErrno(errno);
        return false;
    }
    m_temp.clear();
    const int fd = m_fd;
    m_fd = -1;
    ::close(fd);
    return true;
}

} // namespace stv
