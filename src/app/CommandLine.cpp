#include "app/CommandLine.h"

#include "app/PublishCommandLine.h"

#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "core/project/Project.h"
#include "core/settings/Config.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"
#include "gui/desktop/PageLocale.h"
#include "gui/desktop/ProgramFolder.h"

#include <QCoreApplication>

#include <filesystem>
#include <memory>
#include <optional>

namespace stv
{

namespace
{

constexpr const char *Usage
    = "Usage: sitorva [PROJECT.stv]\n"
      "       sitorva --generate PROJECT.stv [--output PAGE.html] [--preview]\n"
      "       sitorva --publish PROJECT.stv [--dry-run]\n"
      "       sitorva --help | --version\n"
      "\n"
      "Without options the wizard window opens, with PROJECT.stv loaded when it is given.\n"
      "\n"
      "  --generate PROJECT.stv  write the project's web page as \"&Create Web Page\" does and\n"
      "                          copy its pictures and sounds beside it\n"
      "  --output PAGE.html      where to write the page (default: the page name saved in the\n"
      "                          project, else the project's name with .stv turned into .html)\n"
      "  --preview               write the page as \"View Your Creation\" does: nothing is\n"
      "                          copied (default output: test.html in the program folder)\n"
      "  --publish PROJECT.stv   generate the page as --generate does, into a temporary\n"
      "                          folder, and upload what changed since the last publish to\n"
      "                          the project's host and Initial Directory (the password from\n"
      "                          SITORVA_PASSWORD when it is set, else the project's)\n"
      "  --dry-run               with --publish: list what would be uploaded, send nothing\n"
      "  --help                  show this text\n"
      "  --version               show the program's version\n"
      "\n"
      "The colour, link and image lists and the footer options come from the program folder.\n"
      "SOURCE_DATE_EPOCH, when set to an integer, is the time written as \"Site Last Updated\".\n";

struct Options {
    bool help = false;
    bool version = false;
    std::optional<std::string> generate;
    std::optional<std::string> output;
    bool preview = false;
    std::vector<std::string> positional;
    std::optional<std::string> publish; // --publish PROJECT.stv
    bool dryRun = false;
};

CliOutcome usageError(std::ostream &err, const std::string &message)
{
    err << "sitorva: " << message << "\n\n" << Usage;
    return { false, 2, {} };
}

CliOutcome failure(std::ostream &err, const std::string &message)
{
    err << "sitorva: " << message << "\n";
    return { false, 1, {} };
}

// The program folder needs the application's path, which Qt knows once an application
// object exists; the command line runs before the window's application is made.
std::string programFolderBytes()
{
    std::unique_ptr<QCoreApplication> app;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "sitorva";
        static char *argv[] = { name, nullptr };
        app = std::make_unique<QCoreApplication>(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Sitorva"));
    }
    return stv::programFolder().toStdString();
}

CliOutcome generate(const Options &options, std::ostream &err)
{
    const std::string &projectPath = *options.generate;
    Project project;
    if (const ProjectResult loaded = loadProjectFile(projectPath, project); !loaded.ok)
        return failure(err, loaded.error.empty() ? "Cannot read " + projectPath : loaded.error);

    const std::string folder = programFolderBytes();
    std::string output;
    if (options.output)
        output = *options.output;
    else if (options.preview)
        output = folder + "test.html";
    else
        output = proposedPageName(projectPath, nativePath(project.pageFileName));
    if (output.empty())
        return usageError(err, "--output needs a file name");
    if (sameFile(output, projectPath))
        return failure(err,
            "the page would replace the project file " + projectPath
                + "; choose another name with --output");

    // Missing folders of the page's path are made, as a file dialog would let the user do.
    const std::filesystem::path pageFolder = std::filesystem::path(output).parent_path();
    std::error_code ec;
    if (!pageFolder.empty())
        std::filesystem::create_directories(pageFolder, ec);

    // The lists and footer ticks the window would start with; a file that cannot be read
    // leaves the designed defaults, as it does for the window.
    Configuration config;
    FavouriteLists lists;
    loadConfiguration(folder, config, lists);
    PageRequest request;
    request.importRequested = !options.preview;
    request.pageFile = output;
    const std::string projectFolder = folderPart(projectPath);
    request.sourceFolder = projectFolder.empty() ? std::string("./") : projectFolder;
    request.when = generationTimeNow();
    request.names = localeDateNames();

    DiskCopier copier;
    const PageResult result = writePageFile(project, lists, config.pageOptions, request, copier);
    if (!result.ok)
        return failure(err, result.error);
    for (const std::string &line : result.copyFailures)
        err << "sitorva: warning: " << line << "\n";
    return { false, 0, {} };
}

} // namespace

CliOutcome runCommandLine(
    const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto value = [&](const char *name) -> std::optional<std::string> {
            const std::string prefix = std::string(name) + "=";
            if (arg.rfind(prefix, 0) == 0)
                return arg.substr(prefix.size());
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--preview") {
            options.preview = true;
        } else if (arg == "--generate" || arg.rfind("--generate=", 0) == 0) {
            options.generate = value("--generate");
            if (!options.generate || options.generate->empty())
                return usageError(err, "--generate needs a project file");
        } else if (arg == "--output" || arg.rfind("--output=", 0) == 0) {
            options.output = value("--output");
            if (!options.output || options.output->empty())
                return usageError(err, "--output needs a file name");
        } else if (arg == "--publish" || arg.rfind("--publish=", 0) == 0) {
            options.publish = value("--publish");
            if (!options.publish || options.publish->empty())
                return usageError(err, "--publish needs a project file");
        } else if (arg == "--dry-run") {
            options.dryRun = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, "unknown option " + arg);
        } else {
            options.positional.push_back(arg);
        }
    }

    if (options.help) {
        out << Usage;
        return { false, 0, {} };
    }
    if (options.version) {
        out << "sitorva " << SITORVA_VERSION << "\n";
        return { false, 0, {} };
    }
    if (options.publish) {
        if (options.generate || options.output || options.preview || !options.positional.empty())
            return usageError(err, "--publish takes only a project file and --dry-run");
        return { false, publishFromCommandLine(*options.publish, options.dryRun, out, err), {} };
    }
    if (options.dryRun)
        return usageError(err, "--dry-run goes with --publish");
    if (options.generate) {
        if (!options.positional.empty())
            return usageError(err, "unexpected argument " + options.positional.front());
        return generate(options, err);
    }
    if (options.output || options.preview)
        return usageError(err, "--output and --preview go with --generate");
    if (options.positional.size() > 1)
        return usageError(err, "only one project can be opened");
    if (options.positional.size() == 1)
        return { true, 0, options.positional.front() };
    return {};
}

} // namespace stv
