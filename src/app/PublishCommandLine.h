#pragma once
// `sitorva --publish PROJECT.stv [--dry-run] [--allow-plain-ftp]`: the page is generated into
// a temporary folder as --generate writes it and published with the project's host, user and
// Initial Directory, the password from SITORVA_PASSWORD when it is set, else the project's,
// else the desktop keyring's for the project's protocol, host and user. Progress goes to
// standard error; the last line on standard output is "published: U uploaded, C unchanged,
// F failed". Every name and server text is written with its control characters escaped.

#include <ostream>
#include <string>

namespace stv
{

struct PublishOptions {
    bool dryRun = false; // only list what would be sent
    bool allowPlainFtp = false; // a password may go over plain FTP, unencrypted
    long transferSeconds = 0; // the total limit of a transfer (FtpLimits); 0: the default
};

// The exit status: 0 only when nothing failed; 2 when a password would go over plain FTP
// without allowPlainFtp (nothing is sent then).
int publishFromCommandLine(const std::string &projectPath, const PublishOptions &options,
    std::ostream &out, std::ostream &err);

} // namespace stv
