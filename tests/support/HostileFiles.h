#pragma once
// Things that stand where a file is expected, made by the tests themselves: a FIFO, a socket,
// a device node, a link to /dev/zero, a folder, a sparse file larger than a limit. And a
// guard that ends a test process that hangs instead of letting it wait for ever.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace stv::test
{

enum class Hostile { Fifo, Socket, Device, LinkToZero, Folder, Oversized };

inline const char *hostileName(Hostile kind)
{
    switch (kind) {
    case Hostile::Fifo:
        return "a FIFO";
    case Hostile::Socket:
        return "a socket";
    case Hostile::Device:
        return "a device node";
    case Hostile::LinkToZero:
        return "a link to /dev/zero";
    case Hostile::Folder:
        return "a folder";
    case Hostile::Oversized:
        return "an oversized file";
    }
    return "?";
}

// Makes `kind` at path (an oversized file holds limit + 1 bytes, sparse, so it costs no
// disk). False when this system does not let the test make it (device nodes need the right).
inline bool makeHostile(Hostile kind, const std::string &path, std::size_t limit = 0)
{
    switch (kind) {
    case Hostile::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case Hostile::Socket: {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        if (fd < 0 || path.size() >= sizeof addr.sun_path)
            return false;
        std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
        const bool ok = ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
        ::close(fd);
        return ok;
    }
    case Hostile::Device: // the numbers of /dev/null, in the test's own folder
        return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Hostile::LinkToZero:
        return ::symlink("/dev/zero", path.c_str()) == 0;
    case Hostile::Folder:
        return ::mkdir(path.c_str(), 0755) == 0;
    case Hostile::Oversized: {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(limit) + 1) == 0;
        if (fd >= 0)
            ::close(fd);
        return ok;
    }
    }
    return false;
}

// The type bits of what stands at path (not following a link), 0 when nothing does.
inline unsigned typeAt(const std::string &path)
{
    struct stat info {
    };
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0u;
}

// Kills the test process with SIGALRM when a test hangs, so a blocking read fails the test
// instead of stopping the whole run.
class HangGuard
{
public:
    explicit HangGuard(unsigned seconds = 20) { ::alarm(seconds); }
    ~HangGuard() { ::alarm(0); }
    HangGuard(const HangGuard &) = delete;
    HangGuard &operator=(const HangGuard &) = delete;
};

// Seconds taken by f.
template <class F>
double secondsFor(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs f and prints how long it took: the hang guard around it is the only limit, and how
// fast it is belongs to bench/.
template <class F>
void printSecondsFor(const char *what, F &&f)
{
    std::printf("%s: %.3f s\n", what, secondsFor(std::forward<F>(f)));
}

class TempFolder
{
public:
    TempFolder()
    {
        char tmpl[] = "/tmp/stv-hostile-XXXXXX";
        m_path = ::mkdtemp(tmpl);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
    std::string file(const std::string &name) const { return m_path + "/" + name; }
    const std::string &path() const { return m_path; }
    std::string folder() const { return m_path + "/"; }

private:
    std::string m_path;
};

} // namespace stv::test
