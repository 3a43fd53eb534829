#pragma once
// `sitorva --check PROJECT.stv --online`: the offline check, then whether the page's links to
// other sites answer (LinkChecker), in one list by section. Needs libcurl, so the program runs
// it from the publish module.

#include "core/upload/LinkChecker.h"

#include <ostream>
#include <string>

namespace stv
{

int checkOnlineFromCommandLine(const std::string &projectPath, std::ostream &out, std::ostream &err,
    const LinkCheckLimits &limits = {});

} // namespace stv
