#include "support/FtpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace stv::test
{

namespace
{

int BoundSocket(int &port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

} // namespace

FtpTestServer::FtpTestServer(const ServerOptions &options)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "stv-ftp-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        m_error = "no temporary folder";
        return;
    }
    m_root = pattern;
    m_home = m_root + "/home";
    m_scratch = m_root + "/local";
    m_log = m_root + "/commands.log";
    std::filesystem::create_directories(m_home);
    std::filesystem::create_directories(m_scratch);

    std::vector<std::string> args = { STV_FTP_SERVER_SCRIPT, "--user", User, "--password", password,
        "--home", m_home, "--log", m_log };
    if (options.noMlsd)
        args.push_back("--no-mlsd");
    if (options.noRename)
        args.push_back("--no-rename");
    if (options.dropUploadAfter >= 0) {
        args.push_back("--drop-upload-after");
        args.push_back(std::to_string(options.dropUploadAfter));
        if (options.dropControl)
            args.push_back("--drop-control");
    }
    for (const std::string &name : options.refuse) {
        args.push_back("--refuse");
        args.push_back(name);
    }
    m_script = startPythonScript(args, 20);
    if (!m_script.error.empty()) {
        m_error = m_script.error;
        return;
    }
    const std::string &line = m_script.readyLine; // "PORT n"
    if (line.rfind("PORT ", 0) == 0)
        m_port = std::atoi(line.c_str() + 5);
    if (m_port <= 0)
        m_error = "the FTP server did not start (is python3-pyftpdlib installed?)";
}

FtpTestServer::~FtpTestServer()
{
    stopPythonScript(m_script);
    if (!m_root.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
}

std::vector<std::string> FtpTestServer::commands() const
{
    std::vector<std::string> out;
    std::ifstream in(m_log);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

void FtpTestServer::clearCommands()
{
    std::ofstream(m_log, std::ios::trunc);
}

void FtpTestServer::writeFile(const std::string &relative, const std::string &bytes) const
{
    std::ofstream(m_home + "/" + relative, std::ios::binary) << bytes;
}

void FtpTestServer::makeFolder(const std::string &relative) const
{
    std::filesystem::create_directories(m_home + "/" + relative);
}

std::string FtpTestServer::readFile(const std::string &relative) const
{
    std::ifstream in(m_home + "/" + relative, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void FtpTestServer::setTime(const std::string &relative, int year, int month, int day, int hour,
    int minute, int second) const
{
    std::tm parts {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    // The server reports times in UTC.
    const timespec when { ::timegm(&parts), 0 };
    const timespec times[2] = { when, when };
    ::utimensat(AT_FDCWD, (m_home + "/" + relative).c_str(), times, 0);
}

int ClosedPort()
{
    int port = 0;
    ::close(BoundSocket(port));
    return port;
}

SilentServer::SilentServer()
{
    m_fd = BoundSocket(m_port);
    ::listen(m_fd, 16);
}

SilentServer::~SilentServer()
{
    ::close(m_fd);
}

} // namespace stv::test
