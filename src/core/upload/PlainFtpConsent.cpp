#include "core/upload/PlainFtpConsent.h"

#include <sstream>

namespace stv
{

std::string plainFtpHostName(const RemoteAddress &address)
{
    return bracketedHost(address) + ":" + std::to_string(address.port);
}

bool plainFtpAllowed(const Settings &settings, const std::string &hostName)
{
    std::istringstream hosts(settings.value(settingKey::PlainFtpHosts));
    for (std::string host; hosts >> host;) {
        if (host == hostName)
            return true;
    }
    return false;
}

void allowPlainFtp(Settings &settings, const std::string &hostName)
{
    if (hostName.empty() || plainFtpAllowed(settings, hostName))
        return;
    std::string hosts = settings.value(settingKey::PlainFtpHosts);
    if (!hosts.empty())
        hosts += ' ';
    settings.set(settingKey::PlainFtpHosts, hosts + hostName);
}

} // namespace stv
