#pragma once
// Crash-safe replacement of a whole file. The bytes go into a temporary file in the target's
// folder, which takes the target's place by a rename only when everything was written, so a
// failed or killed save never damages the old file.
//
// Where the file system allows it the temporary has no name while it is written (O_TMPFILE)
// and gets one only for the rename, so a kill leaves nothing behind. Otherwise it is named
// ".NAME.sitorva-tmp" beside the target and locked while the writer lives; the next save of
// the same file removes such a temporary when no live writer holds it.
//
// A target that exists and is not a regular file (a folder, a FIFO, a socket, a device) is
// refused, and so is a file that the program could not read (see keepUnreadFile).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace stv
{

class ByteSink
{
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be taken; error() then says why.
    virtual bool write(std::string_view bytes) = 0;
    virtual std::string error() const = 0;
};

class AtomicFile : public ByteSink
{
public:
    // Follow: a symbolic link at the path is kept and the file it names is replaced (what the
    // user chose in a dialog). Replace: the link itself is replaced by the new file (copies
    // beside the page, which must never write through a link into another folder).
    enum class Links { Follow, Replace };

    explicit AtomicFile(std::string path, Links links = Links::Follow);
    ~AtomicFile() override; // removes the temporary file unless committed
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // The new file is readable by its owner only (it holds a password), also when the file it
    // replaces was readable by others. Call before open().
    void keepPrivate() { m_private = true; }
    // Checks the target and creates the temporary file; false (nothing changed) when the
    // target cannot be replaced.
    bool open();
    bool write(std::string_view bytes) override;
    // Puts the written bytes on the disk; the target is not replaced yet.
    bool sync();
    // Syncs and renames over the target. False (and the target untouched) on failure.
    bool commit();
    // "Cannot write PATH: reason".
    std::string error() const override { return m_error; }
    // The reason alone, e.g. "it is a FIFO (named pipe), not a regular file".
    std::string reason() const { return m_reason; }

    // The name a named temporary of `target` has in its folder (a bare name).
    static std::string temporaryName(const std::string &target);
    // Whether new writers use unnamed temporaries where the file system has them (default
    // on); tests turn it off to exercise named temporaries.
    static void useUnnamedTemporaries(bool on);

private:
    void fail(const std::string &reason);
    void failErrno(int err);
    bool createNamedTemporary(unsigned mode);
    bool linkUnnamedTemporary();
    bool nameTemporary(const std::function<bool(const std::string &)> &makeName);

    std::string m_path;
    Links m_links;
    std::string m_target; // m_path with a followed link resolved
    std::string m_temp; // path of the named temporary, once it has a name
    int m_fd = -1;
    bool m_unnamed = false;
    bool m_synced = false;
    bool m_failed = false;
    bool m_private = false;
    static constexpr std::size_t FlushStep = std::size_t(1) << 20;
    std::size_t m_written = 0; // bytes written so far
    std::size_t m_flushStarted = 0; // bytes already handed to the disk's writeback
    std::string m_reason;
    std::string m_error;
};

} // namespace stv
