#pragma once
// What may stand beside a page: the page's own file name, and the pictures and sounds that are
// copied beside it and published with it. Projects come from strangers, so every stored name
// is checked here before a file is written, copied or sent.

#include "core/Result.h"
#include "core/files/MediaType.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stv
{

inline constexpr std::uint64_t CompanionFileLimit = std::uint64_t(256) << 20;

// A page's bare file name ends in ".html" or ".htm" (any case), does not start with "." and
// holds no "/": a stored name can then never make the page a shell's start-up file, a
// server's configuration or a script.
Result<> checkPageFileName(std::string_view name);
// A name that keeps that rule for a stored name that does not: its stem with ".html", or
// "index.html" when nothing of it can be kept.
std::string safePageFileName(std::string_view storedName);

// Where the window proposes to write the page (stored bytes, as the project holds paths): the
// stored page name, else the project's name with ".html"; a name that breaks the rule above
// gives way to safePageFileName, and a name without an absolute folder stands in the
// project's folder, or in `homeFolder` for a project never saved. So the proposal is never
// the program's folder, where a relative name would otherwise land.
std::string proposedPageFile(const std::string &projectFile, const std::string &storedPageName,
    const std::string &homeFolder);

// The names of the files the program keeps in its own folder; never copied or published.
bool isProgramFileName(std::string_view bareName);

struct CompanionContext {
    std::string projectFile; // native path of the open project: never copied beside the page
    std::string homeFolder; // where ".ssh" and ".gnupg" are looked for; empty: $HOME
};

// Whether the file at `path` (native) may be copied beside the page or published with it: a
// picture or a sound by its content (`wanted` Other accepts either), of at most
// CompanionFileLimit bytes, whose name does not start with ".", that is neither the project
// file, nor one of the program's own files, nor under ~/.ssh or ~/.gnupg, nor a private key.
// The failure's message names the file and the reason ("not a picture: PATH").
Result<MediaType> checkCompanionFile(
    const std::string &path, MediaKind wanted, const CompanionContext &context);

} // namespace stv
