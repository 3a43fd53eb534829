#pragma once
// The online half of the page check: whether the addresses a page links to answer. Polite to
// the sites it asks: HEAD first and GET only when HEAD is refused, at most two requests at
// once to one host and a pause between them, a time limit per link. Mail addresses are
// checked for their form only; nothing is sent to a mail server.

#include "core/check/PageChecker.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

namespace stv
{

struct LinkCheckLimits {
    std::chrono::milliseconds perLink { 10000 }; // the whole of one link, redirects included
    std::chrono::milliseconds hostPause { 250 }; // between two requests to one host
    int perHost = 2; // requests at once to one host
    int redirects = 5;
};

// Called with the number of addresses done and their total.
using LinkProgress = std::function<void(std::size_t done, std::size_t total)>;

// "broken-link" (404, 410, no such host, connection refused, a mail address of a wrong form)
// and "unverified-link" (403, 429, other refusals, 5xx, time-outs: the site did not say)
// problems, one for each section that links to the address. Stops soon after `cancel` is set,
// with what it found so far. Blocks: callers run it off the window's thread.
std::vector<Problem> checkLinks(const std::vector<PageLink> &links, const LinkCheckLimits &limits,
    const std::atomic<bool> &cancel, const LinkProgress &progress = {});

// Whether a mailto: address has the form name@domain.example.
bool isMailAddressForm(std::string_view address);

} // namespace stv
