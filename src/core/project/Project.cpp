#include "core/project/Project.h"

#include "core/project/Records.h"
#include "core/text/TextTools.h"

namespace stv
{

namespace
{

ProjectResult notAProject(const std::string &fileName)
{
    return { false,
        "Cannot load " + fileName
            + ": it is not a Sitorva project (a project file has at least ten lines)." };
}

// The header values from the ten header lines, in file order.
Project headerFromLines(const std::string_view *lines)
{
    Project p;
    p.headCode = unescapeLineBreaks(lines[0]);
    p.ftpInitDir = lines[1];
    p.ftpPassword = lines[2];
    p.ftpUserId = lines[3];
    p.ftpHost = lines[4];
    p.pageFileName = lines[5];
    p.importBackgroundImage = flagValue(lines[6]);
    p.backgroundImage = lines[7];
    p.backgroundColour = leadingInt(lines[8]);
    p.pageTitle = lines[9];
    return p;
}

} // namespace

ProjectResult parseProject(std::string_view bytes, const std::string &fileName, Project &project)
{
    LineCursor cursor(bytes);
    std::string_view lines[ProjectHeaderLines];
    for (std::string_view &line : lines)
        if (!cursor.next(line))
            return notAProject(fileName);
    Project p = headerFromLines(lines);
    const std::string_view records = cursor.rest();
    p.sections.reserve(countLines(records));
    for (std::string_view record; cursor.next(record);)
        p.sections.emplace_back(record);
    project = std::move(p);
    return { true, {} };
}

ProjectResult ProjectFile::read(const std::string &path)
{
    if (const FileResult r = m_reader.open(path, ProjectFileLimit); !r.ok)
        return { false, r.error };
    return readHeader(path);
}

ProjectResult ProjectFile::parse(std::string bytes, const std::string &fileName)
{
    m_reader.openBytes(std::move(bytes));
    return readHeader(fileName);
}

ProjectResult ProjectFile::readHeader(const std::string &fileName)
{
    // A line read is only good until the next one, so each is kept as it comes.
    std::string kept[ProjectHeaderLines];
    std::string_view lines[ProjectHeaderLines];
    for (int i = 0; i < ProjectHeaderLines; ++i) {
        std::string_view line;
        if (!m_reader.next(line))
            return m_reader.error().empty() ? notAProject(fileName)
                                            : ProjectResult { false, m_reader.error() };
        kept[i] = line;
        lines[i] = kept[i];
    }
    m_header = headerFromLines(lines);
    return { true, {} };
}

std::vector<std::string> projectHeader(const Project &p)
{
    return { escapeLineBreaks(p.headCode), p.ftpInitDir, p.ftpPassword, p.ftpUserId, p.ftpHost,
        p.pageFileName, flagText(p.importBackgroundImage), p.backgroundImage,
        intText(p.backgroundColour), p.pageTitle };
}

bool writeProject(const Project &project, ByteSink &sink)
{
    // Written in chunks of about 64 KiB so a large project is not copied whole once more.
    std::string chunk;
    chunk.reserve(1 << 16);
    auto put = [&](const std::string &line) {
        chunk += line;
        chunk += "\r\n";
        if (chunk.size() >= (1 << 16)) {
            if (!sink.write(chunk))
                return false;
            chunk.clear();
        }
        return true;
    };
    for (const auto &line : projectHeader(project))
        if (!put(line))
            return false;
    for (const auto &record : project.sections)
        if (!put(record))
            return false;
    return chunk.empty() || sink.write(chunk);
}

std::string serializeProject(const Project &project)
{
    // Sized up front: growing a multi-megabyte string step by step costs more than the writing.
    std::size_t total = 0;
    for (const auto &line : projectHeader(project))
        total += line.size() + 2;
    for (const auto &record : project.sections)
        total += record.size() + 2;
    StringSink sink;
    sink.reserve(total);
    writeProject(project, sink);
    return sink.take();
}

ProjectResult loadProjectFile(const std::string &path, Project &project)
{
    std::string data;
    const FileResult r = readWholeFile(path, data, ProjectFileLimit);
    if (!r.ok)
        return { false, r.error };
    return parseProject(data, path, project);
}

ProjectResult saveProjectFile(const std::string &path, const Project &project)
{
    AtomicFile file(path);
    if (!project.ftpPassword.empty())
        file.keepPrivate();
    if (!file.open() || !writeProject(project, file) || !file.commit())
        return { false, file.error() };
    return { true, {} };
}

std::string recentEntry(const std::string &projectPath)
{
    return joinFields({ fileNamePart(projectPath), " in ", folderPart(projectPath) });
}

void addRecentProject(std::vector<std::string> &recent, const std::string &projectPath)
{
    const std::string entry = recentEntry(projectPath);
    // Letter case tells files apart here: /w/Home.stv and /w/home.stv are two projects.
    std::erase_if(recent, [&](const std::string &e) { return e == entry; });
    recent.insert(recent.begin(), entry);
}

FileResult readRecentFile(const std::string &path, std::vector<std::string> &recent)
{
    return readKeptLinesFile(path, recent, ConfigFileLimit);
}

std::string recentEntryPath(const std::string &entry)
{
    const auto f = splitFields(entry, 2);
    return f[2] + f[0];
}

std::string recentEntryLine(const std::string &entry)
{
    const auto f = splitFields(entry, 2);
    return f[0] + " " + f[1] + " " + f[2];
}

std::string projectCaption(const std::string &projectPath)
{
    if (projectPath.empty())
        return "Sitorva 98";
    return "Sitorva 98 .. " + fileNamePart(projectPath) + " in " + folderPart(projectPath);
}

} // namespace stv
