#include "core/page/FileCopy.h"

#include "core/files/FileIO.h"

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
    if (sameFile(from, to))
        return { CopyResult::Status::Skipped, {} };
    std::string bytes;
    const FileResult read = readWholeFile(from, bytes);
    if (!read.ok)
        return { CopyResult::Status::Failed, read.error };
    const FileResult written = writeWholeFile(to, bytes);
    if (!written.ok)
        return { CopyResult::Status::Failed, written.error };
    return {};
}

} // namespace stv
