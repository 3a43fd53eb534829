#pragma once
// Plain FTP sends the password unencrypted, so it is sent only after the user agreed: once
// for a run of the program, or for good for a host, which Sitorva.settings then remembers.

#include "core/settings/Settings.h"
#include "core/upload/RemoteAddress.h"

#include <string>

namespace stv
{

// How a host is named in that list: "host:port" ("[v6]:port").
std::string plainFtpHostName(const RemoteAddress &address);
// Whether the user said not to be asked again for this host.
bool plainFtpAllowed(const Settings &settings, const std::string &hostName);
void allowPlainFtp(Settings &settings, const std::string &hostName);

} // namespace stv
