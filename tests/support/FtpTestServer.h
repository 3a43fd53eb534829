#pragma once
// Starts the test FTP server (ftp_server.py under Debian's own Python, with pyftpdlib) on a
// free port of 127.0.0.1 with a home folder in a fresh temporary directory, and stops it when
// destroyed. Plain C++ so the logic tests and the window tests can both use it.

#include "support/PythonScript.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace stv::test
{

struct ServerOptions {
    bool noMlsd = false; // LIST only
    std::vector<std::string> refuse; // file names whose uploads are refused
    // Once an upload has sent this many bytes its data connection is dropped and the server
    // answers 426; with dropControl the control connection goes too, without an answer.
    long dropUploadAfter = -1;
    bool dropControl = false;
    bool noRename = false; // every RNFR is refused
};

class FtpTestServer
{
public:
    static constexpr const char *User = "tester";
    static constexpr const char *password = "s3cret-Pw";

    explicit FtpTestServer(const ServerOptions &options = {});
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer &) = delete;
    FtpTestServer &operator=(const FtpTestServer &) = delete;

    // Empty when the server runs; otherwise why it could not be started.
    const std::string &startError() const { return m_error; }
    int port() const { return m_port; }
    std::string host() const { return "127.0.0.1:" + std::to_string(m_port); }
    const std::string &home() const { return m_home; }
    // A folder for local files of the test, outside the server's home.
    const std::string &scratch() const { return m_scratch; }

    // The commands the server received so far, one per line.
    std::vector<std::string> commands() const;
    void clearCommands();

    // Helpers for the files in the home folder.
    void writeFile(const std::string &relative, const std::string &bytes) const;
    void makeFolder(const std::string &relative) const;
    std::string readFile(const std::string &relative) const;
    void setTime(const std::string &relative, int year, int month, int day, int hour, int minute,
        int second) const;

private:
    std::string m_root;
    std::string m_home;
    std::string m_scratch;
    std::string m_log;
    std::string m_error;
    int m_port = 0;
    PythonScript m_script;
};

// A port on 127.0.0.1 where nothing listens (bound, then closed).
int ClosedPort();

// Listens on 127.0.0.1 and accepts connections but never says a word.
class SilentServer
{
public:
    SilentServer();
    ~SilentServer();
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

} // namespace stv::test
