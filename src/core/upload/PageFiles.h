#pragma once
// The files a generated page needs on the server: the page and what the generator copied
// beside it. A RecordingCopier notes every copy of a generation run; checkCreatedPage runs
// the generator without writing anything to learn whether the page on disk still shows the
// project as it is now.

#include "core/page/CompanionFiles.h"
#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "core/upload/Publisher.h"

#include <string>
#include <vector>

namespace stv
{

// Passes copies on to another copier (or, without one, copies nothing) and notes them.
class RecordingCopier : public FileCopier
{
public:
    explicit RecordingCopier(FileCopier *inner = nullptr)
        : m_inner(inner)
    {
    }
    CopyResult copy(const std::string &from, const std::string &to) override;

    struct Copy {
        std::string from;
        std::string to;
    };
    const std::vector<Copy> &copies() const { return m_copies; }

private:
    FileCopier *m_inner;
    std::vector<Copy> m_copies;
};

// A page's identity for publishing: the SHA-256 of the page without its "Site Last Updated"
// line, so a page generated again unchanged is not sent again. Empty when it cannot be read.
std::string pageIdentity(const std::string &pageFile);

// The page (sent last) and every file copied beside it, each under its bare name; sent from
// beside the page, or with fromSources from where the copies were made from. A file that is
// not a picture or sound that may go with a page (checkCompanionFile, for the file sent and
// the file it was copied from) goes to request.skipped instead.
PublishRequest publishRequestFor(const std::string &pageFile, const RecordingCopier &copier,
    const CompanionContext &context, bool fromSources = false);

struct PageCheck {
    bool upToDate = false;
    std::string reason; // why not, for the user
    PublishRequest request; // what publishing the page sends
};

// Whether request.pageFile holds the page the project gives now (the "Site Last Updated"
// time aside) and every file beside it is there and not older than its source.
PageCheck checkCreatedPage(const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request, const CompanionContext &context);

} // namespace stv
