#pragma once
// What the Host Name field names: the protocol, the host and the port. A bare host is plain
// FTP; "ftp://", "ftps://" (FTP with TLS asked for by AUTH TLS on the normal port) and
// "sftp://" choose the protocol, and ":port" the port.

#include <optional>
#include <string>
#include <string_view>

namespace stv
{

enum class Protocol { Ftp, Ftps, Sftp };

struct RemoteAddress {
    Protocol protocol = Protocol::Ftp;
    std::string host; // IPv6 addresses without brackets
    int port = 21;
    bool operator==(const RemoteAddress &) const = default;
};

// "name", "name:port", "[v6]" or "[v6]:port", optionally with a scheme before and "/" after;
// blanks around it are ignored. Empty when the text names no valid host.
std::optional<RemoteAddress> parseHostField(std::string_view text);

inline int defaultPort(Protocol protocol)
{
    return protocol == Protocol::Sftp ? 22 : 21;
}
// "FTP", "FTPS", "SFTP".
const char *protocolName(Protocol protocol);
// The host as a URL or known_hosts line writes it: "[v6]" for an IPv6 address.
std::string bracketedHost(const RemoteAddress &address);

} // namespace stv
