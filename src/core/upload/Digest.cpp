#include "core/upload/Digest.h"

#include <openssl/evp.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace stv
{

namespace
{

std::string hex(const unsigned char *bytes, unsigned int count)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (unsigned int i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

struct DigestContext {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx { EVP_MD_CTX_new(),
        &EVP_MD_CTX_free };
    bool start() { return ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1; }
    bool add(const void *data, std::size_t size)
    {
        return EVP_DigestUpdate(ctx.get(), data, size) == 1;
    }
    std::string finishRaw()
    {
        unsigned char md[EVP_MAX_MD_SIZE];
        unsigned int n = 0;
        if (EVP_DigestFinal_ex(ctx.get(), md, &n) != 1)
            return {};
        return std::string(reinterpret_cast<const char *>(md), n);
    }
};

} // namespace

Sha256::Sha256()
    : m_context(EVP_MD_CTX_new())
{
    EVP_DigestInit_ex(static_cast<EVP_MD_CTX *>(m_context), EVP_sha256(), nullptr);
}

Sha256::~Sha256()
{
    EVP_MD_CTX_free(static_cast<EVP_MD_CTX *>(m_context));
}

void Sha256::add(const void *data, std::size_t size)
{
    EVP_DigestUpdate(static_cast<EVP_MD_CTX *>(m_context), data, size);
}

std::string Sha256::hex()
{
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (EVP_DigestFinal_ex(static_cast<EVP_MD_CTX *>(m_context), md, &n) != 1)
        return {};
    return stv::hex(md, n);
}

Result<FileDigest> digestFile(const std::string &path, const std::function<bool()> &stop)
{
    FileDigest out;
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
        std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return fail(std::string("the file could not be read: ") + std::strerror(errno));
    DigestContext digest;
    if (!digest.start())
        return fail("the checksum could not be computed");
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        if (stop && stop())
            return fail("the work was cancelled");
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (n > 0) {
            digest.add(buffer.data(), n);
            out.size += static_cast<long long>(n);
        }
        if (n < buffer.size()) {
            if (std::ferror(file.get()))
                return fail(std::string("the file could not be read: ") + std::strerror(errno));
            break;
        }
    }
    const std::string raw = digest.finishRaw();
    out.sha256 = hex(
        reinterpret_cast<const unsigned char *>(raw.data()), static_cast<unsigned int>(raw.size()));
    if (out.sha256.empty())
        return fail("the checksum could not be computed");
    return out;
}

std::string sha256Hex(std::string_view bytes)
{
    DigestContext digest;
    if (!digest.start() || !digest.add(bytes.data(), bytes.size()))
        return {};
    const std::string raw = digest.finishRaw();
    return hex(
        reinterpret_cast<const unsigned char *>(raw.data()), static_cast<unsigned int>(raw.size()));
}

std::string base64(std::string_view bytes, bool padded)
{
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(out.data()),
        reinterpret_cast<const unsigned char *>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!padded && !out.empty() && out.back() == '=')
        out.pop_back();
    return out;
}

std::string fromBase64(std::string_view text)
{
    if (text.empty() || text.size() % 4 != 0)
        return {};
    std::string out(text.size() / 4 * 3, '\0');
    const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char *>(out.data()),
        reinterpret_cast<const unsigned char *>(text.data()), static_cast<int>(text.size()));
    if (n < 0)
        return {};
    // The decoder writes a zero byte for every "=" of padding.
    std::size_t size = static_cast<std::size_t>(n);
    for (std::size_t i = text.size(); i > 0 && text[i - 1] == '=' && size > 0; --i)
        --size;
    out.resize(size);
    return out;
}

std::string sshFingerprint(std::string_view keyBlob)
{
    DigestContext digest;
    if (!digest.start() || !digest.add(keyBlob.data(), keyBlob.size()))
        return {};
    return "SHA256:" + base64(digest.finishRaw(), false);
}

} // namespace stv
