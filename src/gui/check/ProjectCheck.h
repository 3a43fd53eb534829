#pragma once
// The offline page check of the open project, as the windows run it: stored paths relative
// to the project's folder, the lists of the running program, the page style chosen.

#include "core/check/PageChecker.h"
#include "core/page/PageStyle.h"

#include <QString>

namespace stv
{

PageReport checkOpenProject(const Project &project, const FavouriteLists &lists,
    const QString &projectFileName, PageStyle style);

// The problems as lines for a message box: at most `limit` of them, then how many more.
QString problemSummary(const std::vector<Problem> &problems, int limit = 8);

} // namespace stv
