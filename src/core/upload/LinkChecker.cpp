#include "core/upload/LinkChecker.h"

#include <curl/curl.h>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>

namespace stv
{

namespace
{

using Clock = std::chrono::steady_clock;

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// One address and the sections that link to it.
struct Target {
    std::string address;
    std::vector<int> sections;
};

struct Verdict {
    std::string code; // empty: the link works
    std::string message;
};

// The host part of an http(s) address, or nothing when curl cannot read the address.
std::optional<std::string> hostOf(const std::string &address)
{
    CURLU *url = curl_url();
    if (url == nullptr)
        return std::nullopt;
    std::optional<std::string> host;
    char *part = nullptr;
    if (curl_url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK
        && curl_url_get(url, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        host = part;
        curl_free(part);
    }
    curl_url_cleanup(url);
    return host;
}

// A GET is stopped at the first byte of the body: the status is all the check wants.
std::size_t refuseBody(char *, std::size_t, std::size_t, void *)
{
    return 0;
}

// A request under way.
struct Request {
    std::size_t target = 0;
    std::string host;
    bool get = false;
    CURL *curl = nullptr;
};

class LinkRun
{
public:
    LinkRun(const std::vector<std::string> &addresses, const LinkCheckLimits &limits,
        const std::atomic<bool> &cancel)
        : m_addresses(addresses)
        , m_limits(limits)
        , m_cancel(cancel)
    {
        static const CURLcode globalInit = curl_global_init(CURL_GLOBAL_DEFAULT);
        (void)globalInit;
        m_multi = curl_multi_init();
    }
    ~LinkRun()
    {
        for (Request &request : m_running) {
            curl_multi_remove_handle(m_multi, request.curl);
            curl_easy_cleanup(request.curl);
        }
        if (m_multi != nullptr)
            curl_multi_cleanup(m_multi);
    }
    LinkRun(const LinkRun &) = delete;
    LinkRun &operator=(const LinkRun &) = delete;

    // Runs every queued request; calls done(target, verdict) as each address is settled.
    template <typename Done>
    void run(std::map<std::string, std::deque<std::size_t>> queues, Done &&done)
    {
        m_queues = std::move(queues);
        if (m_multi == nullptr) {
            for (auto &[host, queue] : m_queues)
                for (const std::size_t target : queue)
                    done(target,
                        Verdict { "unverified-link", "the network library could not be started" });
            return;
        }
        while (!m_cancel.load() && (!m_running.empty() || anyQueued())) {
            startDue();
            int running = 0;
            curl_multi_perform(m_multi, &running);
            int left = 0;
            while (CURLMsg *message = curl_multi_info_read(m_multi, &left)) {
                if (message->msg != CURLMSG_DONE)
                    continue;
                finish(message->easy_handle, message->data.result, done);
            }
            curl_multi_poll(m_multi, nullptr, 0, 50, nullptr);
        }
        // A host that cannot be looked up does not exist, unless no name could be looked up
        // at all: then the computer is offline, and no link is called broken for it.
        for (const std::size_t target : m_unresolved)
            done(target,
                m_namesResolved ? Verdict { "broken-link", "no such host" }
                                : Verdict { "unverified-link",
                                    "the host could not be looked up (is this computer "
                                    "online?)" });
    }

private:
    bool anyQueued() const
    {
        return std::any_of(m_queues.begin(), m_queues.end(), [](const auto &entry) {
            return !entry.second.empty();
        }) || !m_retries.empty();
    }

    int runningFor(const std::string &host) const
    {
        return static_cast<int>(std::count_if(m_running.begin(), m_running.end(),
            [&](const Request &request) { return request.host == host; }));
    }

    bool mayStart(const std::string &host, Clock::time_point now) const
    {
        const auto next = m_nextStart.find(host);
        return runningFor(host) < m_limits.perHost
            && (next == m_nextStart.end() || now >= next->second);
    }

    void startDue()
    {
        const Clock::time_point now = Clock::now();
        // GETs after a refused HEAD go first: their addresses are half done.
        for (auto it = m_retries.begin(); it != m_retries.end();) {
            if (!mayStart(it->host, now)) {
                ++it;
                continue;
            }
            start(*it, now);
            it = m_retries.erase(it);
        }
        for (auto &[host, queue] : m_queues) {
            while (!queue.empty() && mayStart(host, now)) {
                start(Request { queue.front(), host, false, nullptr }, now);
                queue.pop_front();
            }
        }
    }

    void start(Request request, Clock::time_point now)
    {
        CURL *curl = curl_easy_init();
        if (curl == nullptr)
            return;
        const auto timeout = static_cast<long>(m_limits.perLink.count());
        curl_easy_setopt(curl, CURLOPT_URL, m_addresses[request.target].c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(m_limits.redirects));
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeout);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeout);
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "Sitorva link check");
        curl_easy_setopt(curl, CURLOPT_NOBODY, request.get ? 0L : 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, refuseBody);
        request.curl = curl;
        curl_multi_add_handle(m_multi, curl);
        m_nextStart[request.host] = now + m_limits.hostPause;
        m_running.push_back(std::move(request));
    }

