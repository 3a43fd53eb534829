#pragma once
// FTP over libcurl: one easy handle, and so one control connection, kept for login, change of
// directory, listing, uploads and downloads. Passive mode. Every call blocks until it is done
// or a time limit ends it, so callers run it off the window's thread. Credentials go to curl
// as options, never inside a URL, and no error text carries them.

#include "core/upload/FtpListing.h"

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

class ByteSink;

struct FtpLimits {
    long connectSeconds = 20; // reaching the server and logging in
    long stallSeconds = 60; // a transfer or a reply that makes no progress this long is abandoned
};

struct FtpOutcome {
    bool ok = false;
    std::string error; // why it failed, for the user; empty on success
};

// "name", "name:port", "[v6]" or "[v6]:port", optionally with "ftp://" before and "/" after.
struct HostPort {
    std::string host; // IPv6 addresses without brackets
    int port = 21;
};
std::optional<HostPort> splitHostPort(std::string_view text);

// A path for the URL: every byte but letters, digits and "-._~" written as %XX, so a name can
// neither leave its place in the URL nor carry line breaks to the server.
std::string encodeUrlPath(std::string_view bytes);

class FtpClient
{
public:
    FtpClient();
    ~FtpClient();
    FtpClient(const FtpClient &) = delete;
    FtpClient &operator=(const FtpClient &) = delete;

    // Non-empty when the FTP library could not be started; every call then fails with it.
    const std::string &startError() const { return m_startError; }
    void setLimits(const FtpLimits &limits) { m_limits = limits; }
    const FtpLimits &limits() const { return m_limits; }

    // Opens a fresh connection and logs in; afterwards the connection stands in the login
    // directory. Learns whether the server lists with MLSD.
    FtpOutcome login(const std::string &host, const std::string &user, const std::string &password);
    // Changes to `dir` as typed (relative to the login directory, or absolute). An empty name
    // stays in the login directory. On failure the current directory is kept.
    FtpOutcome changeDirectory(const std::string &dir);
    // The entries of the current directory.
    FtpOutcome list(std::vector<FtpEntry> &entries);
    // Sends a local file into the current directory under remoteName.
    FtpOutcome upload(const std::string &localPath, const std::string &remoteName);
    // Fetches remoteName from the current directory into sink.
    FtpOutcome download(const std::string &remoteName, ByteSink &sink);

    bool usesMlsd() const { return m_mlsd; }
    // Makes the next clients fail to start, as when the library cannot be initialised (tests).
    static void simulateStartFailure(bool fail);
    // May be called from any thread: the running call ends soon with an error.
    void abort() { m_abort = true; }

    struct Transfer; // one request's settings and results, for the implementation

private:
    FtpOutcome perform(Transfer &transfer);
    std::string baseUrl() const;

    void *m_curl = nullptr; // CURL*
    std::string m_startError;
    FtpLimits m_limits;
    HostPort m_host;
    std::string m_user;
    std::string m_password;
    bool m_loggedIn = false;
    bool m_mlsd = false;
    std::string m_dirPath; // encoded path of the current directory, "" or ending in "/"
    std::atomic<bool> m_abort { false };
};

} // namespace stv
