#pragma once
// Passwords kept by the desktop's keyring through the Secret Service (GNOME Keyring, KWallet),
// keyed by protocol, host and user, so that a project file need not hold one. Only a keyring
// that runs counts: none is started, and a call that waits longer than a person would (a
// prompt nobody answers) is given up. Texts are UTF-8.

#include "core/Result.h"

#include <string>

namespace stv
{

struct KeyringKey {
    std::string protocol; // "ftp", "ftps", "sftp"
    std::string host;
    std::string user;
    bool operator==(const KeyringKey &) const = default;
};

// Success when a keyring answers on the session bus; otherwise why not, in words for the user.
Result<> keyringAvailable();
Result<> storeKeyringPassword(const KeyringKey &key, const std::string &password);
// The stored password; an empty text when the keyring holds none for the key.
Result<std::string> lookupKeyringPassword(const KeyringKey &key);
// True when a password was there and is gone.
Result<bool> deleteKeyringPassword(const KeyringKey &key);

} // namespace stv
