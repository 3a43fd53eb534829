// FtpClient's requests: the libcurl options of each protocol, the callbacks that keep
// replies, data, progress and cancelling, the checks of certificates and SSH host keys, and
// the texts of failures.
#include "core/upload/FtpTransfer.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"
#include "core/upload/Digest.h"

#include <curl/curl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace stv
{

namespace
{

CURL *handle(void *p)
{
    return static_cast<CURL *>(p);
}

// The certificate check's codes (OpenSSL's X509_V_ERR_*) that mean an unknown authority.
constexpr long CertNotYetValid = 9;
constexpr long CertExpired = 10;
constexpr long CertSelfSigned = 18;
constexpr long CertSelfSignedInChain = 19;
constexpr long CertNoLocalIssuer = 20;
constexpr long CertCannotVerifyLeaf = 21;

std::size_t onReply(char *data, std::size_t size, std::size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const std::size_t n = size * count;
    std::string_view line(data, n);
    if (t->replies.size() + n <= MaxReplyLog)
        t->replies.append(line);
    // The last line of a reply is "NNN text"; remember the last refusal.
    if (line.size() >= 4 && line[3] == ' ' && line[0] >= '4' && line[0] <= '5') {
        t->errorReply = serverText(line);
        t->errorCode = leadingInt(line.substr(0, 3));
    }
    return n;
}

std::size_t onData(char *data, std::size_t size, std::size_t count, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    const std::size_t n = size * count;
    t->received += static_cast<long long>(n);
    if (t->sink != nullptr) {
        if (t->maxBytes >= 0 && t->received > t->maxBytes) {
            t->tooLarge = true;
            return 0;
        }
        if (!t->sink->write(std::string_view(data, n))) {
            t->sinkFailed = true;
            return 0;
        }
        return n;
    }
    if (t->body != nullptr) {
        // A listing stops once it holds more lines than are ever shown, or too many bytes;
        // what arrived so far is shown with a note.
        t->lines += static_cast<std::size_t>(std::count(data, data + n, '\n'));
        if (t->body->size() + n > MaxListingBytes || t->lines > MaxListingEntries + 16) {
            t->listingCut = true;
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
    if (t->sentDigest != nullptr)
        t->sentDigest->add(buffer, n * size);
    return n;
}

int onProgress(void *user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    if (t->cancel != nullptr && t->cancel->load())
        return 1;
    if (t->totalSeconds > 0) {
        const auto moved = static_cast<long long>(received + sent);
        const auto allowed = std::chrono::seconds(t->totalSeconds)
            + std::chrono::seconds(moved / std::max(1L, t->averageBytes));
        if (std::chrono::steady_clock::now() - t->started > allowed) {
            t->overTime = true;
            return 1;
        }
    }
    if (t->progress != nullptr && *t->progress && t->source != nullptr)
        (*t->progress)(static_cast<long long>(sent));
    return 0;
}

// The extra authority named by SSL_CERT_FILE, trusted beside the system's store (libcurl
// reads the system's store into the same place after this).
CURLcode addExtraAuthority(CURL *, void *sslContext, void *)
{
    const char *extra = std::getenv("SSL_CERT_FILE");
    if (extra == nullptr || *extra == '\0')
        return CURLE_OK;
    X509_STORE *store = SSL_CTX_get_cert_store(static_cast<SSL_CTX *>(sslContext));
    // A file that cannot be read adds nothing; the check then says what is not trusted.
    if (X509_STORE_load_file(store, extra) != 1)
        ERR_clear_error();
    return CURLE_OK;
}

// The type name at the start of an SSH public key blob (a 4-byte length, then the name).
std::string keyTypeOf(std::string_view blob)
{
    if (blob.size() < 4)
        return {};
    const auto *b = reinterpret_cast<const unsigned char *>(blob.data());
    const std::size_t length = (std::size_t(b[0]) << 24) | (std::size_t(b[1]) << 16)
        | (std::size_t(b[2]) << 8) | std::size_t(b[3]);
    if (length == 0 || length > 64 || blob.size() < 4 + length)
        return {};
    return std::string(blob.substr(4, length));
}

int onHostKey(CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match, void *user)
{
    auto *t = static_cast<FtpClient::Transfer *>(user);
    if (match == CURLKHMATCH_OK)
        return CURLKHSTAT_FINE;
    if (found != nullptr && found->key != nullptr) {
        const std::string raw
            = found->len > 0 ? std::string(found->key, found->len) : fromBase64(found->key);
        HostKey key;
        key.type = keyTypeOf(raw);
        key.base64 = base64(raw);
        key.fingerprint = sshFingerprint(raw);
        t->hostKey = key;
    }
    t->hostKeyChanged = match == CURLKHMATCH_MISMATCH;
    // Never CURLKHSTAT_DEFER (libcurl would ask again for ever) and never the statuses that
    // make libcurl rewrite known_hosts: the caller asks the user and comes back.
    return CURLKHSTAT_REJECT;
}

std::string homeFolder()
{
    const char *home = std::getenv("HOME");
    return home != nullptr ? std::string(home) : std::string();
}

// The first of the default key files that exists, empty when there is none.
std::string defaultKeyFile()
{
    for (const char *name : { "id_ed25519", "id_ecdsa", "id_rsa" }) {
        const std::string path = sshFolder() + "/" + name;
        if (fileExists(path))
            return path;
    }
    return {};
}

void trustSystemAndExtraAuthorities(CURL *curl)
{
    // The system's store as a folder of hashed names (Debian's /etc/ssl/certs): a handshake
    // then reads only the authority it needs, where the whole bundle file would cost a tenth
    // of a second on every data connection of FTPS. The extra file comes on top of it.
    static const std::string systemFolder = [curl] {
        const char *path = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CAPATH, &path);
        return path != nullptr && folderExists(path) ? std::string(path) : std::string();
    }();
    const char *extra = std::getenv("SSL_CERT_FILE");
    const bool hasExtra = extra != nullptr && *extra != '\0';
    if (!systemFolder.empty()) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, hasExtra ? extra : nullptr);
        return;
    }
    if (!hasExtra)
        return; // libcurl's own bundle
    if (curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &addExtraAuthority) != CURLE_OK)
        curl_easy_setopt(curl, CURLOPT_CAINFO, extra); // another TLS library
}

} // namespace

