#pragma once
// Network work off the window's thread. The work runs on a thread of its own with shared
// ownership of everything it touches, while a local event loop keeps the window painted and
// answering; `tick` runs on the window's thread every 50 ms (to show progress). When the loop
// is left before the work is done (the program is quitting), the client is cancelled and the
// thread gets `patience` to end; after that it is left to end by itself, and no window waits
// for it any longer.

#include "core/upload/FtpClient.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace stv
{

inline constexpr std::chrono::milliseconds NetworkPatience { 1500 };

// True when the work ran to its end.
bool runNetworkWork(const std::shared_ptr<FtpClient> &client, std::function<void()> work,
    const std::function<void()> &tick = {}, std::chrono::milliseconds patience = NetworkPatience);

// The result of work(client), or nothing when the work was abandoned. The work must capture
// only values and shared state: it may outlive the caller.
template <typename Result>
std::optional<Result> runOffThread(const std::shared_ptr<FtpClient> &client,
    std::function<Result(FtpClient &)> work, const std::function<void()> &tick = {})
{
    auto result = std::make_shared<std::optional<Result>>();
    const bool finished = runNetworkWork(
        client, [client, work = std::move(work), result] { *result = work(*client); }, tick);
    if (!finished)
        return std::nullopt;
    return std::move(*result);
}

} // namespace stv
