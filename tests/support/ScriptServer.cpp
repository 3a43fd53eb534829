#include "support/ScriptServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

namespace stv::test
{

namespace
{

constexpr const char *Python = "/usr/bin/python3";

std::string Script(const char *name)
{
    return std::string(STV_TEST_SUPPORT_DIR) + "/" + name;
}

std::vector<std::string> LogLines(const std::string &path, const std::string &marker)
{
    std::vector<std::string> out;
    std::istringstream in(ReadFileBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t at = line.find(marker);
        if (at != std::string::npos)
            out.push_back(line.substr(at + marker.size()));
    }
    return out;
}

} // namespace

std::string ReadFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ScriptServer::ScriptServer(const std::string &script, const std::vector<std::string> &args)
{
    std::vector<std::string> all = { Python, script };
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
        m_error = "no pipes";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const int rc = ::posix_spawn(&m_pid, Python, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    m_stdin = in[1];
    if (rc != 0) {
        m_pid = -1;
        ::close(out[0]);
        m_error = std::string("cannot run ") + Python;
        return;
    }
    std::string line;
    pollfd p { out[0], POLLIN, 0 };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (::poll(&p, 1, 200) > 0) {
            char buf[512];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0)
                break;
            line.append(buf, static_cast<std::size_t>(n));
        }
    }
    ::close(out[0]);
    std::istringstream words(line.substr(0, line.find('\n')));
    std::string key;
    std::string value;
    while (words >> key >> value)
        m_values[key] = value;
    if (port() <= 0)
        m_error = script + " did not start (see its messages above)";
}

ScriptServer::~ScriptServer()
{
    if (m_stdin >= 0)
        ::close(m_stdin); // the server ends when its input closes
    if (m_pid > 0) {
        int status = 0;
        for (int i = 0; i < 100 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (::waitpid(m_pid, &status, WNOHANG) == 0) {
            ::kill(m_pid, SIGTERM);
            for (int i = 0; i < 40 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (::waitpid(m_pid, &status, WNOHANG) == 0) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &status, 0);
            }
        }
    }
}

std::string ScriptServer::value(const std::string &key) const
{
    const auto it = m_values.find(key);
    return it == m_values.end() ? std::string() : it->second;
}

int ScriptServer::port() const
{
    return std::atoi(value("PORT").c_str());
}

HostileFtpServer::HostileFtpServer(const std::vector<std::string> &options)
    : ScriptServer(Script("hostile_ftp_server.py"), options)
{
}

FtpsTestServer::FtpsTestServer(const std::string &cert)
    : ScriptServer(Script("ftps_server.py"), { "--cert", cert })
{
}

std::vector<std::string> FtpsTestServer::commands() const
{
    // vsftpd logs: ... FTP command: Client "127.0.0.1", "STOR a.txt"
    std::vector<std::string> out;
    for (std::string line : LogLines(value("LOG"), "FTP command: Client \"127.0.0.1\", \"")) {
        if (!line.empty() && line.back() == '"')
            line.pop_back();
        out.push_back(line);
    }
    return out;
}

SftpTestServer::SftpTestServer(const std::vector<std::string> &options)
    : ScriptServer(Script("sftp_server.py"), options)
{
}

std::vector<std::string> SftpTestServer::requests() const
{
    // sftp-server -e -l INFO writes lines such as: open "/x/a" flags WRITE,CREATE,TRUNCATE ...
    return LogLines(value("LOG"), "");
}

ScopedEnv::ScopedEnv(const char *name, const std::string &value)
    : m_name(name)
{
    if (const char *old = std::getenv(name)) {
        m_had = true;
        m_old = old;
    }
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (m_had)
        ::setenv(m_name.c_str(), m_old.c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
}

} // namespace stv::test
