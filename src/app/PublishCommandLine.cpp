#include "app/PublishCommandLine.h"

#include "app/CommandLine.h"
#include "core/page/PageGenerator.h"
#include "core/project/Project.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"
#include "core/upload/FtpClient.h"
#include "core/upload/PageFiles.h"
#include "core/upload/Publisher.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace stv
{

namespace
{

namespace fs = std::filesystem;

// A fresh folder, removed with everything in it when the publish ends.
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "sitorva-publish-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code ec;
        if (!m_path.empty())
            fs::remove_all(m_path, ec);
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// The page and, in name order, the files generation put beside it (the folder was empty).
PublishRequest filesOfFolder(const std::string &folder, const std::string &pageName)
{
    PublishRequest request;
    request.page = { folder + "/" + pageName, pageName, pageIdentity(folder + "/" + pageName) };
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file() && entry.path().filename() != pageName)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string &name : names)
        request.files.push_back({ folder + "/" + name, name, {} });
    return request;
}

std::string hostKeyAdvice(const FtpClient &client)
{
    const std::optional<HostKey> &key = client.offeredHostKey();
    if (!key)
        return {};
    return "If " + key->fingerprint + " is the fingerprint of " + client.address().host
        + "'s key, trust the key by adding this line to ~/.ssh/known_hosts (or by connecting "
          "once from the upload window):\n"
        + knownHostsLine(client.address(), *key) + "\n";
}

// Writes a line when another file is on its way.
class ProgressLines
{
public:
    explicit ProgressLines(std::ostream &err)
        : m_err(err)
    {
    }
    void operator()(const PublishProgress &p)
    {
        if (p.current.empty() || p.current == m_last)
            return;
        m_last = p.current;
        m_err << "sending " << p.current << " (" << p.filesDone + 1 << " of " << p.filesTotal
              << ")\n";
    }

private:
    std::ostream &m_err;
    std::string m_last;
};

} // namespace

int publishFromCommandLine(
    const std::string &projectPath, bool dryRun, std::ostream &out, std::ostream &err)
{
    Project project;
    if (const ProjectResult loaded = loadProjectFile(projectPath, project); !loaded.ok) {
        err << "sitorva: " << (loaded.error.empty() ? "Cannot read " + projectPath : loaded.error)
            << "\n";
        return 1;
    }
    if (project.ftpHost.empty()) {
        err << "sitorva: the project has no host name to publish to\n";
        return 1;
    }
    TemporaryFolder folder;
    if (folder.path().empty()) {
        err << "sitorva: no temporary folder for the page\n";
        return 1;
    }

    // The page exactly as --generate writes it.
    const std::string pageName
        = fileNamePart(proposedPageName(projectPath, nativePath(project.pageFileName)));
    std::ostringstream generated;
    const CliOutcome made = runCommandLine(
        { "--generate", projectPath, "--output", folder.path() + "/" + pageName }, generated, err);
    if (made.exitCode != 0)
        return made.exitCode;
    PublishRequest request = filesOfFolder(folder.path(), pageName);
    request.dryRun = dryRun;

    const char *fromEnvironment = std::getenv("SITORVA_PASSWORD");
    const std::string password = fromEnvironment != nullptr ? std::string(fromEnvironment)
                                                            : cp1252ToUtf8(project.ftpPassword);
    const std::string host = cp1252ToUtf8(project.ftpHost);
    FtpClient client;
    err << "connecting to " << host << "\n";
    FtpOutcome step = client.login(host, cp1252ToUtf8(project.ftpUserId), password);
    if (step.ok)
        step = client.changeDirectory(cp1252ToUtf8(project.ftpInitDir));
    if (!step.ok) {
        // An unknown host key is never taken on trust here: there is nobody to ask.
        err << "sitorva: could not publish to " << host << ": " << step.error << "\n"
            << hostKeyAdvice(client);
        return 1;
    }
    if (client.address().protocol == Protocol::Ftp)
        err << "warning: plain FTP: the password travels unencrypted\n";

    ProgressLines progress(err);
    const PublishReport report = publishPage(client, request, std::ref(progress));
    if (!report.ok) {
        err << "sitorva: " << report.error << "\n";
        return 1;
    }
    for (const PublishFailure &f : report.failed)
        err << "failed: " << f.name << ": " << f.reason << "\n";
    for (const std::string &note : report.notes)
        err << "note: " << note << "\n";
    if (dryRun) {
        for (const std::string &name : report.uploaded)
            out << "would upload: " << name << "\n";
        out << "dry run: " << report.uploaded.size() << " to upload, " << report.unchanged.size()
            << " unchanged, " << report.failed.size() << " failed\n";
    } else {
        out << "published: " << publishCounts(report) << "\n";
    }
    return report.failed.empty() ? 0 : 1;
}

} // namespace stv
