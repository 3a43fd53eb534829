#include "core/project/Recovery.h"

#include "core/files/AtomicFile.h"
#include "core/project/Records.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace stv
{

namespace
{

constexpr std::string_view Marker = "Sitorva recovery 1";
constexpr std::string_view RecoveryEnding = ".stvr";
constexpr std::string_view LockEnding = ".lock";

std::string lockFileOf(const std::string &recoveryFile)
{
    return recoveryFile.substr(0, recoveryFile.size() - RecoveryEnding.size())
        + std::string(LockEnding);
}

// The next line of `bytes` from `cursor` without its CR LF; false at the end.
bool takeLine(std::string_view bytes, std::size_t &cursor, std::string_view &line)
{
    const std::size_t end = bytes.find("\r\n", cursor);
    if (end == std::string_view::npos)
        return false;
    line = bytes.substr(cursor, end - cursor);
    cursor = end + 2;
    return true;
}

bool endsWith(const std::string &name, std::string_view ending)
{
    return name.size() > ending.size()
        && name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

// True when a running program holds the lock file.
bool lockIsHeld(const std::string &lockFile)
{
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

} // namespace

std::string serializeRecovery(
    const Project &project, const std::string &projectPath, long long savedAt)
{
    std::string bytes;
    bytes.append(Marker).append("\r\n");
    bytes.append(escapeLineBreaks(projectPath)).append("\r\n");
    bytes.append(std::to_string(savedAt)).append("\r\n");
    bytes.append(serializeProject(project));
    return bytes;
}

Result<> readRecovery(const std::string &file, RecoveryEntry &entry, Project &project)
{
    const Result<std::string> read = readWholeFile(file);
    if (!read)
        return read.failure();
    const std::string &bytes = read.value();
    std::size_t cursor = 0;
    std::string_view marker, path, time;
    if (!takeLine(bytes, cursor, marker) || marker != Marker || !takeLine(bytes, cursor, path)
        || !takeLine(bytes, cursor, time) || time.empty()
        || !std::all_of(time.begin(), time.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return fail("The recovery file " + file + " is damaged.");
    Project recovered;
    const Result<> parsed = parseProject(std::string_view(bytes).substr(cursor), file, recovered);
    if (!parsed)
        return fail("The recovery file " + file + " is damaged: " + parsed.error());
    entry.file = file;
    entry.projectPath = unescapeLineBreaks(path);
    entry.savedAt = std::stoll(std::string(time.substr(0, 18)));
    project = std::move(recovered);
    return {};
}

RecoverySession::RecoverySession(std::string folder)
    : m_folder(std::move(folder))
{
}

RecoverySession::~RecoverySession()
{
    if (m_lockFd >= 0) {
        ::unlink(m_lock.c_str());
        ::close(m_lockFd);
    }
}

Result<> RecoverySession::start()
{
    if (m_lockFd >= 0)
        return {};
    if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST) {
        m_error = "Cannot create the folder " + m_folder + ": " + std::strerror(errno);
        return fail(m_error);
    }
    // Also a folder made by an older copy, or opened up by hand: the work in it is private.
    if (::chmod(m_folder.c_str(), 0700) != 0) {
        m_error = "Cannot make the folder " + m_folder + " private: " + std::strerror(errno);
        return fail(m_error);
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const std::string stem = m_folder + "/session-" + std::to_string(::getpid()) + "-"
        + std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    m_file = stem + std::string(RecoveryEnding);
    m_lock = stem + std::string(LockEnding);
    const int fd = ::open(m_lock.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = "Cannot create the file " + m_lock + ": " + std::strerror(errno);
        return fail(m_error);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_error = "Cannot lock the file " + m_lock + ": " + std::strerror(errno);
        ::close(fd);
        ::unlink(m_lock.c_str());
        return fail(m_error);
    }
    // Another program starting at this moment removes lock files nobody holds; one taken
    // away between its creation and its lock is made again under the same name.
    struct stat opened {
    };
    struct stat named {
    };
    if (::fstat(fd, &opened) != 0 || ::stat(m_lock.c_str(), &named) != 0
        || opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
        ::close(fd);
        if (++m_lockTries > 3) {
            m_error = "Cannot keep the file " + m_lock + ": it was removed by another program";
            return fail(m_error);
        }
        return start();
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::write(fd, pid.data(), pid.size()) < 0) {
        // The process id is for people; the lock alone tells a running program.
    }
    m_lockFd = fd;
    return {};
}

Result<> RecoverySession::write(const std::string &bytes) const
{
    if (m_lockFd < 0)
        return fail(m_error.empty() ? "No recovery folder." : m_error);
    // The project may hold its FTP password: readable by this user only.
    AtomicFile file(m_file);
    file.keepPrivate();
    if (!file.open() || !file.write(bytes) || !file.commit())
        return fail(file.error());
    return {};
}

void RecoverySession::remove() const
{
    if (!m_file.empty())
        ::unlink(m_file.c_str());
}

Result<> RecoverySession::adopt(const RecoveryEntry &entry)
{
    if (Result<> started = start(); !started)
        return started;
    if (::rename(entry.file.c_str(), m_file.c_str()) != 0)
        return fail("Cannot move the file " + entry.file + ": " + std::strerror(errno));
    ::unlink(lockFileOf(entry.file).c_str());
    return {};
}

std::vector<RecoveryEntry> findLeftRecoveries(
    const std::string &folder, std::vector<std::string> *damaged)
{
    std::vector<RecoveryEntry> entries;
    DIR *dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return entries;
    std::vector<std::string> files;
    std::vector<std::string> locks;
    while (const dirent *item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (endsWith(name, RecoveryEnding))
            files.push_back(folder + "/" + name);
        else if (endsWith(name, LockEnding))
            locks.push_back(folder + "/" + name);
    }
    ::closedir(dir);
    // The lock of a program that ended without cleaning up and left no work behind (it was
    // killed after saving, or before its first autosave) says nothing any more.
    for (const std::string &lock : locks) {
        const std::string file
            = lock.substr(0, lock.size() - LockEnding.size()) + std::string(RecoveryEnding);
        if (!lockIsHeld(lock) && ::access(file.c_str(), F_OK) != 0)
            ::unlink(lock.c_str());
    }
    for (const std::string &file : files) {
        if (lockIsHeld(lockFileOf(file)))
            continue;
        RecoveryEntry entry;
        Project project;
        const Result<> read = readRecovery(file, entry, project);
        if (read) {
            entries.push_back(std::move(entry));
            continue;
        }
        if (damaged != nullptr)
            damaged->push_back(read.error());
        const std::string aside = file + ".damaged";
        ::rename(file.c_str(), aside.c_str());
        ::unlink(lockFileOf(file).c_str());
    }
    std::sort(entries.begin(), entries.end(),
        [](const RecoveryEntry &a, const RecoveryEntry &b) { return a.savedAt < b.savedAt; });
    return entries;
}

void discardRecovery(const RecoveryEntry &entry)
{
    ::unlink(entry.file.c_str());
    ::unlink(lockFileOf(entry.file).c_str());
}

} // namespace stv
