#include "core/upload/FtpClient.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"
#include "core/upload/FtpTransfer.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stv
{

namespace
{

std::atomic<bool> g_failStart { false };

CURL *handle(void *p)
{
    return static_cast<CURL *>(p);
}

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    localtime_r(&now, &parts);
    return parts;
}

bool hasControlBytes(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

// A path in an SFTP command, quoted the way libcurl reads it.
std::string quotedPath(std::string_view path)
{
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// An SFTP URL path: every segment encoded, the slashes kept.
std::string encodeSegments(std::string_view path)
{
    std::string out;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string_view::npos)
            slash = path.size();
        out += encodeUrlPath(path.substr(pos, slash - pos));
        if (slash < path.size())
            out += '/';
        pos = slash + 1;
    }
    return out;
}

} // namespace

std::string knownHostsLine(const RemoteAddress &address, const HostKey &key)
{
    const std::string host = address.port == 22
        ? address.host
        : "[" + address.host + "]:" + std::to_string(address.port);
    return host + " " + key.type + " " + key.base64;
}

std::string encodeUrlPath(std::string_view bytes)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
            || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

void FtpClient::simulateStartFailure(bool fail)
{
    g_failStart = fail;
}

FtpClient::FtpClient()
{
    static const CURLcode globalInit = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (g_failStart) {
        m_startError = "The FTP library could not be started.";
        return;
    }
    if (globalInit != CURLE_OK) {
        m_startError = std::string("The FTP library could not be started: ")
            + curl_easy_strerror(globalInit) + ".";
        return;
    }
    m_curl = curl_easy_init();
    m_multi = curl_multi_init();
    if (m_curl == nullptr || m_multi == nullptr) {
        m_startError = "The FTP library could not be started.";
        return;
    }
    // One connection at a time: a fresh login closes the one before it.
    curl_multi_setopt(static_cast<CURLM *>(m_multi), CURLMOPT_MAXCONNECTS, 1L);
}

FtpClient::~FtpClient()
{
    if (m_multi != nullptr)
        curl_multi_cleanup(static_cast<CURLM *>(m_multi));
    if (m_curl != nullptr)
        curl_easy_cleanup(handle(m_curl));
}

std::string FtpClient::baseUrl() const
{
    const char *scheme = m_address.protocol == Protocol::Sftp ? "sftp://" : "ftp://";
    return scheme + bracketedHost(m_address) + ":" + std::to_string(m_address.port) + "/";
}

std::string FtpClient::remotePath(const std::string &name) const
{
    return quotedPath(m_rawDir + name);
}

FtpOutcome FtpClient::login(
    const std::string &host, const std::string &user, const std::string &password)
{
    m_loggedIn = false;
    m_mlsd = false;
    m_dirPath.clear();
    m_rawDir.clear();
    m_entryPath.clear();
    if (!m_startError.empty())
        return FtpOutcome::fail(m_startError, FtpProblem::Failed);
    const std::optional<RemoteAddress> address = parseHostField(host);
    if (!address)
        return FtpOutcome::fail("the host name is not valid", FtpProblem::Failed);
    if (!(*address == m_address)) {
        m_pinnedKey.clear();
        m_offeredKey.reset();
    }
    m_address = *address;
    m_user = user;
    m_password = password;
    if (m_address.protocol == Protocol::Sftp) {
        if (m_user.empty())
            return FtpOutcome::fail("SFTP needs a user name", FtpProblem::Failed);
        m_dirPath = "~/";
    }

    Transfer t;
    t.url = baseUrl() + m_dirPath;
    t.nobody = true;
    t.fresh = true;
    // FEAT tells whether the server has MLSD; a server without FEAT is simply asked for LIST.
    if (m_address.protocol != Protocol::Sftp)
        t.quote = { "*FEAT", "*OPTS UTF8 ON" };
    FtpOutcome outcome = perform(t);
    if (!outcome.ok)
        return outcome;
    m_offeredKey.reset();
    const char *entryPath = nullptr;
    if (curl_easy_getinfo(handle(m_curl), CURLINFO_FTP_ENTRY_PATH, &entryPath) == CURLE_OK
        && entryPath != nullptr)
        m_entryPath = entryPath;
    for (const std::string &line : splitLines(t.replies)) {
        if (line.size() > 1 && line[0] == ' ' && findText("MLST", line) == 2) {
            m_mlsd = true;
            break;
        }
    }
    m_loggedIn = true;
    return outcome;
}

