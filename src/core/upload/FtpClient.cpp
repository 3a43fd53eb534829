#include "core/upload/FtpClient.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace stv
{

namespace
{

std::atomic<bool> g_failStart { false };

// Replies and data beyond these sizes are not kept: a listing or a reply log is never that big.
constexpr std::size_t MaxReplyLog = 64 * 1024;
constexpr std::size_t MaxListing = 64 * 1024 * 1024;

CURL *handle(void *p)
{
    return static_cast<CURL *>(p);
}

bool validHostByte(unsigned char c, bool ipv6)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
        || c == '-')
        return true;
    if (ipv6)
        return c == ':' || c == '%';
    return c == '_' || c >= 0x80; // underscores and international names
}

bool validHost(std::string_view host, bool ipv6)
{
    if (host.empty())
        return false;
    for (char c : host)
        if (!validHostByte(static_cast<unsigned char>(c), ipv6))
            return false;
    return true;
}

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    localtime_r(&now, &parts);
    return parts;
}

} // namespace

struct FtpClient::Transfer {
    std::string url;
    bool nobody = false;
    bool fresh = false;
    std::string customRequest;
    std::vector<std::string> quote;
    std::FILE *source = nullptr;
    curl_off_t sourceSize = -1;
    ByteSink *sink = nullptr;
    std::string *body = nullptr;
    const std::atomic<bool> *abort = nullptr;

    // Results.
    std::string replies; // every reply line of the control connection
    std::string errorReply; // the last reply of 400 or above
    long errorCode = 0;
    bool sinkFailed = false;
    bool tooLarge = false;
};

namespace
{

std::size_t onReply(char *data, std::size_t size, std::size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const std::size_t n = size * count;
    std::string_view line(data, n);
    if (t->replies.size() + n <= MaxReplyLog)
        t->replies.append(line);
    // The last line of a reply is "NNN text"; remember the last refusal.
    if (line.size() >= 4 && line[3] == ' ' && line[0] >= '4' && line[0] <= '5') {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.remove_suffix(1);
        t->errorReply = std::string(line);
        t->errorCode = leadingInt(line.substr(0, 3));
    }
    return n;
}

std::size_t onData(char *data, std::size_t size, std::size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const std::size_t n = size * count;
    if (t->sink != nullptr) {
        if (!t->sink->write(std::string_view(data, n))) {
            t->sinkFailed = true;
            return 0;
        }
        return n;
    }
    if (t->body != nullptr) {
        if (t->body->size() + n > MaxListing) {
            t->tooLarge = true;
            return 0;
        }
        t->body->append(data, n);
    }
    return n;
}

std::size_t onRead(char *buffer, std::size_t size, std::size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const std::size_t n = std::fread(buffer, size, count, t->source);
    if (n == 0 && std::ferror(t->source))
        return CURL_READFUNC_ABORT;
    return n;
}

int onProgress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    return t->abort != nullptr && t->abort->load() ? 1 : 0;
}

std::string reasonText(const FtpClient::Transfer &t, CURLcode code)
{
    std::string reason;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        reason = "the server's name could not be found";
        break;
    case CURLE_COULDNT_CONNECT:
        reason = "the server could not be reached";
        break;
    case CURLE_LOGIN_DENIED:
        reason = "the server refused the user name or password";
        break;
    case CURLE_OPERATION_TIMEDOUT:
        reason = "the server stopped answering, so the work was abandoned";
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        reason = "the work was cancelled";
        break;
    case CURLE_READ_ERROR:
        reason = "the file could not be read";
        break;
    case CURLE_WRITE_ERROR:
        if (t.sinkFailed && t.sink != nullptr)
            reason = t.sink->error().empty() ? "the file could not be written" : t.sink->error();
        else if (t.tooLarge)
            reason = "the listing is too large";
        else
            reason = "the data could not be stored";
        break;
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_QUOTE_ERROR:
        reason = "the server refused it";
        break;
    case CURLE_PARTIAL_FILE:
        reason = "the transfer ended before the whole file had arrived";
        break;
    default:
        reason = curl_easy_strerror(code);
        break;
    }
    if (!t.errorReply.empty())
        reason += " (the server said: " + t.errorReply + ")";
    return reason;
}

} // namespace

std::optional<HostPort> splitHostPort(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.size() >= 6 && equalsIgnoreCase(text.substr(0, 6), "ftp://"))
        text.remove_prefix(6);
    while (!text.empty() && text.back() == '/')
        text.remove_suffix(1);

    HostPort out;
    std::string_view portText;
    bool ipv6 = false;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        out.host = std::string(text.substr(1, close - 1));
        ipv6 = true;
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return std::nullopt;
            portText = rest.substr(1);
            if (portText.empty())
                return std::nullopt;
        }
    } else {
        const std::size_t first = text.find(':');
        if (first == std::string_view::npos) {
            out.host = std::string(text);
        } else if (text.find(':', first + 1) != std::string_view::npos) {
            out.host = std::string(text); // a bare IPv6 address
            ipv6 = true;
        } else {
            out.host = std::string(text.substr(0, first));
            portText = text.substr(first + 1);
            if (portText.empty())
                return std::nullopt;
        }
    }
    if (!validHost(out.host, ipv6))
        return std::nullopt;
    if (!portText.empty()) {
        if (portText.size() > 5)
            return std::nullopt;
        for (char c : portText)
            if (c < '0' || c > '9')
                return std::nullopt;
        out.port = leadingInt(portText);
        if (out.port < 1 || out.port > 65535)
            return std::nullopt;
    }
    return out;
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
    if (m_curl == nullptr)
        m_startError = "The FTP library could not be started.";
}

