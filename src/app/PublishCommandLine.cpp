#include "app/PublishCommandLine.h"

#include "app/CheckCommandLine.h"
#include "core/page/CompanionFiles.h"
#include "core/page/PageGenerator.h"
#include "core/page/PageStyle.h"
#include "core/project/Project.h"
#include "core/settings/Config.h"
#include "core/settings/ProgramFolderPath.h"
#include "core/text/Cp1252.h"
#include "core/text/TerminalText.h"
#include "core/text/TextTools.h"
#include "core/upload/FtpClient.h"
#include "core/upload/PageFiles.h"
#include "core/upload/ProjectPassword.h"
#include "core/upload/Publisher.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

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

// The page as --generate writes it, into `folder`; the pictures and sounds are sent from
// where they are rather than copied first (the copies would be the same bytes). Empty
// optional, with the error written, when the page could not be written or its name may not
// be published.
std::optional<PublishRequest> generatePage(const Project &project, const std::string &projectPath,
    const std::string &folder, std::ostream &err)
{
    const std::string pageName
        = fileNamePart(proposedPageName(projectPath, nativePath(project.pageFileName)));
    if (const Result<> named = checkPageFileName(pageName); !named) {
        err << "sitorva: " << terminalText(named.error()) << "; nothing was published\n";
        return std::nullopt;
    }
    Configuration config;
    FavouriteLists lists;
    if (const Result<bool> loaded = loadConfiguration(programFolderPath(), config, lists); !loaded)
        err << "sitorva: warning: " << terminalText(loaded.error()) << "\n";
    if (const Result<> settings = loadPageSettings(programFolderPath(), config.pageOptions);
        !settings)
        err << "sitorva: warning: " << terminalText(settings.error()) << "\n";
    PageRequest request = createPageRequest(folder + "/" + pageName, projectPath);
    std::string pictureWarning;
    const std::unique_ptr<PicturePreparer> pictures = picturesForPage(
        config.pageOptions.style == PageStyle::Modern, true, programFolderPath(), pictureWarning);
    request.webReadyPictures = pictures.get();
    if (!pictureWarning.empty())
        err << "sitorva: warning: " << terminalText(pictureWarning) << "\n";
    RecordingCopier recorder;
    const PageResult result = writePageFile(project, lists, config.pageOptions, request, recorder);
    if (!result) {
        err << "sitorva: " << terminalText(result.error()) << "\n";
        return std::nullopt;
    }
    for (const std::string &line : result.value().copyFailures)
        err << "sitorva: warning: " << terminalText(line) << "\n";
    return publishRequestFor(
        request.pageFile, recorder, CompanionContext { projectPath, {} }, true);
}

std::string hostKeyAdvice(const FtpClient &client)
{
    const std::optional<HostKey> &key = client.offeredHostKey();
    if (!key)
        return {};
    return terminalText("If " + key->fingerprint + " is the fingerprint of " + client.address().host
               + "'s key, trust the key by adding this line to ~/.ssh/known_hosts (or by "
                 "connecting once from the upload window):")
        + "\n" + terminalText(knownHostsLine(client.address(), *key)) + "\n";
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
        m_err << "sending " << terminalText(p.current) << " (" << p.filesDone + 1 << " of "
              << p.filesTotal << ")\n";
    }

private:
    std::ostream &m_err;
    std::string m_last;
};

} // namespace

int publishFromCommandLine(const std::string &projectPath, const PublishOptions &options,
    std::ostream &out, std::ostream &err)
{
    Project project;
    if (const Result<> loaded = loadProjectFile(projectPath, project); !loaded) {
        err << "sitorva: "
            << terminalText(loaded.error().empty() ? "Cannot read " + projectPath : loaded.error())
            << "\n";
        return 1;
    }
    if (project.ftpHost.empty()) {
        err << "sitorva: the project has no host name to publish to\n";
        return 1;
    }
    // What a visitor would find wrong is said first; it never stops the publish.
    if (const Result<PageReport> check = checkProjectFile(projectPath, err); check.ok())
        for (const Problem &problem : check.value().problems)
            err << terminalText(cp1252ToUtf8(problemLine(problem))) << "\n";
    const std::string password = publishPassword(project, std::getenv("SITORVA_PASSWORD"));
    const std::string host = cp1252ToUtf8(project.ftpHost);
    const std::string shownHost = terminalText(host);
    const std::optional<RemoteAddress> address = parseHostField(host);
    if (!address) {
        err << "sitorva: the host name " << shownHost << " is not valid\n";
        return 1;
    }
    // The project may come from anybody; its host gets a password in clear only when asked.
    const bool plain = address->protocol == Protocol::Ftp;
    if (plain && !password.empty() && !options.allowPlainFtp) {
        err << "sitorva: " << shownHost
            << " is plain FTP, which sends the password unencrypted; nothing was sent. Use "
               "ftps:// or sftp:// in the project's Host Name, or --allow-plain-ftp to send it "
               "anyway\n";
        return 2;
    }

    TemporaryFolder folder;
    if (folder.path().empty()) {
        err << "sitorva: no temporary folder for the page\n";
        return 1;
    }
    std::optional<PublishRequest> request = generatePage(project, projectPath, folder.path(), err);
    if (!request)
        return 1;
    request->dryRun = options.dryRun;

    FtpClient client;
    if (options.transferSeconds > 0) {
        FtpLimits limits = client.limits();
        limits.transferSeconds = options.transferSeconds;
        client.setLimits(limits);
    }
    if (plain && !password.empty())
        err << "warning: plain FTP: the password travels unencrypted\n";
    err << "connecting to " << shownHost << "\n";
    const FtpOutcome login = client.login(host, cp1252ToUtf8(project.ftpUserId), password);
    if (!login.ok) {
        // An unknown host key is never taken on trust here: there is nobody to ask.
        err << "sitorva: could not publish to " << shownHost << ": " << terminalText(login.error)
            << "\n"
            << hostKeyAdvice(client);
        return 1;
    }
    // Never into another folder: a page sent into the login folder would replace whatever
    // page stands there.
    const std::string initialDir = cp1252ToUtf8(project.ftpInitDir);
    if (const FtpOutcome entered = client.changeDirectory(initialDir); !entered.ok) {
        err << "sitorva: the folder " << terminalText(initialDir) << " could not be entered on "
            << shownHost << " (" << terminalText(entered.error)
            << "); nothing was sent. Create the folder on the server (Publish in the upload "
               "window offers to), or correct the project's Initial Directory\n";
        return 1;
    }
    err << "publishing into " << terminalText(client.currentFolder()) << " on " << shownHost
        << "\n";

    ProgressLines progress(err);
    const PublishReport report = publishPage(client, *request, std::ref(progress));
    for (const PublishFailure &f : report.skipped)
        err << "left out: " << terminalText(f.reason) << "\n";
    if (!report.ok) {
        err << "sitorva: " << terminalText(report.error) << "\n";
        return 1;
    }
    for (const PublishFailure &f : report.failed)
        err << "failed: " << terminalText(f.name) << ": " << terminalText(f.reason) << "\n";
    for (const std::string &note : report.notes)
        err << "note: " << terminalText(note) << "\n";
    if (options.dryRun) {
        for (const std::string &name : report.uploaded)
            out << "would upload: " << terminalText(name) << "\n";
        out << "dry run: " << report.uploaded.size() << " to upload, " << report.unchanged.size()
            << " unchanged, " << report.failed.size() << " failed\n";
    } else {
        out << "published: " << publishCounts(report) << "\n";
    }
    return report.failed.empty() ? 0 : 1;
}

} // namespace stv
