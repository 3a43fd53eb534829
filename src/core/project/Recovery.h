#pragma once
// Recovery files: the whole state of a project with unsaved changes, written now and then so a
// crash, a kill or a power cut loses at most the last interval of work. Each running copy of
// the program owns one recovery file in the "Recovery" folder and holds a lock file beside it
// (its process id inside, an advisory lock on it), so another copy can tell the files of
// running programs from those left behind by programs that ended without cleaning up.

#include "core/files/FileIO.h"
#include "core/project/Project.h"

#include <string>
#include <vector>

namespace stv
{

inline constexpr const char *RecoveryFolderName = "Recovery";

// One recovery file left behind by a program that no longer runs.
struct RecoveryEntry {
    std::string file; // the recovery file's path
    std::string projectPath; // the project it belongs to (Windows-1252); empty: never saved
    long long savedAt = 0; // seconds since 1970 of the last autosave
};

// The recovery file's bytes: three lines (a marker, the project's path, the time) followed by
// the project file's own bytes.
std::string serializeRecovery(
    const Project &project, const std::string &projectPath, long long savedAt);
// Reads a recovery file whole; fails naming the file when it is damaged.
Result<> readRecovery(const std::string &file, RecoveryEntry &entry, Project &project);

// The recovery file of this running program.
class RecoverySession
{
public:
    explicit RecoverySession(std::string folder);
    ~RecoverySession(); // releases the lock; the recovery file stays only after a crash
    RecoverySession(const RecoverySession &) = delete;
    RecoverySession &operator=(const RecoverySession &) = delete;

    // Makes the folder and takes a lock file of its own.
    Result<> start();
    bool started() const { return m_lockFd >= 0; }
    const std::string &recoveryFile() const { return m_file; }

    // Writes the bytes of serializeRecovery through an atomic write; safe to call from a
    // worker thread while nothing else writes this session's file.
    Result<> write(const std::string &bytes) const;
    // Removes the recovery file (the project it held was saved or left behind on purpose).
    void remove() const;
    // Takes a left recovery file over as this session's own (a recovered project): the file is
    // renamed, never copied, so the work it holds is on disk all the time. When it cannot be
    // moved, the left file stays where it was.
    Result<> adopt(const RecoveryEntry &entry);

private:
    std::string m_folder;
    std::string m_file;
    std::string m_lock;
    std::string m_error;
    int m_lockFd = -1;
    int m_lockTries = 0;
};

// The recovery files in the folder whose program no longer runs (its lock is free), oldest
// first; lock files nobody holds that have no recovery file beside them are removed. Damaged files
// are not listed: their errors are added to `damaged`, and the files are renamed aside with
// ".damaged" so they are never offered half.
std::vector<RecoveryEntry> findLeftRecoveries(
    const std::string &folder, std::vector<std::string> *damaged = nullptr);
// Removes a left recovery file and its lock file.
void discardRecovery(const RecoveryEntry &entry);

} // namespace stv
