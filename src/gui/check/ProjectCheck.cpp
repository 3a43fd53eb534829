#include "gui/check/ProjectCheck.h"

#include "gui/desktop/Encoding.h"

#include <QFileInfo>

namespace stv
{

PageReport checkOpenProject(const Project &project, const FavouriteLists &lists,
    const QString &projectFileName, PageStyle style)
{
    const std::string folder = projectFileName.isEmpty()
        ? std::string()
        : QFileInfo(projectFileName).absolutePath().toStdString();
    // The records are in memory: the check cannot fail to read them.
    return checkPage(project, project.sections, lists, folder, style == PageStyle::Modern)
        .valueOr({});
}

QString problemSummary(const std::vector<Problem> &problems, int limit)
{
    QString text;
    int shown = 0;
    for (const Problem &problem : problems) {
        if (shown++ == limit) {
            text += QStringLiteral("... and %1 more.\n")
                        .arg(static_cast<int>(problems.size()) - limit);
            break;
        }
        text += fromCp1252(problemLine(problem)) + QLatin1Char('\n');
    }
    return text;
}

} // namespace stv
