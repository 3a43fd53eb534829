#pragma once
// A test server written in Python (tests/support/*.py), run under Debian's /usr/bin/python3
// with its standard input a pipe: it prints one line "KEY value KEY value ..." once it
// listens on 127.0.0.1 and stops when its input closes, which the destructor does.

#include "support/PythonScript.h"

#include <map>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace stv::test
{

class ScriptServer
{
public:
    ScriptServer(const std::string &script, const std::vector<std::string> &args);
    ~ScriptServer();
    ScriptServer(const ScriptServer &) = delete;
    ScriptServer &operator=(const ScriptServer &) = delete;

    // Empty when the server runs; otherwise why it could not be started.
    const std::string &startError() const { return m_error; }
    // A value of the ready line ("PORT", "ROOT" ...), empty when it has none.
    std::string value(const std::string &key) const;
    int port() const;

private:
    std::map<std::string, std::string> m_values;
    std::string m_error;
    PythonScript m_script;
};

// Reads a whole file; empty when it cannot.
std::string ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::string &bytes);

// A hostile FTP server (hostile_ftp_server.py); see the script for the options.
class HostileFtpServer : public ScriptServer
{
public:
    explicit HostileFtpServer(const std::vector<std::string> &options);
    std::string host() const { return "127.0.0.1:" + std::to_string(port()); }
};

// vsftpd chroots its anonymous sessions, so its test server runs for root only.
inline bool CanRunVsftpd()
{
    return ::geteuid() == 0;
}
inline constexpr const char *VsftpdNeedsRoot = "the FTPS test server (vsftpd) needs root";

// vsftpd with TLS required (ftps_server.py): anonymous log-in, files go into "upload".
class FtpsTestServer : public ScriptServer
{
public:
    explicit FtpsTestServer(const std::string &cert = "valid");
    std::string host() const { return "ftps://127.0.0.1:" + std::to_string(port()); }
    static constexpr const char *User = "anonymous";
    static constexpr const char *Password = "tester@example.com";
    std::string ca() const { return value("CA"); }
    // The FTP folder writable by the client, and the commands the server received.
    std::string folder() const { return value("ROOT") + "/upload"; }
    std::vector<std::string> commands() const;
};

// sshd with SFTP (sftp_server.py); run the client with HOME set to home().
class SftpTestServer : public ScriptServer
{
public:
    explicit SftpTestServer(const std::vector<std::string> &options = {});
    std::string host() const { return "sftp://127.0.0.1:" + std::to_string(port()); }
    std::string user() const { return value("USER"); }
    std::string home() const { return value("HOME"); }
    std::string folder() const { return value("ROOT"); }
    std::string fingerprint() const { return value("FINGERPRINT"); }
    // With --request-log: the SFTP requests the server received ("open", "rename" ...).
    std::vector<std::string> requests() const;
};

// A web server for the link check (link_server.py): see the script for its paths.
class LinkTestServer : public ScriptServer
{
public:
    explicit LinkTestServer(const std::string &log);
    std::string url(const std::string &path) const
    {
        return "http://127.0.0.1:" + std::to_string(port()) + path;
    }
    // The requests it answered: "METHOD PATH N MS", N the requests under way at the time, MS
    // when it came in.
    std::vector<std::string> requests() const { return LogLines(m_log); }

private:
    static std::vector<std::string> LogLines(const std::string &path);
    std::string m_log;
};

// Sets an environment variable for a scope and puts the old value back after it.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const std::string &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

} // namespace stv::test