FtpOutcome FtpClient::trustOfferedHostKey(bool remember)
{
    if (!m_offeredKey)
        return FtpOutcome::fail("the server offered no key", FtpProblem::Failed);
    const HostKey key = *m_offeredKey;
    if (remember) {
        const std::string folder = sshFolder();
        ::mkdir(folder.c_str(), 0700);
        const std::string file = folder + "/known_hosts";
        // Appended, never rewritten: the user's other lines and comments stay as they are.
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        std::string line = knownHostsLine(m_address, key) + "\n";
        struct stat info {
        };
        if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_size > 0) {
            char last = '\n';
            const int readFd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            if (readFd >= 0) {
                if (::pread(readFd, &last, 1, info.st_size - 1) != 1)
                    last = '\n';
                ::close(readFd);
            }
            if (last != '\n')
                line.insert(line.begin(), '\n');
        }
        const bool written
            = fd >= 0 && ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        if (!written)
            return FtpOutcome::fail(file + " could not be written: " + std::strerror(err));
    }
    // The fingerprint without its "SHA256:" is what libcurl compares the server's key with.
    m_pinnedKey = key.fingerprint.substr(key.fingerprint.find(':') + 1);
    return FtpOutcome::success();
}

FtpOutcome FtpClient::changeDirectory(const std::string &dir)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    const bool sftp = m_address.protocol == Protocol::Sftp;
    if (dir.empty()) {
        m_dirPath = sftp ? "~/" : "";
        m_rawDir.clear();
        return FtpOutcome::success();
    }
    Transfer t;
    std::string path;
    std::string raw = dir.back() == '/' ? dir : dir + "/";
    if (sftp) {
        // An SFTP request on a folder proves nothing about it; ask the server about it.
        if (hasControlBytes(dir))
            return FtpOutcome::fail("the folder name holds control characters", FtpProblem::Failed);
        path = dir.front() == '/' ? encodeSegments(raw.substr(1)) : "~/" + encodeSegments(raw);
        t.url = baseUrl() + m_dirPath;
        t.nobody = true;
        t.quote = { "statvfs " + quotedPath(raw) };
    } else {
        path = encodeUrlPath(dir) + "/";
        t.url = baseUrl() + path;
        t.nobody = true;
    }
    FtpOutcome outcome = perform(t);
    if (outcome.ok) {
        m_dirPath = path;
        m_rawDir = raw;
    }
    return outcome;
}

std::string FtpClient::currentFolder() const
{
    std::string folder = m_rawDir;
    if (folder.empty() || folder.front() != '/') {
        std::string base = m_entryPath.empty() ? std::string("~") : m_entryPath;
        if (base.back() != '/')
            base += '/';
        folder = base + folder;
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

FtpOutcome FtpClient::makeDirectory(const std::string &dir)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    if (dir.empty() || hasControlBytes(dir))
        return FtpOutcome::fail("the folder name cannot be sent in a command", FtpProblem::Failed);
    // Each level by its whole path, as the connection may stand anywhere when the commands go;
    // the levels before the last may be there already.
    const bool sftp = m_address.protocol == Protocol::Sftp;
    std::string base;
    if (dir.front() != '/')
        base = m_entryPath.empty() || m_entryPath.back() == '/' ? m_entryPath : m_entryPath + "/";
    std::vector<std::string> levels;
    std::size_t pos = 0;
    while (pos < dir.size()) {
        std::size_t slash = dir.find('/', pos);
        if (slash == std::string::npos)
            slash = dir.size();
        if (slash > pos)
            levels.push_back(base + dir.substr(0, slash));
        pos = slash + 1;
    }
    if (levels.empty())
        return FtpOutcome::fail("the folder name cannot be sent in a command", FtpProblem::Failed);
    Transfer t;
    t.url = baseUrl() + (sftp ? "~/" : "");
    t.nobody = true;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::string command = sftp ? "mkdir " + quotedPath(levels[i]) : "MKD " + levels[i];
        t.quote.push_back(i + 1 < levels.size() ? "*" + command : command);
    }
    return perform(t);
}