    template <typename Done>
    void finish(CURL *curl, CURLcode result, Done &&done)
    {
        const auto it = std::find_if(m_running.begin(), m_running.end(),
            [&](const Request &request) { return request.curl == curl; });
        if (it == m_running.end())
            return;
        Request request = std::move(*it);
        m_running.erase(it);
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        curl_multi_remove_handle(m_multi, curl);
        curl_easy_cleanup(curl);
        // A GET stopped at its body has its answer.
        if (request.get && result == CURLE_WRITE_ERROR && status != 0)
            result = CURLE_OK;
        // Some servers refuse HEAD (405, 501) or answer it otherwise than GET.
        const bool headRefused = result == CURLE_OK
            && (status == 405 || status == 501 || status == 403 || status == 400);
        if (!request.get && headRefused) {
            request.get = true;
            request.curl = nullptr;
            m_retries.push_back(std::move(request));
            return;
        }
        const bool literal = request.host.find_first_not_of("0123456789.") == std::string::npos
            || request.host.front() == '[';
        if (result == CURLE_COULDNT_RESOLVE_HOST) {
            m_unresolved.push_back(request.target);
            return;
        }
        if (!literal)
            m_namesResolved = true;
        done(request.target, verdict(result, status));
    }

    Verdict verdict(CURLcode result, long status) const
    {
        switch (result) {
        case CURLE_OK:
            break;
        case CURLE_COULDNT_CONNECT:
            return { "broken-link", "the connection was refused" };
        case CURLE_OPERATION_TIMEDOUT:
            return { "unverified-link", "no answer within the time allowed" };
        case CURLE_TOO_MANY_REDIRECTS:
            return { "unverified-link",
                "redirected more than " + std::to_string(m_limits.redirects) + " times" };
        default:
            return { "unverified-link", curl_easy_strerror(result) };
        }
        const std::string answer = "the site answers " + std::to_string(status);
        if (status >= 200 && status < 400)
            return {};
        if (status == 404 || status == 410)
            return { "broken-link", answer + (status == 404 ? " (not found)" : " (gone)") };
        if (status == 403 || status == 429)
            return { "unverified-link",
                answer + (status == 403 ? " (forbidden)" : " (too many requests)")
                    + ": it may refuse programs, not visitors" };
        return { "unverified-link", answer };
    }

    const std::vector<std::string> &m_addresses;
    const LinkCheckLimits &m_limits;
    const std::atomic<bool> &m_cancel;
    CURLM *m_multi = nullptr;
    std::map<std::string, std::deque<std::size_t>> m_queues; // host -> targets not yet asked
    std::vector<Request> m_retries;
    std::vector<Request> m_running;
    std::map<std::string, Clock::time_point> m_nextStart;
    std::vector<std::size_t> m_unresolved;
    bool m_namesResolved = false;
};

} // namespace

bool isMailAddressForm(std::string_view address)
{
    const std::size_t at = address.find('@');
    if (at == 0 || at == std::string_view::npos
        || address.find('@', at + 1) != std::string_view::npos)
        return false;
    const std::string_view domain = address.substr(at + 1);
    const std::size_t dot = domain.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 2 > domain.size()
        || domain.find("..") != std::string_view::npos)
        return false;
    return address.find_first_of(" \t\r\n<>()[],;:\"\\") == std::string_view::npos;
}

std::vector<Problem> checkLinks(const std::vector<PageLink> &links, const LinkCheckLimits &limits,
    const std::atomic<bool> &cancel, const LinkProgress &progress)
{
    std::vector<Target> targets;
    std::map<std::string, std::size_t> byAddress;
    for (const PageLink &link : links) {
        const auto [place, added] = byAddress.emplace(link.address, targets.size());
        if (added)
            targets.push_back({ link.address, {} });
        targets[place->second].sections.push_back(link.section);
    }

    // Problems with the place of their address in the page, so that the answers' order does
    // not change the report's.
    std::vector<std::pair<std::size_t, Problem>> found;
    std::size_t done = 0;
    const auto settle = [&](std::size_t target, const Verdict &verdict) {
        if (!verdict.code.empty())
            for (const int section : targets[target].sections)
                found.push_back({ target,
                    { section, verdict.code,
                        "\"" + targets[target].address + "\": " + verdict.message } });
        ++done;
        if (progress)
            progress(done, targets.size());
    };

    std::vector<std::string> addresses;
    std::map<std::string, std::deque<std::size_t>> queues;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string &address = targets[i].address;
        addresses.push_back(address);
        if (startsWithNoCase(address, "mailto:")) {
            std::string_view mail = std::string_view(address).substr(7);
            mail = mail.substr(0, mail.find('?'));
            bool good = !mail.empty();
            for (std::size_t start = 0; good && start <= mail.size();) {
                const std::size_t comma = std::min(mail.find(',', start), mail.size());
                good = isMailAddressForm(mail.substr(start, comma - start));
                start = comma + 1;
            }
            settle(i, good ? Verdict {} : Verdict { "broken-link", "not a mail address" });
            continue;
        }
        const std::optional<std::string> host = hostOf(address);
        if (!host || host->empty()) {
            settle(i, { "broken-link", "not a web address a browser can open" });
            continue;
        }
        queues[*host].push_back(i);
    }

    LinkRun run(addresses, limits, cancel);
    run.run(std::move(queues), settle);
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return std::make_pair(a.second.section, a.first)
            < std::make_pair(b.second.section, b.first);
    });
    std::vector<Problem> problems;
    for (auto &entry : found)
        problems.push_back(std::move(entry.second));
    return problems;
}

} // namespace stv
