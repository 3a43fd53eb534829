#pragma once
// The file-copy layer of page generation: pictures and sounds are copied beside the page
// through a FileCopier, so tests can fake it. DiskCopier never damages a file: copying a
// file onto itself is skipped, a failed copy leaves the old destination whole, only regular
// files are copied, a symbolic link at the destination is replaced and never followed, and a
// destination that is a folder, a FIFO, a socket or a device is refused.

#include "core/Result.h"

#include <string>

namespace stv
{

// What a copy that did not fail did.
enum class CopyDone {
    Copied,
    Skipped, // both names lead to the same file
};
using CopyResult = Result<CopyDone>;

class FileCopier
{
public:
    virtual ~FileCopier() = default;
    // Both paths are native (UTF-8) file names.
    virtual CopyResult copy(const std::string &from, const std::string &to) = 0;
};

class DiskCopier : public FileCopier
{
public:
    CopyResult copy(const std::string &from, const std::string &to) override;
};

// True when both names lead to the same existing file.
bool sameFile(const std::string &a, const std::string &b);

} // namespace stv