std::string sshFolder()
{
    return homeFolder() + "/.ssh";
}

void FtpClient::setProtocolOptions(Transfer &t)
{
    CURL *curl = handle(m_curl);
    if (m_address.protocol == Protocol::Sftp) {
#if LIBCURL_VERSION_NUM >= 0x075500
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "sftp");
#endif
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.c_str());
        if (!m_password.empty()) {
            curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                static_cast<long>(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        } else {
            // libcurl would look for id_rsa and id_dsa only: name the key file.
            const std::string key = defaultKeyFile();
            long types = CURLSSH_AUTH_AGENT;
            if (!key.empty()) {
                types |= CURLSSH_AUTH_PUBLICKEY;
                curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key.c_str());
                const std::string pub = key + ".pub";
                curl_easy_setopt(
                    curl, CURLOPT_SSH_PUBLIC_KEYFILE, fileExists(pub) ? pub.c_str() : "");
            }
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, types);
        }
        if (!m_pinnedKey.empty()) {
            curl_easy_setopt(curl, CURLOPT_SSH_HOST_PUBLIC_KEY_SHA256, m_pinnedKey.c_str());
        } else {
            const std::string knownHosts = sshFolder() + "/known_hosts";
            curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, knownHosts.c_str());
            curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &onHostKey);
            curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, &t);
        }
        return;
    }
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
#endif
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
    // The directory goes to the server in one CWD, as the user typed it.
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_limits.stallSeconds);
    if (m_address.protocol == Protocol::Ftps) {
        // The user's ftps:// is TLS asked for on the normal port; libcurl's ftps:// would
        // be TLS from the first byte. Control and data must both be encrypted, or nothing
        // is sent at all.
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        // Servers that demand the data connections resume the control connection's TLS
        // session (vsftpd's default) refuse some of them under TLS 1.3, whose session
        // tickets may come after a short transfer has ended; TLS 1.2 resumes every time.
        curl_easy_setopt(curl, CURLOPT_SSLVERSION,
            static_cast<long>(CURL_SSLVERSION_TLSv1_2)
                | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
        trustSystemAndExtraAuthorities(curl);
    }
}

