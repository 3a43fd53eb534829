#include "core/upload/PageFiles.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"
#include "core/upload/Digest.h"

#include <set>
#include <sys/stat.h>

namespace stv
{

namespace
{

// The page without its "Site Last Updated" line, which changes with every generation.
std::string withoutUpdateTime(std::string_view page)
{
    std::string out;
    out.reserve(page.size());
    std::size_t pos = 0;
    while (pos < page.size()) {
        std::size_t end = page.find('\n', pos);
        end = end == std::string_view::npos ? page.size() : end + 1;
        const std::string_view line = page.substr(pos, end - pos);
        const bool classicTime = line.rfind("<FONT SIZE=4 color=", 0) == 0
            && line.find("><B>Site Last Updated ") != std::string_view::npos;
        const bool modernTime = line.rfind("<p class=\"upd\">Site Last Updated ", 0) == 0;
        if (!classicTime && !modernTime)
            out.append(line);
        pos = end;
    }
    return out;
}

bool fileStat(const std::string &path, struct stat &info)
{
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool newer(const struct stat &a, const struct stat &b)
{
    return a.st_mtim.tv_sec > b.st_mtim.tv_sec
        || (a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec > b.st_mtim.tv_nsec);
}

} // namespace

std::string pageIdentity(const std::string &pageFile)
{
    const Result<std::string> page = readWholeFile(pageFile);
    if (!page)
        return {};
    return sha256Hex(withoutUpdateTime(page.value()));
}

CopyResult RecordingCopier::copy(const std::string &from, const std::string &to)
{
    m_copies.push_back({ from, to });
    return m_inner != nullptr ? m_inner->copy(from, to) : CopyResult(CopyDone::Copied);
}

PublishRequest publishRequestFor(const std::string &pageFile, const RecordingCopier &copier,
    const CompanionContext &context, bool fromSources)
{
    PublishRequest request;
    request.page = { pageFile, fileNamePart(pageFile), pageIdentity(pageFile) };
    std::set<std::string> seen { request.page.remoteName };
    for (const RecordingCopier::Copy &c : copier.copies()) {
        const std::string name = fileNamePart(c.to);
        if (!seen.insert(name).second)
            continue;
        const std::string &sent = fromSources ? c.from : c.to;
        // The name it gets on the server, the file that goes and the file it came from all
        // keep the rules: a copy of a key beside the page is still a key.
        Result<MediaType> allowed = checkCompanionFile(sent, MediaKind::Other, context);
        if (allowed && sent != c.from && fileExists(c.from))
            allowed = checkCompanionFile(c.from, MediaKind::Other, context);
        if (allowed && name != fileNamePart(sent) && (name[0] == '.' || isProgramFileName(name)))
            allowed = fail("a hidden or program file's name: " + name);
        // A file that is not there stays in: its failure then holds the page back.
        if (allowed || allowed.missing())
            request.files.push_back({ sent, name, {} });
        else
            request.skipped.push_back({ name, allowed.error() });
    }
    return request;
}

PageCheck checkCreatedPage(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, const CompanionContext &context)
{
    PageCheck check;
    RecordingCopier recorder;
    StringSink fresh;
    const PageResult built = writePage(project, lists, options, request, recorder, fresh);
    check.request = publishRequestFor(request.pageFile, recorder, context);
    if (request.pageFile.empty() || !built) {
        check.reason = "No web page has been created for this project yet.";
        return check;
    }
    const Result<std::string> onDisk = readWholeFile(request.pageFile);
    if (!onDisk) {
        check.reason = "The web page " + request.pageFile + " is not there.";
        return check;
    }
    if (withoutUpdateTime(onDisk.value()) != withoutUpdateTime(fresh.data())) {
        check.reason = "The project has changes that are not in the web page yet.";
        return check;
    }
    std::set<std::string> leftOut;
    for (const PublishFailure &f : check.request.skipped)
        leftOut.insert(f.name);
    for (const RecordingCopier::Copy &c : recorder.copies()) {
        if (leftOut.count(fileNamePart(c.to)) != 0)
            continue; // never sent, so it need not be there
        struct stat source {
        };
        struct stat copy {
        };
        if (!fileStat(c.to, copy)) {
            check.reason = "The file " + c.to + " that the page shows is not beside it.";
            return check;
        }
        if (sameFile(c.from, c.to))
            continue;
        if (fileStat(c.from, source) && (source.st_size != copy.st_size || newer(source, copy))) {
            check.reason = "The file " + c.from + " has changed since the page was created.";
            return check;
        }
    }
    check.upToDate = true;
    return check;
}

} // namespace stv