FtpOutcome FtpClient::list(std::vector<FtpEntry> &entries)
{
    entries.clear();
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    std::string body;
    Transfer t;
    t.url = baseUrl() + m_dirPath;
    t.body = &body;
    t.listing = true;
    if (m_mlsd)
        t.customRequest = "MLSD";
    FtpOutcome outcome = perform(t);
    if (!outcome.ok && m_mlsd && (t.errorCode == 500 || t.errorCode == 502)) {
        // Offered but not understood after all: fall back to LIST for this connection.
        m_mlsd = false;
        return list(entries);
    }
    if (!outcome.ok)
        return outcome;
    const std::tm now = localNow();
    const CivilTime today { now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, 0, 0, 0 };
    bool cut = false;
    entries = parseListing(
        body, m_mlsd, today, MaxListingEntries, &cut, [this] { return m_cancel.load(); });
    if (m_cancel) {
        entries.clear();
        return FtpOutcome::fail("the work was cancelled", FtpProblem::Cancelled);
    }
    if (cut || t.listingCut)
        outcome.note = "The folder holds more than can be shown: only the first "
            + intText(static_cast<long long>(entries.size())) + " entries are listed.";
    return outcome;
}

FtpOutcome FtpClient::upload(const std::string &localPath, const std::string &remoteName,
    const SendProgress &progress, std::string *sha256)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    if (remoteName.empty())
        return FtpOutcome::fail("the file has no name", FtpProblem::Failed);
    struct stat info {
    };
    if (::stat(localPath.c_str(), &info) != 0)
        return FtpOutcome::fail(std::string("the file could not be read: ") + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return FtpOutcome::fail("it is a folder, and only files can be sent", FtpProblem::Failed);
    // A FIFO or a device would keep the upload reading for ever.
    if (!S_ISREG(info.st_mode))
        return FtpOutcome::fail(
            notRegularText(info.st_mode) + ", and only files can be sent", FtpProblem::Failed);
    std::FILE *file = std::fopen(localPath.c_str(), "rb");
    if (file == nullptr)
        return FtpOutcome::fail(std::string("the file could not be read: ") + std::strerror(errno));
    Transfer t;
    t.url = baseUrl() + m_dirPath + encodeUrlPath(remoteName);
    t.source = file;
    t.sourceSize = static_cast<long long>(info.st_size);
    t.progress = &progress;
    Sha256 digest;
    if (sha256 != nullptr)
        t.sentDigest = &digest;
    FtpOutcome outcome = perform(t);
    std::fclose(file);
    if (sha256 != nullptr)
        *sha256 = outcome.ok ? digest.hex() : std::string();
    return outcome;
}

FtpOutcome FtpClient::uploadText(const std::string &bytes, const std::string &remoteName)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    if (bytes.empty())
        return FtpOutcome::fail("there is nothing to send", FtpProblem::Failed);
    std::FILE *file = ::fmemopen(const_cast<char *>(bytes.data()), bytes.size(), "rb");
    if (file == nullptr)
        return FtpOutcome::fail(std::strerror(errno), FtpProblem::Failed);
    Transfer t;
    t.url = baseUrl() + m_dirPath + encodeUrlPath(remoteName);
    t.source = file;
    t.sourceSize = static_cast<long long>(bytes.size());
    FtpOutcome outcome = perform(t);
    std::fclose(file);
    return outcome;
}

FtpOutcome FtpClient::download(const std::string &remoteName, ByteSink &sink, long long maxBytes)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    Transfer t;
    t.url = baseUrl() + m_dirPath + encodeUrlPath(remoteName);
    t.sink = &sink;
    t.maxBytes = maxBytes;
    return perform(t);
}

FtpOutcome FtpClient::rename(const std::string &from, const std::string &to)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    if (hasControlBytes(from) || hasControlBytes(to) || from.empty() || to.empty())
        return FtpOutcome::fail("the name cannot be sent in a command", FtpProblem::Failed);
    Transfer t;
    t.url = baseUrl() + m_dirPath;
    t.nobody = true;
    if (m_address.protocol == Protocol::Sftp)
        // SFTP's rename never replaces a file, so the old one goes first.
        t.postQuote
            = { "*rm " + remotePath(to), "rename " + remotePath(from) + " " + remotePath(to) };
    else
        t.postQuote = { "RNFR " + from, "RNTO " + to };
    return perform(t);
}

FtpOutcome FtpClient::remove(const std::string &name)
{
    if (!m_loggedIn)
        return FtpOutcome::fail("not connected to a server", FtpProblem::Failed);
    if (hasControlBytes(name) || name.empty())
        return FtpOutcome::fail("the name cannot be sent in a command", FtpProblem::Failed);
    Transfer t;
    t.url = baseUrl() + m_dirPath;
    t.nobody = true;
    t.postQuote
        = { m_address.protocol == Protocol::Sftp ? "*rm " + remotePath(name) : "*DELE " + name };
    return perform(t);
}

} // namespace stv
