#pragma once
// One request of FtpClient: what to send and what came back. Internal to the client's two
// source files.

#include "core/upload/Digest.h"
#include "core/upload/FtpClient.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace stv
{

// Replies and data beyond these sizes are not kept.
inline constexpr std::size_t MaxReplyLog = 64 * 1024;
inline constexpr std::size_t MaxListingBytes = 64 * 1024 * 1024;

struct FtpClient::Transfer {
    std::string url;
    bool nobody = false;
    bool fresh = false;
    bool listing = false; // a directory listing: total time limit, size and line caps
    std::string customRequest;
    std::vector<std::string> quote; // before the transfer
    std::vector<std::string> postQuote; // after it
    std::FILE *source = nullptr;
    long long sourceSize = -1;
    const SendProgress *progress = nullptr;
    Sha256 *sentDigest = nullptr; // fed with every byte read from source
    ByteSink *sink = nullptr;
    long long maxBytes = -1; // for sink
    std::string *body = nullptr;
    const std::atomic<bool> *cancel = nullptr;
    // The total limit of a request that is not a listing (FtpLimits::transferSeconds).
    std::chrono::steady_clock::time_point started;
    long totalSeconds = 0; // 0: no total limit
    long averageBytes = 0;

    // Results.
    std::string replies; // every reply line of the control connection
    std::string errorReply; // the last reply of 400 or above
    long errorCode = 0;
    long long received = 0;
    std::size_t lines = 0; // line ends in a listing body so far
    bool sinkFailed = false;
    bool tooLarge = false;
    bool listingCut = false; // the caps ended the listing; what came is used
    bool overTime = false; // the total limit ended the request
    std::optional<HostKey> hostKey; // SFTP: the key of a refused server
    bool hostKeyChanged = false;
    char errorText[256] = {}; // curl's own words (CURL_ERROR_SIZE)
    long verifyResult = 0; // the certificate check's code
};

} // namespace stv
