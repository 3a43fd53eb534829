#pragma once
// The names of a listing's entries, sorted: listings come in the server's order.

#include "core/upload/FtpListing.h"

#include <algorithm>
#include <string>
#include <vector>

namespace stv::test
{

inline std::vector<std::string> Names(const std::vector<FtpEntry> &entries)
{
    std::vector<std::string> names;
    for (const FtpEntry &e : entries)
        names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace stv::test