FtpClient::~FtpClient()
{
    if (m_curl != nullptr)
        curl_easy_cleanup(handle(m_curl));
}

std::string FtpClient::baseUrl() const
{
    const bool ipv6 = m_host.host.find(':') != std::string::npos;
    return "ftp://" + (ipv6 ? "[" + m_host.host + "]" : m_host.host) + ":"
        + std::to_string(m_host.port) + "/";
}

FtpOutcome FtpClient::perform(Transfer &t)
{
    if (!m_startError.empty())
        return { false, m_startError };
    CURL *curl = handle(m_curl);
    curl_easy_reset(curl);
    t.abort = &m_abort;

    curl_easy_setopt(curl, CURLOPT_URL, t.url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
#endif
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    // One connection at a time: a fresh login closes the one before it.
    curl_easy_setopt(curl, CURLOPT_MAXCONNECTS, 1L);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, t.fresh ? 1L : 0L);
    // The directory goes to the server in one CWD, as the user typed it.
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, m_limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_limits.stallSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_limits.stallSeconds);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &onReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    if (t.nobody)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (!t.customRequest.empty())
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, t.customRequest.c_str());
    curl_slist *quote = nullptr;
    for (const std::string &command : t.quote)
        quote = curl_slist_append(quote, command.c_str());
    if (quote != nullptr)
        curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
    if (t.source != nullptr) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, &onRead);
        curl_easy_setopt(curl, CURLOPT_READDATA, &t);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, t.sourceSize);
    }

    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_QUOTE, static_cast<curl_slist *>(nullptr));
    curl_slist_free_all(quote);
    if (code == CURLE_OK)
        return { true, {} };

    std::string reason = reasonText(t, code);
    // The password never leaves in a message, even if a server echoed it.
    if (!m_password.empty())
        replaceAll(m_password, "****", reason);
    return { false, reason };
}

FtpOutcome FtpClient::login(
    const std::string &host, const std::string &user, const std::string &password)
{
    m_loggedIn = false;
    m_mlsd = false;
    m_dirPath.clear();
    if (!m_startError.empty())
        return { false, m_startError };
    const std::optional<HostPort> hostPort = splitHostPort(host);
    if (!hostPort)
        return { false, "the host name is not valid" };
    m_host = *hostPort;
    m_user = user;
    m_password = password;

    Transfer t;
    t.url = baseUrl();
    t.nobody = true;
    t.fresh = true;
    // FEAT tells whether the server has MLSD; a server without FEAT is simply asked for LIST.
    t.quote = { "*FEAT", "*OPTS UTF8 ON" };
    FtpOutcome outcome = perform(t);
    if (!outcome.ok)
        return outcome;
    for (const std::string &line : splitLines(t.replies)) {
        if (line.size() > 1 && line[0] == ' ' && findText("MLST", line) == 2) {
            m_mlsd = true;
            break;
        }
    }
    m_loggedIn = true;
    return outcome;
}

FtpOutcome FtpClient::changeDirectory(const std::string &dir)
{
    if (!m_loggedIn)
        return { false, "not connected to a server" };
    if (dir.empty()) {
        m_dirPath.clear();
        return { true, {} };
    }
    Transfer t;
    const std::string path = encodeUrlPath(dir) + "/";
    t.url = baseUrl() + path;
    t.nobody = true;
    FtpOutcome outcome = perform(t);
    if (outcome.ok)
        m_dirPath = path;
    return outcome;
}

FtpOutcome FtpClient::list(std::vector<FtpEntry> &entries)
{
    entries.clear();
    if (!m_loggedIn)
        return { false, "not connected to a server" };
    std::string body;
    Transfer t;
    t.url = baseUrl() + m_dirPath;
    t.body = &body;
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
    entries = parseListing(body, m_mlsd, today);
    return outcome;
}

FtpOutcome FtpClient::upload(const std::string &localPath, const std::string &remoteName)
{
    if (!m_loggedIn)
        return { false, "not connected to a server" };
    if (remoteName.empty())
        return { false, "the file has no name" };
    struct stat info {
    };
    if (::stat(localPath.c_str(), &info) != 0)
        return { false, std::string("the file could not be read: ") + std::strerror(errno) };
    if (S_ISDIR(info.st_mode))
        return { false, "it is a folder, and only files can be sent" };
    // A FIFO or a device would keep the upload reading for ever.
    if (!S_ISREG(info.st_mode))
        return { false, notRegularText(info.st_mode) + ", and only files can be sent" };
    std::FILE *file = std::fopen(localPath.c_str(), "rb");
    if (file == nullptr)
        return { false, std::string("the file could not be read: ") + std::strerror(errno) };
    Transfer t;
    t.url = baseUrl() + m_dirPath + encodeUrlPath(remoteName);
    t.source = file;
    t.sourceSize = static_cast<curl_off_t>(info.st_size);
    FtpOutcome outcome = perform(t);
    std::fclose(file);
    return outcome;
}

FtpOutcome FtpClient::download(const std::string &remoteName, ByteSink &sink)
{
    if (!m_loggedIn)
        return { false, "not connected to a server" };
    Transfer t;
    t.url = baseUrl() + m_dirPath + encodeUrlPath(remoteName);
    t.sink = &sink;
    return perform(t);
}

} // namespace stv
