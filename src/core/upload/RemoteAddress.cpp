#include "core/upload/RemoteAddress.h"

#include "core/text/TextTools.h"

namespace stv
{

namespace
{

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

bool takeScheme(std::string_view &text, std::string_view scheme)
{
    if (text.size() < scheme.size() || !equalsIgnoreCase(text.substr(0, scheme.size()), scheme))
        return false;
    text.remove_prefix(scheme.size());
    return true;
}

} // namespace

const char *protocolName(Protocol protocol)
{
    switch (protocol) {
    case Protocol::Ftps:
        return "FTPS";
    case Protocol::Sftp:
        return "SFTP";
    case Protocol::Ftp:
        break;
    }
    return "FTP";
}

std::string bracketedHost(const RemoteAddress &address)
{
    return address.host.find(':') != std::string::npos ? "[" + address.host + "]" : address.host;
}

std::optional<RemoteAddress> parseHostField(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    RemoteAddress out;
    if (takeScheme(text, "ftps://"))
        out.protocol = Protocol::Ftps;
    else if (takeScheme(text, "sftp://"))
        out.protocol = Protocol::Sftp;
    else
        takeScheme(text, "ftp://");
    out.port = defaultPort(out.protocol);
    while (!text.empty() && text.back() == '/')
        text.remove_suffix(1);

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

} // namespace stv
