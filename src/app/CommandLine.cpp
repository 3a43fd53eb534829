#include "app/CommandLine.h"

#include "app/CheckCommandLine.h"
#include "core/page/CompanionFiles.h"
#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "core/page/PageStyle.h"
#include "core/project/Project.h"
#include "core/settings/Config.h"
#include "core/settings/DefaultLists.h"
#include "core/settings/ProgramFolderPath.h"
#include "core/text/Cp1252.h"
#include "core/text/TerminalText.h"
#include "core/text/TextTools.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>

namespace stv
{

namespace
{

constexpr const char *Usage
    = "Usage: sitorva [PROJECT.stv]\n"
      "       sitorva --generate PROJECT.stv [--output PAGE.html] [--preview]\n"
      "                              [--style modern|classic]\n"
      "       sitorva --publish PROJECT.stv [--dry-run] [--allow-plain-ftp]\n"
      "       sitorva --check PROJECT.stv [--online]\n"
      "       sitorva --help | --version\n"
      "\n"
      "Without options the wizard window opens, with PROJECT.stv loaded when it is given.\n"
      "\n"
      "  --generate PROJECT.stv  write the project's web page as \"Create Web Page\" does and\n"
      "                          copy its pictures and sounds beside it\n"
      "  --output PAGE.html      where to write the page (default: in the project's folder,\n"
      "                          under the name of the page saved in the project, else the\n"
      "                          project's name with .stv turned into .html)\n"
      "  --preview               write the page as \"View Your Creation\" does: nothing is\n"
      "                          copied (default output: test.html in the program folder)\n"
      "  --style modern|classic  the modern page (valid HTML that fits phones) or the classic\n"
      "                          one (default: the \"Modern Page (fits phones)\" tick)\n"
      "  --publish PROJECT.stv   generate the page as --generate does, into a temporary\n"
      "                          folder, and upload what changed since the last publish to\n"
      "                          the project's host and Initial Directory (the password from\n"
      "                          SITORVA_PASSWORD when it is set, else the project's, else\n"
      "                          the desktop keyring's for the project's host and user)\n"
      "  --dry-run               with --publish: list what would be uploaded, send nothing\n"
      "  --check PROJECT.stv     list what a visitor would find wrong with the page, one\n"
      "                          \"section N: CODE: message\" or \"page: CODE: message\" line\n"
      "                          each; exit status 0 when nothing is wrong, 1 when something is\n"
      "  --online                with --check: also ask the sites the page links to whether\n"
      "                          the links work (without it nothing is sent anywhere)\n"
      "  --allow-plain-ftp       with --publish: send the password over plain FTP, where it\n"
      "                          travels unencrypted (without it, a plain FTP host with a\n"
      "                          password is refused)\n"
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
    std::optional<PageStyle> style; // --style
    std::vector<std::string> positional;
    std::optional<std::string> publish; // --publish PROJECT.stv
    bool dryRun = false;
    bool allowPlainFtp = false;
    std::optional<std::string> check; // --check PROJECT.stv
    bool online = false;
};

CliOutcome usageError(std::ostream &err, const std::string &message)
{
    err << "sitorva: " << terminalText(message) << "\n\n" << Usage;
    return { false, 2, {} };
}

CliOutcome failure(std::ostream &err, const std::string &message)
{
    err << "sitorva: " << terminalText(message) << "\n";
    return { false, 1, {} };
}

void warn(std::ostream &err, const std::string &message)
{
    err << "sitorva: warning: " << terminalText(message) << "\n";
}

// A first run sets up the program folder as the window's first start does, so the marks of a
// first page ("{c0}", "{i0}") are translated whichever starts first; a failure is a warning,
// and the page is written with the lists there are.
void provideFirstRunLists(std::ostream &err)
{
    if (const Result<> provided = provideProgramDefaultLists(); !provided)
        warn(err, provided.error());
}

// A native path's folder with its '/', or nothing for a name in the current folder.
std::string nativeFolderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != "..";
}

// Without --output the page goes into the project's own folder, under the bare name of the
// stored page name (its folder, whatever it says, is ignored: a project names no place
// outside its folder), else under the project's name with ".html".
std::string defaultPageFile(const std::string &projectPath, const std::string &storedPageName)
{
    const std::string folder = nativeFolderOf(projectPath);
    std::string name = nativePath(fileNamePart(storedPageName));
    if (!isFileName(name))
        name = proposedPageName(projectPath.substr(folder.size()), "");
    return folder + name;
}

