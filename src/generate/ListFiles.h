#pragma once
// Reads the three favourite lists and the two footer ticks from the program's folder, as the
// program does at start-up: nothing is read unless "Sitorva.config" exists; then lines 8 and
// 9 of it are the two ticks (nonzero = ticked) and each list file that exists replaces its
// list. Whatever is missing keeps the designed defaults.

#include "generate/FavouriteLists.h"

#include <string>

namespace stv
{

inline constexpr const char *ConfigFileName = "Sitorva.config";

struct ListsAndOptions {
    FavouriteLists lists;
    PageOptions options;
};

// folder: native path of the program folder, with or without a trailing '/'.
ListsAndOptions LoadListsAndOptions(const std::string &folder);

} // namespace stv
