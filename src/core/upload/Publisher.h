#pragma once
// Publishing a page into the client's current remote folder: only what changed since the
// last publish to that folder is sent, the pictures and sounds first and the page last, under
// a temporary name renamed over the old page, so visitors never see a page half-written or
// without its pictures. What was sent is recorded in the folder (PublishManifest) and checked
// against the folder's listing, so files changed or deleted by others are sent again.

#include "core/upload/FtpClient.h"

#include <functional>
#include <string>
#include <vector>

namespace stv
{

struct PublishItem {
    std::string localPath; // native path
    std::string remoteName;
    // What tells whether the file changed, when not its SHA-256: a page is the same page
    // whatever its "Site Last Updated" time says.
    std::string identity;
};

struct PublishFailure {
    std::string name;
    std::string reason;
};

struct PublishRequest {
    std::vector<PublishItem> files; // the files the page refers to
    PublishItem page;
    bool dryRun = false; // only find out what would be sent
    // Files the page refers to that may not be published (not a picture or sound, a key, the
    // project file ...), with the reason; never sent, named in the report.
    std::vector<PublishFailure> skipped;
};

struct PublishProgress {
    long long bytesDone = 0;
    long long bytesTotal = 0; // of the files that are sent
    int filesDone = 0;
    int filesTotal = 0;
    std::string current; // remote name of the file on its way
};
// Called on the publishing thread.
using PublishProgressFn = std::function<void(const PublishProgress &)>;

struct PublishReport {
    bool ok = false; // the folder could be read and the work was done (failures below)
    std::string error; // why nothing could be done
    FtpProblem problem = FtpProblem::None;
    bool cancelled = false;
    std::vector<std::string> uploaded; // dry run: what would be sent
    std::vector<std::string> unchanged;
    std::vector<PublishFailure> failed;
    std::vector<PublishFailure> skipped; // from the request: never sent
    std::vector<std::string> notes;
    bool recordWritten = false; // the manifest was sent
};

// The client must be logged in and standing in the target folder.
PublishReport publishPage(
    FtpClient &client, const PublishRequest &request, const PublishProgressFn &progress = {});

// "N uploaded, M unchanged, K failed", and ", L left out" when files were left out.
std::string publishCounts(const PublishReport &report);
// The counts, then one line per failure ("name: reason"), the files left out and the notes,
// for the user.
std::string publishReportText(const PublishReport &report);
// The temporary name a page is sent under before it is renamed over the old one.
std::string temporaryName(const std::string &remoteName);

} // namespace stv
