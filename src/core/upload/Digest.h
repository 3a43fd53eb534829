#pragma once
// SHA-256 of files read in pieces (a page's pictures are never held whole in memory), and the
// fingerprint of an SSH host key as OpenSSH shows it.

#include <string>
#include <string_view>

namespace stv
{

struct FileDigest {
    bool ok = false;
    std::string error; // why the file could not be read
    std::string sha256; // 64 lower-case hexadecimal digits
    long long size = 0;
};

FileDigest digestFile(const std::string &path);
std::string sha256Hex(std::string_view bytes);
std::string base64(std::string_view bytes, bool padded = true);
// The bytes of base64 text; empty when it is not base64.
std::string fromBase64(std::string_view text);
// "SHA256:" and the unpadded base64 of the SHA-256 of the key's bytes.
std::string sshFingerprint(std::string_view keyBlob);

} // namespace stv
