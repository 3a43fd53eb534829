#include "core/page/CompanionFiles.h"

#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "core/project/Library.h"
#include "core/project/Project.h"
#include "core/settings/Config.h"
#include "core/settings/FavouriteLists.h"
#include "core/settings/Settings.h"
#include "core/text/TextTools.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace stv
{

namespace
{

namespace fs = std::filesystem;

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string_view bareName(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The path with links and "." and ".." resolved as far as it exists.
std::string resolved(const std::string &path)
{
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
    return error ? path : canonical.string();
}

bool isUnder(const std::string &path, const std::string &folder)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0
        && path[folder.size()] == '/';
}

bool holdsPrivateKey(std::string_view head)
{
    return head.find("PRIVATE KEY-----") != std::string_view::npos
        || head.find("openssh-key-v1") != std::string_view::npos
        || head.find("PuTTY-User-Key-File") != std::string_view::npos;
}

const char *kindWord(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Picture:
        return "a picture";
    case MediaKind::Sound:
        return "a sound";
    case MediaKind::Other:
        break;
    }
    return "a picture or sound";
}

} // namespace

Result<> checkPageFileName(std::string_view name)
{
    const std::string lower = lowerAscii(name);
    const bool pageEnding = (lower.size() > 5 && lower.ends_with(".html"))
        || (lower.size() > 4 && lower.ends_with(".htm"));
    if (name.find('/') != std::string_view::npos || name.empty() || name[0] == '.' || !pageEnding)
        return fail("The page's file name \"" + std::string(name)
            + "\" must end in .html or .htm and must not start with \".\"");
    return {};
}

std::string safePageFileName(std::string_view storedName)
{
    std::string stem(bareName(storedName));
    while (!stem.empty() && stem[0] == '.')
        stem.erase(0, 1);
    if (const std::size_t dot = stem.find_last_of('.'); dot != std::string::npos)
        stem.erase(dot);
    std::string name = stem + ".html";
    return stem.empty() || !checkPageFileName(name) ? std::string("index.html") : name;
}

std::string proposedPageFile(const std::string &projectFile, const std::string &storedPageName,
    const std::string &homeFolder)
{
    const std::string proposal = proposedPageName(projectFile, storedPageName);
    std::string name = fileNamePart(proposal);
    if (!checkPageFileName(name))
        name = safePageFileName(name);
    std::string folder = folderPart(proposal);
    if (folder.empty() || folder[0] != '/') {
        const std::string projectFolder = folderPart(projectFile);
        folder = !projectFolder.empty() && projectFolder[0] == '/' ? projectFolder : homeFolder;
        if (!folder.empty() && folder.back() != '/')
            folder += '/';
    }
    return folder + name;
}

bool isProgramFileName(std::string_view bareName)
{
    static const std::array<std::string_view, 10> names { ConfigFileName, SettingsFileName,
        ColourListFile, LinkListFile, ImageListFile, LibraryFileName, RecentFileName, "StvHelp.txt",
        "test.html", "Recovery" };
    for (const std::string_view name : names) {
        if (name == bareName)
            return true;
    }
    return false;
}

Result<MediaType> checkCompanionFile(
    const std::string &path, MediaKind wanted, const CompanionContext &context)
{
    const auto refuse = [&](const std::string &why, bool missing = false) {
        return fail(why + ": " + path, missing);
    };
    const std::string_view name = bareName(path);
    if (name.empty() || name[0] == '.')
        return refuse("a hidden file");
    if (isProgramFileName(name))
        return refuse("one of Sitorva's own files");
    const std::string real = resolved(path);
    if (!context.projectFile.empty()
        && (real == resolved(context.projectFile) || sameFile(path, context.projectFile)))
        return refuse("the project file");
    std::string home = context.homeFolder;
    if (home.empty()) {
        const char *env = std::getenv("HOME");
        home = env != nullptr ? env : "";
    }
    if (!home.empty()) {
        const std::string realHome = resolved(home);
        if (isUnder(real, realHome + "/.ssh") || isUnder(real, realHome + "/.gnupg"))
            return refuse("in a folder of keys");
    }
    struct stat info {
    };
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
        && static_cast<std::uint64_t>(info.st_size) > CompanionFileLimit)
        return refuse("larger than 256 MB");
    const Result<std::string> head = readFileHead(path);
    if (!head)
        return head.missing() ? refuse("missing", true) : fail(head.error());
    if (holdsPrivateKey(head.value()))
        return refuse("holds a private key");
    const MediaType type = sniffMedia(head.value());
    if (type.kind == MediaKind::Other || (wanted != MediaKind::Other && type.kind != wanted))
        return refuse(std::string("not ") + kindWord(wanted));
    return type;
}

} // namespace stv
