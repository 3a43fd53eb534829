#pragma once
// The open project as a value: the header values and the section records. The project file
// is ten header lines (CR LF) followed by one line per record.

#include "core/files/FileIO.h"

#include <string>
#include <vector>

namespace stv
{

inline constexpr int ProjectHeaderLines = 10;
inline constexpr int White = 16777215;
inline constexpr const char *DefaultPageTitle = "Your web pages title (Change me)";

struct Project {
    std::string headCode; // real line breaks; escaped only in the file
    std::string ftpInitDir;
    std::string ftpPassword;
    std::string ftpUserId;
    std::string ftpHost;
    std::string pageFileName;
    bool importBackgroundImage = true;
    std::string backgroundImage;
    int backgroundColour = White;
    std::string pageTitle = DefaultPageTitle;
    std::vector<std::string> sections; // SectionList
    // The password stays in the file rather than in the keyring. Not a line of the file: the
    // program remembers it per project file (see core/upload/ProjectPassword.h).
    bool keepPasswordInFile = false;

    bool operator==(const Project &) const = default;
};

// Parses a whole project file. Refuses a file of fewer than ten lines; `project` is only
// assigned on success.
Result<> parseProject(std::string_view bytes, const std::string &fileName, Project &project);

// A project file read for writing its page: the ten header lines are read at once, the
// records one at a time while the page is written, the file a block at a time. Memory holds
// a block (or the longest record), never the whole project.
class ProjectFile
{
public:
    Result<> read(const std::string &path);
    // Reads the bytes of a whole project file held in memory.
    Result<> parse(std::string bytes, const std::string &fileName);
    const Project &header() const { return m_header; }
    // The next record line, valid until the next call; false after the last one, or when the
    // file could not be read, and then error() says why.
    bool nextRecord(std::string_view &record) { return m_reader.next(record); }
    const std::string &error() const { return m_reader.error(); }

private:
    Result<> readHeader(const std::string &fileName);

    LineReader m_reader;
    Project m_header;
};

// The ten header lines, in file order.
std::vector<std::string> projectHeader(const Project &project);
// Writes the file's bytes into a sink; false when the sink refused them.
bool writeProject(const Project &project, ByteSink &sink);
std::string serializeProject(const Project &project);

Result<> loadProjectFile(const std::string &path, Project &project);
// Replaces the file only when everything was written; the old file survives any failure.
Result<> saveProjectFile(const std::string &path, const Project &project);

// Recently saved projects, newest first. Each entry is the record
// 0xA0 name 0xA0 " in " 0xA0 folder-with-separator 0xA0.
std::string recentEntry(const std::string &projectPath);
// Removes an equal entry (letter case ignored) and puts the project's entry at the top.
void addRecentProject(std::vector<std::string> &recent, const std::string &projectPath);
// Reads the recent list ("PWP"). A missing file is an empty list; a file that cannot be read
// gives an empty list and an error, and is kept: writing it is refused, so its entries are
// never replaced by the list of this run alone.
Result<> readRecentFile(const std::string &path, std::vector<std::string> &recent);
// Folder followed by file name.
std::string recentEntryPath(const std::string &entry);
// The picker's line: name, blank, " in ", blank, folder.
std::string recentEntryLine(const std::string &entry);

inline constexpr const char *RecentFileName = "PWP";

// Main window caption for a project path (empty path: a project never saved).
std::string projectCaption(const std::string &projectPath);

} // namespace stv
