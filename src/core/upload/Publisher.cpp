#include "core/upload/Publisher.h"

#include "core/files/FileIO.h"
#include "core/upload/Digest.h"
#include "core/upload/PublishManifest.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <sys/stat.h>

namespace stv
{

namespace
{

struct Planned {
    const PublishItem *item = nullptr;
    FileDigest digest;
    bool send = false;
};

std::map<std::string, const FtpEntry *> byName(const std::vector<FtpEntry> &entries)
{
    std::map<std::string, const FtpEntry *> out;
    for (const FtpEntry &e : entries)
        if (!e.nameCut)
            out[e.name] = &e;
    return out;
}

// What the record keeps of a file: its SHA-256, or the identity it was given.
const std::string &recordedHash(const PublishItem &item, const FileDigest &digest)
{
    return item.identity.empty() ? digest.sha256 : item.identity;
}

// Whether the folder still holds what the record says was sent.
bool stillThere(const ManifestEntry &recorded, const PublishItem &item, const FileDigest &local,
    const std::map<std::string, const FtpEntry *> &listed)
{
    if (recorded.sha256 != recordedHash(item, local))
        return false;
    if (item.identity.empty() && recorded.size != local.size)
        return false;
    const std::string &name = item.remoteName;
    const auto it = listed.find(name);
    if (it == listed.end() || it->second->isDirectory)
        return false; // deleted (or replaced by a folder) since
    return it->second->size == recorded.size
        && sameListedTime(recorded.listed, it->second->modified);
}

class Publishing
{
public:
    Publishing(FtpClient &client, const PublishRequest &request, const PublishProgressFn &progress)
        : m_client(client)
        , m_request(request)
        , m_progressFn(progress)
    {
    }

    PublishReport run();

private:
    bool readFolder(std::vector<FtpEntry> &entries);
    void plan(const std::vector<FtpEntry> &entries);
    bool send(Planned &p, const std::string &remoteName);
    void sendPage(Planned &p);
    void fail(const std::string &name, const std::string &reason)
    {
        m_report.failed.push_back({ name, reason });
    }
    void stopRest(std::size_t from, const std::string &reason);
    void writeRecord();
    void report() const
    {
        if (m_progressFn)
            m_progressFn(m_progress);
    }

