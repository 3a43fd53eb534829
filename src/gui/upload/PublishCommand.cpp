#include "gui/upload/PublishCommand.h"

#include "core/page/CompanionFiles.h"
#include "core/page/GenerationTime.h"
#include "core/page/PageStyle.h"
#include "core/text/Cp1252.h"
#include "core/upload/PageFiles.h"
#include "gui/check/ProjectCheck.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/upload/UploadWindow.h"
#include "gui/wizard/PageCommands.h"

#include <QFile>

namespace stv
{

namespace
{

PageCheck checkPage(const Project &project, const FavouriteLists &lists, const PageOptions &options,
    const QString &projectFileName)
{
    PageRequest request = createPageRequest(
        nativePath(project.pageFileName), QFile::encodeName(projectFileName).toStdString());
    // The page shows the pictures made for it when it is modern: they are what is compared
    // and sent.
    std::string pictureWarning;
    const std::unique_ptr<PicturePreparer> pictures
        = picturesForPage(options.style == PageStyle::Modern, true,
            QFile::encodeName(programFolder()).toStdString(), pictureWarning);
    request.webReadyPictures = pictures.get();
    const CompanionContext context { QFile::encodeName(projectFileName).toStdString(), {} };
    return checkCreatedPage(project, lists, options, request, context);
}

// The page goes to the server under a name that can only be a page: a stored ".htaccess" or
// "x.php" would make it the server's configuration or a script. The user is offered a safe
// name instead; nothing when declined.
std::optional<PublishRequest> withPublishablePageName(QWidget *parent, PublishRequest request)
{
    const Result<> named = checkPageFileName(request.page.remoteName);
    if (named)
        return request;
    const std::string proposal = safePageFileName(request.page.remoteName);
    const QString question = QString::fromStdString(named.error())
        + QStringLiteral(", so the page cannot be published under it.\n\nPublish it as %1?")
              .arg(QString::fromStdString(proposal));
    if (Dialogs::confirm(parent, question, Buttons::NoOk) != Answer::Ok)
        return std::nullopt;
    request.page.remoteName = proposal;
    return request;
}

void showUploadWindowFor(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName, bool publishAtOnce)
{
    const FtpSettings before { project.ftpHost, project.ftpUserId, project.ftpPassword,
        project.ftpInitDir, project.keepPasswordInFile };
    PublishPreparer preparer = [parent, &project, &lists, options, projectFileName] {
        return preparePublish(parent, project, lists, options, projectFileName);
    };
    const FtpSettings after = showUploadWindow(parent, before, preparer, publishAtOnce);
    project.ftpHost = after.host;
    project.ftpUserId = after.userId;
    project.ftpPassword = after.password;
    project.ftpInitDir = after.initDir;
    project.keepPasswordInFile = after.keepPasswordInFile;
}

} // namespace

std::optional<PublishRequest> preparePublish(QWidget *parent, Project &project,
    const FavouriteLists &lists, const PageOptions &options, const QString &projectFileName)
{
    // What a visitor would find wrong is shown first; the user decides whether to go on.
    const std::vector<Problem> problems
        = checkOpenProject(project, lists, projectFileName, options.style).problems;
    if (!problems.empty()) {
        const QString question
            = (problems.size() == 1 ? QStringLiteral("Check My Page found a problem:\n\n")
                                    : QStringLiteral("Check My Page found %1 problems:\n\n")
                                          .arg(static_cast<int>(problems.size())))
            + problemSummary(problems) + QStringLiteral("\nPublish the page all the same?");
        if (Dialogs::confirm(parent, question, Buttons::NoOk) != Answer::Ok)
            return std::nullopt;
    }
    PageCheck check = checkPage(project, lists, options, projectFileName);
    if (check.upToDate)
        return withPublishablePageName(parent, check.request);
    const QString question = QString::fromStdString(check.reason)
        + QStringLiteral("\n\nCreate Web Page first, then publish it?");
    if (Dialogs::confirm(parent, question, Buttons::NoOk) != Answer::Ok)
        return std::nullopt;
    runCreateWebPage(parent, project, lists, options, projectFileName);
    check = checkPage(project, lists, options, projectFileName);
    if (!check.upToDate)
        return std::nullopt;
    return withPublishablePageName(parent, check.request);
}

void runUploadWindow(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName)
{
    showUploadWindowFor(parent, project, lists, options, projectFileName, false);
}

void runPublish(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName)
{
    showUploadWindowFor(parent, project, lists, options, projectFileName, true);
}

} // namespace stv
