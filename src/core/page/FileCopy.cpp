#include "core/page/FileCopy.h"

#include "core/files/FileIO.h"

#include <filesystem>
#include <sys/stat.h>

namespace stv
{

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat sa {
    };
    struct stat sb {
    };
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

CopyResult DiskCopier::copy(const std::string &from, const std::string &to)
{
    // A symbolic link at the destination is never written through: it is replaced by the
    // copy, even when it leads to the source (unless it is the source's own name).
    struct stat info {
    };
    const bool linkAtDestination = ::lstat(to.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    const bool sameName = std::filesystem::path(from).lexically_normal()
        == std::filesystem::path(to).lexically_normal();
    if (sameName || (!linkAtDestination && sameFile(from, to)))
        return CopyDone::Skipped;
    if (const Result<> copied = copyRegularFile(from, to); !copied)
        return copied.failure();
    return CopyDone::Copied;
}

} // namespace stv