FtpOutcome FtpClient::perform(Transfer &t)
{
    if (!m_startError.empty())
        return FtpOutcome::fail(m_startError, FtpProblem::Failed);
    if (m_cancel)
        return FtpOutcome::fail("the work was cancelled", FtpProblem::Cancelled);
    CURL *curl = handle(m_curl);
    curl_easy_reset(curl);
    t.cancel = &m_cancel;

    curl_easy_setopt(curl, CURLOPT_URL, t.url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, t.errorText);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
    // Ending a handle never waits for a name lookup that is still running.
    curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);
#endif
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, t.fresh ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, m_limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, m_limits.stallBytes);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_limits.stallSeconds);
    if (t.listing) {
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, m_limits.listingSeconds);
    } else {
        t.started = std::chrono::steady_clock::now();
        t.totalSeconds = m_limits.transferSeconds;
        t.averageBytes = m_limits.averageBytes;
    }
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &onReply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    setProtocolOptions(t);
    if (t.nobody)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (!t.customRequest.empty())
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, t.customRequest.c_str());
    curl_slist *quote = nullptr;
    for (const std::string &command : t.quote)
        quote = curl_slist_append(quote, command.c_str());
    if (quote != nullptr)
        curl_easy_setopt(curl, CURLOPT_QUOTE, quote);
    curl_slist *postQuote = nullptr;
    for (const std::string &command : t.postQuote)
        postQuote = curl_slist_append(postQuote, command.c_str());
    if (postQuote != nullptr)
        curl_easy_setopt(curl, CURLOPT_POSTQUOTE, postQuote);
    if (t.source != nullptr) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, &onRead);
        curl_easy_setopt(curl, CURLOPT_READDATA, &t);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(t.sourceSize));
        // Larger pieces than the default 64 KB: fewer trips through the callbacks.
        curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024L);
    }

    const auto code = static_cast<CURLcode>(runTransfer());
    curl_easy_getinfo(curl, CURLINFO_SSL_VERIFYRESULT, &t.verifyResult);
    curl_easy_setopt(curl, CURLOPT_QUOTE, static_cast<curl_slist *>(nullptr));
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, static_cast<curl_slist *>(nullptr));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, static_cast<char *>(nullptr));
    curl_slist_free_all(quote);
    curl_slist_free_all(postQuote);
    if (code == CURLE_OK || (t.listingCut && code == CURLE_WRITE_ERROR && !m_cancel))
        return FtpOutcome::success();
    return failure(t, code);
}

FtpClient::CurlResult FtpClient::runTransfer()
{
    // The multi interface, woken at least every 50 ms: a cancel is seen at once whatever
    // the transfer waits for, and no step waits for a timer of libcurl's own (7.88 lets the
    // data connection of FTP wait up to a second that way).
    CURL *curl = handle(m_curl);
    auto *multi = static_cast<CURLM *>(m_multi);
    if (curl_multi_add_handle(multi, curl) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode code = CURLE_OK;
    int running = 1;
    for (;;) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0)
            break;
        if (m_cancel) {
            code = CURLE_ABORTED_BY_CALLBACK; // removing the handle ends the transfer
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 50, nullptr);
    }
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == curl && running == 0)
            code = message->data.result;
    curl_multi_remove_handle(multi, curl);
    return code;
}