    FtpClient &m_client;
    const PublishRequest &m_request;
    const PublishProgressFn &m_progressFn;
    PublishReport m_report;
    PublishProgress m_progress;
    Manifest m_record;
    std::vector<Planned> m_plan; // the files, then the page
    std::map<std::string, bool> m_sent; // remote name -> arrived whole
    bool m_stopped = false;
};

bool Publishing::readFolder(std::vector<FtpEntry> &entries)
{
    const FtpOutcome listed = m_client.list(entries);
    if (!listed.ok) {
        m_report.error = "The folder could not be listed: " + listed.error;
        m_report.problem = listed.problem;
        m_report.cancelled = listed.problem == FtpProblem::Cancelled;
        return false;
    }
    if (!listed.note.empty())
        m_report.notes.push_back(listed.note);
    // Fetched whether the listing shows it or not: some servers hide names with a dot.
    StringSink sink;
    const FtpOutcome fetched = m_client.download(ManifestName, sink, MaxManifestBytes);
    if (fetched.ok) {
        m_record = parseManifest(sink.data());
    } else if (fetched.problem == FtpProblem::NotFound) {
        // The first publish to this folder.
    } else if (fetched.problem == FtpProblem::Cancelled) {
        m_report.error = fetched.error;
        m_report.problem = fetched.problem;
        m_report.cancelled = true;
        return false;
    } else {
        m_report.notes.push_back("The record of the last publish could not be read ("
            + fetched.error + "), so every file is sent.");
    }
    return true;
}

void Publishing::plan(const std::vector<FtpEntry> &entries)
{
    const auto listed = byName(entries);
    std::vector<const PublishItem *> items;
    for (const PublishItem &item : m_request.files)
        if (item.remoteName != m_request.page.remoteName)
            items.push_back(&item);
    items.push_back(&m_request.page);
    for (const PublishItem *item : items) {
        if (m_client.cancelRequested()) {
            m_report.cancelled = true;
            return;
        }
        Planned p;
        p.item = item;
        struct stat info {
        };
        if (::stat(item->localPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            fail(item->remoteName,
                std::string("the file could not be read: ")
                    + (S_ISDIR(info.st_mode) ? "it is a folder" : std::strerror(errno)));
            continue;
        }
        p.digest.size = static_cast<long long>(info.st_size);
        const auto recorded = m_record.find(item->remoteName);
        // A file the record may hold is compared by its SHA-256; any other is sent at once,
        // and its SHA-256 taken from the bytes on their way.
        const bool mayBeThere = recorded != m_record.end()
            && (!item->identity.empty() || recorded->second.size == p.digest.size);
        if (mayBeThere) {
            const Result<FileDigest> digest
                = digestFile(item->localPath, [this] { return m_client.cancelRequested(); });
            if (!digest) {
                fail(item->remoteName, digest.error());
                continue;
            }
            p.digest = digest.value();
        }
        p.send = !mayBeThere || !stillThere(recorded->second, *item, p.digest, listed);
        if (p.send) {
            m_progress.bytesTotal += p.digest.size;
            ++m_progress.filesTotal;
        } else {
            m_report.unchanged.push_back(item->remoteName);
        }
        m_plan.push_back(std::move(p));
    }
}

bool Publishing::send(Planned &p, const std::string &remoteName)
{
    m_progress.current = p.item->remoteName;
    report();
    const long long before = m_progress.bytesDone;
    std::string sentDigest;
    const FtpOutcome sent = m_client.upload(
        p.item->localPath, remoteName,
        [this, before](long long bytes) {
            m_progress.bytesDone = before + bytes;
            report();
        },
        &sentDigest);
    if (sent.ok)
        p.digest.sha256 = sentDigest;
    m_progress.bytesDone = before + p.digest.size;
    ++m_progress.filesDone;
    report();
    if (sent.ok)
        return true;
    fail(p.item->remoteName, sent.error);
    if (sent.problem == FtpProblem::Cancelled) {
        m_report.cancelled = true;
        m_stopped = true;
    } else if (sent.problem == FtpProblem::TimedOut) {
        m_stopped = true; // every further file would wait as long
    }
    return false;
}

void Publishing::sendPage(Planned &p)
{
    const std::string &name = p.item->remoteName;
    const std::string temporary = temporaryName(name);
    if (!send(p, temporary))
        return;
    const FtpOutcome renamed = m_client.rename(temporary, name);
    if (renamed.ok) {
        m_sent[name] = true;
        return;
    }
    if (renamed.problem == FtpProblem::Cancelled || renamed.problem == FtpProblem::TimedOut) {
        m_report.cancelled = renamed.problem == FtpProblem::Cancelled;
        fail(name, renamed.error);
        return;
    }
    // A server that refuses renames gets the page directly, and the user hears of it.
    const FtpOutcome direct = m_client.upload(p.item->localPath, name, {}, &p.digest.sha256);
    m_client.remove(temporary);
    if (!direct.ok) {
        fail(name, direct.error);
        return;
    }
    m_sent[name] = true;
    m_report.notes.push_back("The server refused to rename " + temporary + " to " + name + " ("
        + renamed.error + "), so the page was sent directly under its name.");
}

void Publishing::stopRest(std::size_t from, const std::string &reason)
{
    for (std::size_t i = from; i < m_plan.size(); ++i)
        if (m_plan[i].send)
            fail(m_plan[i].item->remoteName, reason);
}

void Publishing::writeRecord()
{
    // The new record: what is there and unchanged, what arrived now (with the time the
    // folder shows for it), and other pages' entries while their files are still there.
    std::vector<FtpEntry> entries;
    const FtpOutcome listed = m_client.list(entries);
    const auto names = byName(entries);
    Manifest record;
    for (const auto &[name, entry] : m_record)
        if (listed.ok && names.count(name) != 0)
            record[name] = entry;
    for (const Planned &p : m_plan) {
        const std::string &name = p.item->remoteName;
        if (!p.send || m_sent.count(name) != 0) {
            ManifestEntry entry { recordedHash(*p.item, p.digest), p.digest.size, std::nullopt };
            const auto it = names.find(name);
            if (!p.send && m_record.count(name) != 0)
                entry = m_record.at(name); // as it was sent
            else if (it != names.end())
                entry.listed = it->second->modified;
            record[name] = entry;
        } else {
            record.erase(name); // failed: sent again next time
        }
    }
    if (record == m_record)
        return;
    const std::string text = formatManifest(record);
    if (static_cast<long long>(text.size()) > MaxManifestBytes) {
        m_report.notes.push_back("The record of what was sent would be too large to read "
                                 "back, so it was not written and the next publish sends "
                                 "these files again.");
        return;
    }
    const FtpOutcome sent = m_client.uploadText(text, ManifestName);
    m_report.recordWritten = sent.ok;
    if (!sent.ok)
        m_report.notes.push_back("The record of what was sent could not be written (" + sent.error
            + "), so the next publish sends these files again.");
}

PublishReport Publishing::run()
{
    m_report.skipped = m_request.skipped;
    std::vector<FtpEntry> entries;
    if (!readFolder(entries))
        return m_report;
    plan(entries);
    if (m_report.cancelled) {
        m_report.error = "the work was cancelled";
        m_report.problem = FtpProblem::Cancelled;
        return m_report;
    }
    m_report.ok = true;
    if (m_request.dryRun) {
        for (const Planned &p : m_plan)
            if (p.send)
                m_report.uploaded.push_back(p.item->remoteName);
        return m_report;
    }
    report();
    // A file that cannot even be read keeps the page back too.
    bool filesArrived = m_report.failed.empty();
    for (std::size_t i = 0; i < m_plan.size(); ++i) {
        Planned &p = m_plan[i];
        if (m_stopped) {
            stopRest(i,
                m_report.cancelled ? "not sent: cancelled"
                                   : "not sent: the server stopped answering");
            break;
        }
        if (!p.send)
            continue;
        if (p.item == &m_request.page) {
            if (!filesArrived) {
                fail(p.item->remoteName,
                    "not sent, so that visitors do not get a page without its files");
                continue;
            }
            sendPage(p);
        } else if (send(p, p.item->remoteName)) {
            m_sent[p.item->remoteName] = true;
        } else {
            filesArrived = false;
        }
    }
    for (const Planned &p : m_plan)
        if (p.send && m_sent.count(p.item->remoteName) != 0)
            m_report.uploaded.push_back(p.item->remoteName);
    if (!m_report.cancelled)
        writeRecord();
    return m_report;
}

} // namespace

std::string publishReportText(const PublishReport &report)
{
    std::string text = publishCounts(report);
    if (!report.failed.empty()) {
        text += "\n\nNot uploaded:";
        for (const PublishFailure &f : report.failed)
            text += "\n" + f.name + ": " + f.reason;
    }
    if (!report.skipped.empty()) {
        text += "\n\nLeft out, as only pictures and sounds go with a page:";
        for (const PublishFailure &f : report.skipped)
            text += "\n" + f.reason;
    }
    for (const std::string &note : report.notes)
        text += "\n\n" + note;
    return text;
}

std::string temporaryName(const std::string &remoteName)
{
    return ".sitorva-new-" + remoteName;
}

PublishReport publishPage(
    FtpClient &client, const PublishRequest &request, const PublishProgressFn &progress)
{
    return Publishing(client, request, progress).run();
}

std::string publishCounts(const PublishReport &report)
{
    std::string counts = std::to_string(report.uploaded.size()) + " uploaded, "
        + std::to_string(report.unchanged.size()) + " unchanged, "
        + std::to_string(report.failed.size()) + " failed";
    if (!report.skipped.empty())
        counts += ", " + std::to_string(report.skipped.size()) + " left out";
    return counts;
}

} // namespace stv
