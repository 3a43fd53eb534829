#pragma once
// Whole-file reading and crash-safe writing. Writers produce bytes into a ByteSink so tests
// can make a write fail half-way; AtomicFile writes a temporary file beside the target and
// renames it over the target only when everything was written, so a failed save never
// damages the old file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

// Collects everything in memory (tests, previews).
class StringSink : public ByteSink
{
public:
    bool write(std::string_view bytes) override
    {
        m_data.append(bytes);
        return true;
    }
    std::string error() const override { return {}; }
    void reserve(std::size_t bytes) { m_data.reserve(bytes); }
    const std::string &data() const { return m_data; }
    std::string take() { return std::move(m_data); }

private:
    std::string m_data;
};

class AtomicFile : public ByteSink
{
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile() override; // removes the temporary file unless committed
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    bool open();
    bool write(std::string_view bytes) override;
    // Flushes, syncs and renames over the target. False (and the target untouched) on failure.
    bool commit();
    std::string error() const override { return m_error; }

private:
    void fail(const std::string &what, int err);

    std::string m_path;
    std::string m_target; // m_path with symbolic links resolved
    std::string m_temp;
    int m_fd = -1;
    bool m_failed = false;
    static constexpr std::size_t FlushStep = 1 << 20;
    std::size_t m_written = 0; // bytes written so far
    std::size_t m_flushStarted = 0; // bytes already handed to the disk's writeback
    std::string m_error;
};

struct FileResult {
    bool ok = false;
    std::string error; // the system's error text with the file named
};

// Reads a whole file. On failure data is empty and the result carries the error.
FileResult readWholeFile(const std::string &path, std::string &data);
// Writes bytes whole through AtomicFile.
FileResult writeWholeFile(const std::string &path, std::string_view bytes);
// Writes lines, each followed by CR LF.
FileResult writeLinesFile(const std::string &path, const std::vector<std::string> &lines);
// Reads the lines of a file (CR LF, CR or LF); false when the file is missing or unreadable.
bool readLinesFile(
    const std::string &path, std::vector<std::string> &lines, std::string *error = nullptr);

bool fileExists(const std::string &path);
bool folderExists(const std::string &path);

} // namespace stv
