#pragma once
// SHA-256 of files read in pieces (a page's pictures are never held whole in memory), and the
// fingerprint of an SSH host key as OpenSSH shows it.

#include "core/Result.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace stv
{

struct FileDigest {
    std::string sha256; // 64 lower-case hexadecimal digits
    long long size = 0;
};

// With stop, reading ends (with an error) once stop() says so.
Result<FileDigest> digestFile(const std::string &path, const std::function<bool()> &stop = {});

// A SHA-256 fed piece by piece (the bytes of a file as they are sent).
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;
    void add(const void *data, std::size_t size);
    std::string hex(); // ends the digest

private:
    void *m_context; // EVP_MD_CTX*
};
std::string sha256Hex(std::string_view bytes);
std::string base64(std::string_view bytes, bool padded = true);
// The bytes of base64 text; empty when it is not base64.
std::string fromBase64(std::string_view text);
// "SHA256:" and the unpadded base64 of the SHA-256 of the key's bytes.
std::string sshFingerprint(std::string_view keyBlob);

} // namespace stv
