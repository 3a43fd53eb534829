#pragma once
// `sitorva --check PROJECT.stv [--online]`: one line on standard output for each problem,
// "section N: CODE: message" or "page: CODE: message"; the exit status is 0 when nothing is
// wrong and 1 when something is or the project cannot be read. The offline check needs no
// network library; --online runs from the publish module (OnlineCheckCommandLine.h).

#include "core/Result.h"
#include "core/check/PageChecker.h"

#include <ostream>
#include <string>
#include <vector>

namespace stv
{

// The offline problems of a project file, with the lists and folders --generate would use.
Result<PageReport> checkProjectFile(const std::string &projectPath, std::ostream &err);

// Writes one line for each problem; the exit status for them.
int printProblems(const std::vector<Problem> &problems, std::ostream &out);

int checkFromCommandLine(const std::string &projectPath, std::ostream &out, std::ostream &err);

} // namespace stv