FtpOutcome FtpClient::failure(Transfer &t, int result)
{
    const auto code = static_cast<CURLcode>(result);
    const std::string host = m_address.host;
    const std::string curlText = serverText(t.errorText);
    FtpProblem problem = FtpProblem::Failed;
    std::string reason;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        reason = "the server's name could not be found";
        break;
    case CURLE_COULDNT_CONNECT:
        reason = "the server could not be reached";
        break;
    case CURLE_LOGIN_DENIED:
        reason = m_address.protocol == Protocol::Sftp && m_password.empty()
            ? "the server accepted none of your SSH keys (the SSH agent, ~/.ssh/id_ed25519, "
              "id_ecdsa or id_rsa)"
            : "the server refused the user name or password";
        break;
    case CURLE_OPERATION_TIMEDOUT:
        problem = FtpProblem::TimedOut;
        if (findText("too slow", curlText) != 0)
            reason = "the transfer was too slow (less than " + intText(m_limits.stallBytes)
                + " bytes in " + intText(m_limits.stallSeconds) + " seconds), so it was abandoned";
        else if (t.listing && t.received > 0)
            reason = "the listing took longer than " + intText(m_limits.listingSeconds)
                + " seconds, so it was abandoned";
        else
            reason = "the server stopped answering, so the work was abandoned";
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        if (t.overTime && !m_cancel) {
            problem = FtpProblem::TimedOut;
            reason = "the transfer took too long (more than " + intText(m_limits.transferSeconds)
                + " seconds and a second for each " + intText(m_limits.averageBytes)
                + " bytes), so it was abandoned";
            break;
        }
        reason = "the work was cancelled";
        problem = FtpProblem::Cancelled;
        break;
    case CURLE_READ_ERROR:
        reason = "the file could not be read";
        break;
    case CURLE_WRITE_ERROR:
        if (t.sinkFailed && t.sink != nullptr)
            reason = t.sink->error().empty() ? "the file could not be written" : t.sink->error();
        else if (t.tooLarge)
            reason = "the file is too large";
        else
            reason = "the data could not be stored";
        break;
    case CURLE_USE_SSL_FAILED:
        reason = "the server does not offer encryption (AUTH TLS), so nothing was sent";
        problem = FtpProblem::Security;
        break;
    case CURLE_SSL_CONNECT_ERROR:
        reason = "the secure connection could not be set up (" + curlText + ")";
        problem = FtpProblem::Security;
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
        problem = FtpProblem::Security;
        if (m_address.protocol == Protocol::Sftp) {
            m_offeredKey = t.hostKey;
            const std::string print = t.hostKey ? " (" + t.hostKey->fingerprint + ")" : "";
            if (t.hostKeyChanged || findText("mismatch", curlText) != 0) {
                problem = FtpProblem::ChangedHostKey;
                reason = "WARNING: the SSH host key of " + host + " has changed" + print
                    + ". Someone may be listening in, or the server was set up again; nothing "
                      "was sent. If the change is expected, remove the old key of "
                    + host + " from ~/.ssh/known_hosts";
            } else {
                problem = FtpProblem::UnknownHostKey;
                reason = "the SSH host key of " + host + " is not known" + print;
            }
        } else if (t.verifyResult == CertExpired) {
            reason = "the certificate of " + host + " has expired";
        } else if (t.verifyResult == CertNotYetValid) {
            reason = "the certificate of " + host + " is not valid yet";
        } else if (t.verifyResult == CertSelfSigned || t.verifyResult == CertSelfSignedInChain
            || t.verifyResult == CertNoLocalIssuer || t.verifyResult == CertCannotVerifyLeaf) {
            reason = "the certificate of " + host
                + " is not signed by an authority this computer trusts";
        } else if (findText("subject name", curlText) != 0) {
            reason = "the certificate of " + host + " was made for another host name";
        } else {
            reason = "the certificate of " + host + " could not be verified (" + curlText + ")";
        }
        break;
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        if (t.sink != nullptr && (t.errorCode == 550 || code == CURLE_REMOTE_FILE_NOT_FOUND))
            problem = FtpProblem::NotFound;
        [[fallthrough]];
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_QUOTE_ERROR:
        reason = "the server refused it";
        if (m_address.protocol == Protocol::Sftp && !curlText.empty())
            reason += " (" + curlText + ")";
        break;
    case CURLE_PARTIAL_FILE:
        reason = "the transfer ended before the whole file had arrived";
        break;
    default:
        reason = curl_easy_strerror(code);
        break;
    }
    if (!t.errorReply.empty() && problem != FtpProblem::Cancelled)
        reason += " (the server said: " + t.errorReply + ")";
    // The password never leaves in a message, even if a server echoed it (a password of a
    // letter or three would only garble the words around it).
    if (m_password.size() >= 4)
        replaceAll(m_password, "****", reason);
    return FtpOutcome::fail(reason, problem);
}

} // namespace stv
