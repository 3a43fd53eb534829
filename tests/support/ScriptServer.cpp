#include "support/ScriptServer.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace stv::test
{

namespace
{

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
    std::vector<std::string> all = { script };
    all.insert(all.end(), args.begin(), args.end());
    m_script = startPythonScript(all, 30);
    if (!m_script.error.empty()) {
        m_error = m_script.error;
        return;
    }
    std::istringstream words(m_script.readyLine);
    std::string key;
    std::string value;
    while (words >> key >> value)
        m_values[key] = value;
    if (port() <= 0)
        m_error = script + " did not start (see its messages above)";
}

ScriptServer::~ScriptServer()
{
    stopPythonScript(m_script);
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

LinkTestServer::LinkTestServer(const std::string &log)
    : ScriptServer(Script("link_server.py"), { "--log", log })
    , m_log(log)
{
}

std::vector<std::string> LinkTestServer::LogLines(const std::string &path)
{
    return stv::test::LogLines(path, "");
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
