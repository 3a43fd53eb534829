#pragma once
// A real full disk for tests: a small tmpfs mounted on a fresh folder, then filled up so that
// the next write there fails with "No space left on device" part of the way through. Mounting
// needs the right to (root in the test container); tests skip when it is missing.

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace stv::test
{

class FullFileSystem
{
public:
    explicit FullFileSystem(std::size_t bytes = 512 * 1024)
    {
        char tmpl[] = "/tmp/stv-full-XXXXXX";
        if (::mkdtemp(tmpl) == nullptr)
            return;
        m_path = tmpl;
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        m_mounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~FullFileSystem()
    {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
        if (!m_path.empty())
            ::rmdir(m_path.c_str());
    }
    FullFileSystem(const FullFileSystem &) = delete;
    FullFileSystem &operator=(const FullFileSystem &) = delete;

    bool mounted() const { return m_mounted; }
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }
    static constexpr const char *Filler = ".filler";

    // Fills the file system, then gives back `leave` bytes (whole pages), so a write of more
    // than that fails half-way.
    bool fill(std::size_t leave = 0)
    {
        const std::string filler = file(Filler);
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        const std::string block(4096, 'f');
        off_t size = 0;
        for (;;) {
            const ssize_t n = ::write(fd, block.data(), block.size());
            if (n <= 0)
                break;
            size += n;
        }
        const bool full = errno == ENOSPC;
        const off_t kept = size > static_cast<off_t>(leave) ? size - static_cast<off_t>(leave) : 0;
        const bool ok = ::ftruncate(fd, kept) == 0;
        ::close(fd);
        return full && ok;
    }

private:
    std::string m_path;
    bool m_mounted = false;
};

} // namespace stv::test
