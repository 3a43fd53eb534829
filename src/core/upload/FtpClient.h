#pragma once
// The upload client on libcurl: plain FTP, FTP with TLS required for log-in and data (the
// user's "ftps://", AUTH TLS on the normal port) and SFTP. One easy handle, and so one
// connection, is kept for log-in, change of directory, listing, uploads and downloads.
// Every call blocks until it is done, a time limit ends it or cancel() is called from another
// thread, so callers run it off the window's thread. Credentials go to curl as options,
// never inside a URL, and no error text carries them.

#include "core/upload/FtpListing.h"
#include "core/upload/RemoteAddress.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

class ByteSink;

struct FtpLimits {
    long connectSeconds = 20; // reaching the server and logging in
    // A transfer that moves fewer than stallBytes in stallSeconds is abandoned; so is a reply
    // that does not come within stallSeconds.
    long stallSeconds = 30;
    long stallBytes = 1024;
    long listingSeconds = 120; // a listing ends after this long, however it goes
    // Every other request (log-in, upload, download, the publish record) ends once it has run
    // longer than transferSeconds plus a second for each averageBytes it moved: a server that
    // drips a file just fast enough to pass the stall check cannot keep it going for hours,
    // while a slow link that keeps moving finishes.
    long transferSeconds = 120;
    long averageBytes = 4096;
};

enum class FtpProblem {
    None,
    Failed, // anything else: the text says what
    Cancelled,
    TimedOut, // the server stopped answering or sent too slowly
    NotFound, // the file to fetch is not there
    Security, // a certificate refused, or a server that will not encrypt
    UnknownHostKey, // hostKey() holds the server's key
    ChangedHostKey, // known_hosts has another key for this server; hostKey() holds the new one
};

struct FtpOutcome {
    bool ok = false;
    std::string error; // why it failed, for the user; empty on success
    FtpProblem problem = FtpProblem::None;
    std::string note; // on success: something the user should know (a listing cut short)

    static FtpOutcome success() { return { true, {}, FtpProblem::None, {} }; }
    static FtpOutcome fail(std::string error, FtpProblem problem = FtpProblem::Failed)
    {
        return { false, std::move(error), problem, {} };
    }
};

// An SSH server's host key.
struct HostKey {
    std::string type; // "ssh-ed25519", "ecdsa-sha2-nistp256", "ssh-rsa" ...
    std::string base64; // the key as known_hosts writes it
    std::string fingerprint; // "SHA256:..." as OpenSSH shows it
};
// The known_hosts line for this server and key ("[host]:port type key" off port 22).
std::string knownHostsLine(const RemoteAddress &address, const HostKey &key);
// The user's ~/.ssh folder (from HOME).
std::string sshFolder();

// A path for the URL: every byte but letters, digits and "-._~" written as %XX, so a name can
// neither leave its place in the URL nor carry line breaks to the server.
std::string encodeUrlPath(std::string_view bytes);

// Called while a file is sent with the number of its bytes sent so far.
using SendProgress = std::function<void(long long sent)>;

class FtpClient
{
public:
    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient &) = delete;
    FtpClient &operator=(const FtpClient &) = delete;

    // Non-empty when the library could not be started; every call then fails with it.
    const std::string &startError() const { return m_startError; }
    void setLimits(const FtpLimits &limits) { m_limits = limits; }
    const FtpLimits &limits() const { return m_limits; }

    // Opens a fresh connection to the Host Name field's server and logs in; afterwards the
    // connection stands in the login directory. Over SFTP an empty password logs in with the
    // SSH agent or the first of ~/.ssh/id_ed25519, id_ecdsa and id_rsa.
    FtpOutcome login(const std::string &host, const std::string &user, const std::string &password);
    const RemoteAddress &address() const { return m_address; }
    // Changes to `dir` as typed (relative to the login directory, or absolute). An empty name
    // stays in the login directory. On failure the current directory is kept.
    FtpOutcome changeDirectory(const std::string &dir);
    // Makes the folder `dir` (as for changeDirectory) and the folders on its way that are not
    // there; the current directory stays as it was.
    FtpOutcome makeDirectory(const std::string &dir);
    // The server's path of the current directory as far as it can be told: the folder the
    // login left the connection in, with the directory changed to after it.
    std::string currentFolder() const;
    // The entries of the current directory (see MaxListingEntries; outcome.note says when
    // the listing was cut).
    FtpOutcome list(std::vector<FtpEntry> &entries);
    // Sends a local file into the current directory under remoteName; with sha256, also
    // gives the SHA-256 of the bytes that were sent.
    FtpOutcome upload(const std::string &localPath, const std::string &remoteName,
        const SendProgress &progress = {}, std::string *sha256 = nullptr);
    // Sends bytes held in memory (a small text) under remoteName.
    FtpOutcome uploadText(const std::string &bytes, const std::string &remoteName);
    // Fetches remoteName from the current directory into sink; more than maxBytes (when not
    // negative) is a failure.
    FtpOutcome download(const std::string &remoteName, ByteSink &sink, long long maxBytes = -1);
    // Renames a file of the current directory over `to`, replacing it.
    FtpOutcome rename(const std::string &from, const std::string &to);
    // Deletes a file of the current directory; a file that is not there is no failure.
    FtpOutcome remove(const std::string &name);

    // The key an SSH server offered when the last call failed with UnknownHostKey or
    // ChangedHostKey.
    const std::optional<HostKey> &offeredHostKey() const { return m_offeredKey; }
    // Accepts the offered unknown key for this client's connections; with remember, also
    // adds it to ~/.ssh/known_hosts. Then log in again.
    FtpOutcome trustOfferedHostKey(bool remember);

    bool usesMlsd() const { return m_mlsd; }
    // Makes the next clients fail to start, as when the library cannot be initialised (tests).
    static void simulateStartFailure(bool fail);

    // May be called from any thread: the running call ends within about a second with
    // FtpProblem::Cancelled, and so does every later one until clearCancel().
    void cancel() { m_cancel = true; }
    void clearCancel() { m_cancel = false; }
    bool cancelRequested() const { return m_cancel; }

    struct Transfer; // one request's settings and results, for the implementation
    using CurlResult = int; // CURLcode

private:
    FtpOutcome perform(Transfer &transfer);
    void setProtocolOptions(Transfer &transfer);
    FtpOutcome failure(Transfer &transfer, int code);
    std::string baseUrl() const;
    std::string remotePath(const std::string &name) const; // for SFTP quote commands

    CurlResult runTransfer(); // drives the handle through the multi handle
    void *m_curl = nullptr; // CURL*
    void *m_multi = nullptr; // CURLM*: the connection stays in its cache between requests
    std::string m_startError;
    FtpLimits m_limits;
    RemoteAddress m_address;
    std::string m_user;
    std::string m_password;
    bool m_loggedIn = false;
    bool m_mlsd = false;
    std::string m_dirPath; // encoded path of the current directory, "" or ending in "/"
    std::string m_rawDir; // the same, as the server reads it in SFTP commands
    std::string m_entryPath; // the login folder as the server named it, or empty
    std::string m_pinnedKey; // SFTP: base64 SHA-256 of a key trusted for this client
    std::optional<HostKey> m_offeredKey;
    std::atomic<bool> m_cancel { false };
};

} // namespace stv