CliOutcome generate(const Options &options, std::ostream &out, std::ostream &err)
{
    const std::string &projectPath = *options.generate;
    provideFirstRunLists(err);
    // The records stay in the file's bytes and go from there to the page.
    ProjectFile project;
    if (const Result<> loaded = project.read(projectPath); !loaded)
        return failure(err, loaded.error().empty() ? "Cannot read " + projectPath : loaded.error());

    const std::string folder = programFolderPath();
    std::string output;
    if (options.output)
        output = *options.output;
    else if (options.preview)
        output = folder + "test.html";
    else
        output = defaultPageFile(projectPath, project.header().pageFileName);
    // A project names its page, and a stranger's project may name a shell's start-up file:
    // only a page's name is taken without --output.
    if (!options.output && !options.preview) {
        if (const Result<> named = checkPageFileName(output.substr(nativeFolderOf(output).size()));
            !named)
            return failure(err, named.error() + "; choose the page's name with --output");
    }
    if (sameFile(output, projectPath))
        return failure(err,
            "the page would replace the project file " + projectPath
                + "; choose another name with --output");

    // Missing folders of a page path given with --output are made, as a file dialog would
    // let the user do.
    const std::filesystem::path pageFolder = std::filesystem::path(output).parent_path();
    if (options.output && !pageFolder.empty()
        && isFileName(std::filesystem::path(output).filename().string())) {
        std::error_code ec;
        std::filesystem::create_directories(pageFolder, ec);
    }

    // The lists and footer ticks the window would start with; a file that cannot be read
    // leaves the designed defaults, as it does for the window, and is named in a warning.
    Configuration config;
    FavouriteLists lists;
    if (const Result<bool> loaded = loadConfiguration(folder, config, lists); !loaded) {
        // One warning a file: the failure holds a paragraph for each.
        const std::string &text = loaded.error();
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find("\n\n", start), text.size());
            warn(err, text.substr(start, end - start));
            start = end + 2;
        }
    }
    if (const Result<> settings = loadPageSettings(folder, config.pageOptions); !settings)
        warn(err, settings.error());
    if (options.style)
        config.pageOptions.style = *options.style;
    PageRequest request = createPageRequest(output, projectPath);
    request.importRequested = !options.preview;
    // The modern page's pictures are made ready for the web; the classic page's are copied.
    std::string pictureWarning;
    const std::unique_ptr<PicturePreparer> pictures
        = picturesForPage(config.pageOptions.style == PageStyle::Modern, request.importRequested,
            folder, pictureWarning);
    request.webReadyPictures = pictures.get();
    if (!pictureWarning.empty())
        warn(err, pictureWarning);

    DiskCopier copier;
    const PageResult result = writePageFile(project, lists, config.pageOptions, request, copier);
    if (!result)
        return failure(err, result.error());
    for (const std::string &line : result.value().copyFailures)
        warn(err, line);
    out << "The page was written to " << terminalText(output) << "\n";
    return { false, 0, {} };
}

// ", not the option X" when the argument after position i is an option.
std::string notAnOption(const std::vector<std::string> &args, std::size_t i)
{
    if (i + 1 < args.size() && args[i + 1].size() > 1 && args[i + 1][0] == '-')
        return ", not the option " + args[i + 1];
    return {};
}

} // namespace

CliOutcome runCommandLine(
    const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        // The option's value: after "=", else the next argument, which must not be an option
        // itself ("--output --preview" is a mistake, not a page named "--preview").
        auto value = [&](const char *name) -> std::optional<std::string> {
            const std::string prefix = std::string(name) + "=";
            if (arg.rfind(prefix, 0) == 0)
                return arg.substr(prefix.size());
            if (i + 1 < args.size() && !(args[i + 1].size() > 1 && args[i + 1][0] == '-'))
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
                return usageError(err, "--generate needs a project file" + notAnOption(args, i));
        } else if (arg == "--output" || arg.rfind("--output=", 0) == 0) {
            options.output = value("--output");
            if (!options.output || options.output->empty())
                return usageError(err, "--output needs a file name" + notAnOption(args, i));
        } else if (arg == "--style" || arg.rfind("--style=", 0) == 0) {
            const std::optional<std::string> word = value("--style");
            options.style = parsePageStyle(word.value_or(""));
            if (!options.style)
                return usageError(err, "--style needs modern or classic" + notAnOption(args, i));
        } else if (arg == "--publish" || arg.rfind("--publish=", 0) == 0) {
            options.publish = value("--publish");
            if (!options.publish || options.publish->empty())
                return usageError(err, "--publish needs a project file" + notAnOption(args, i));
        } else if (arg == "--dry-run") {
            options.dryRun = true;
        } else if (arg == "--check" || arg.rfind("--check=", 0) == 0) {
            options.check = value("--check");
            if (!options.check || options.check->empty())
                return usageError(err, "--check needs a project file" + notAnOption(args, i));
        } else if (arg == "--online") {
            options.online = true;
        } else if (arg == "--allow-plain-ftp") {
            options.allowPlainFtp = true;
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
    if (options.check) {
        if (options.generate || options.publish || options.output || options.preview
            || options.dryRun || options.allowPlainFtp || !options.positional.empty())
            return usageError(err, "--check takes only a project file and --online");
        if (!options.online)
            return { false, checkFromCommandLine(*options.check, out, err), {} };
        CliOutcome check { false, 0, {} };
        check.projectToCheckOnline = *options.check;
        return check;
    }
    if (options.online)
        return usageError(err, "--online goes with --check");
    if (options.publish) {
        if (options.generate || options.output || options.preview || options.style
            || !options.positional.empty())
            return usageError(
                err, "--publish takes only a project file, --dry-run and --allow-plain-ftp");
        provideFirstRunLists(err);
        CliOutcome publish { false, 0, {} };
        publish.projectToPublish = *options.publish;
        publish.dryRun = options.dryRun;
        publish.allowPlainFtp = options.allowPlainFtp;
        return publish;
    }
    if (options.dryRun)
        return usageError(err, "--dry-run goes with --publish");
    if (options.allowPlainFtp)
        return usageError(err, "--allow-plain-ftp goes with --publish");
    if (options.generate) {
        if (!options.positional.empty())
            return usageError(err, "unexpected argument " + options.positional.front());
        return generate(options, out, err);
    }
    if (options.output || options.preview || options.style)
        return usageError(err, "--output, --preview and --style go with --generate");
    if (options.positional.size() > 1)
        return usageError(err, "only one project can be opened");
    if (options.positional.size() == 1)
        return { true, 0, options.positional.front() };
    return {};
}

} // namespace stv
