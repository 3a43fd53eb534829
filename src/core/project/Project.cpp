#include "core/project/Project.h"

#include "core/project/Records.h"
#include "core/text/TextTools.h"

namespace stv
{

namespace
{

Failure notAProject(const std::string &fileName)
{
    return fail("Cannot load " + fileName
        + ": it is not a Sitorva project (a project file has at least ten lines).");
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

Result<> parseProject(std::string_view bytes, const std::string &fileName, Project &project)
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
    return {};
}

Result<> ProjectFile::read(const std::string &path)
{
    if (Result<> opened = m_reader.open(path, ProjectFileLimit); !opened)
        return opened;
    return readHeader(path);
}

Result<> ProjectFile::parse(std::string bytes, const std::string &fileName)
{
    m_reader.openBytes(std::move(bytes));
    return readHeader(fileName);
}

Result<> ProjectFile::readHeader(const std::string &fileName)
{
    // A line read is only good until the next one, so each is kept as it comes.
    std::string kept[ProjectHeaderLines];
    std::string_view lines[ProjectHeaderLines];
    for (int i = 0; i < ProjectHeaderLines; ++i) {
        std::string_view line;
        if (!m_reader.next(line))
            return m_reader.error().empty() ? notAProject(fileName) : fail(m_reader.error());
        kept[i] = line;
        lines[i] = kept[i];
    }
    m_header = headerFromLines(lines);
    return {};
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

Result<> loadProjectFile(const std::string &path, Project &project)
{
    const Result<std::string> read = readWholeFile(path, ProjectFileLimit);
    if (!read)
        return read.failure();
    return parseProject(read.value(), path, project);
}

Result<> saveProjectFile(const std::string &path, const Project &project)
{
    AtomicFile file(path);
    if (!project.ftpPassword.empty())
        file.keepPrivate();
    if (!file.open() || !writeProject(project, file) || !file.commit())
        return fail(file.error());
    return {};
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

Result<> readRecentFile(const std::string &path, std::vector<std::string> &recent)
{
    Result<std::vector<std::string>> read = readKeptLinesFile(path, ConfigFileLimit);
    recent = read ? std::move(read.value()) : std::vector<std::string>();
    return read ? Result<>() : read.failure();
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
