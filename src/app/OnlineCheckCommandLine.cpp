#include "app/OnlineCheckCommandLine.h"

#include "app/CheckCommandLine.h"
#include "core/text/TerminalText.h"

#include <algorithm>

namespace stv
{

int checkOnlineFromCommandLine(const std::string &projectPath, std::ostream &out, std::ostream &err,
    const LinkCheckLimits &limits)
{
    Result<PageReport> report = checkProjectFile(projectPath, err);
    if (!report) {
        err << "sitorva: " << terminalText(report.error()) << "\n";
        return 1;
    }
    std::vector<Problem> problems = std::move(report.value().problems);
    const std::atomic<bool> never { false };
    const std::vector<PageLink> &links = report.value().links;
    if (!links.empty())
        err << "checking " << links.size() << (links.size() == 1 ? " link" : " links") << "\n";
    for (Problem &problem : checkLinks(links, limits, never))
        problems.push_back(std::move(problem));
    std::stable_sort(problems.begin(), problems.end(),
        [](const Problem &a, const Problem &b) { return a.section < b.section; });
    return printProblems(problems, out);
}

} // namespace stv
