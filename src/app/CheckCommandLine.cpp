#include "app/CheckCommandLine.h"

#include "core/page/PageStyle.h"
#include "core/settings/Config.h"
#include "core/settings/ProgramFolderPath.h"
#include "core/text/Cp1252.h"
#include "core/text/TerminalText.h"
#include "core/text/TextTools.h"

#include <algorithm>

namespace stv
{

Result<PageReport> checkProjectFile(const std::string &projectPath, std::ostream &err)
{
    ProjectFile project;
    if (const Result<> loaded = project.read(projectPath); !loaded)
        return fail(loaded.error().empty() ? "Cannot read " + projectPath : loaded.error());
    Configuration config;
    FavouriteLists lists;
    if (const Result<bool> loaded = loadConfiguration(programFolderPath(), config, lists); !loaded)
        err << "sitorva: warning: " << terminalText(loaded.error()) << "\n";
    // The style the page is written in; the settings' own warnings come with --generate.
    (void)loadPageSettings(programFolderPath(), config.pageOptions);
    const std::string folder = folderPart(projectPath);
    return checkPage(project.header(), SectionRecords(project), lists,
        folder.empty() ? "./" : folder, config.pageOptions.style == PageStyle::Modern);
}

int printProblems(const std::vector<Problem> &problems, std::ostream &out)
{
    for (const Problem &problem : problems) {
        const std::string line = problemLine(problem);
        // Most lines are plain printable ASCII and go out as they are.
        const bool plain = std::all_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
        });
        out << (plain ? line : terminalText(cp1252ToUtf8(line))) << '\n';
    }
    return problems.empty() ? 0 : 1;
}

int checkFromCommandLine(const std::string &projectPath, std::ostream &out, std::ostream &err)
{
    const Result<PageReport> report = checkProjectFile(projectPath, err);
    if (!report) {
        err << "sitorva: " << terminalText(report.error()) << "\n";
        return 1;
    }
    return printProblems(report.value().problems, out);
}

} // namespace stv
