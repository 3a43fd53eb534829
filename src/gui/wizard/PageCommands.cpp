#include "gui/wizard/PageCommands.h"

#include "core/page/CompanionFiles.h"
#include "core/page/FileCopy.h"
#include "core/page/LastPages.h"
#include "core/page/PageGenerator.h"
#include "core/page/PageStyle.h"
#include "core/settings/Settings.h"
#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/LaunchFile.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LaunchBox.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace stv
{

namespace
{

const char *const ConfirmCreateText
    = "This option will take the current Sitorva Project and\n"
      "save it as a proper html file that can then be uploaded\n"
      "to your web site.\n"
      "\n"
      "Any images that this web page requires will be copied to\n"
      "the same directory that the web page is created in unless\n"
      "you have unchecked the Import Image box.\n"
      "\n"
      "You are advised to create/use an empty directory as this will\n"
      "make things easier when you upload to your web space.\n"
      "\n"
      "Also, you do not need to use the same name for the web page\n"
      "as you used for the *.stv project file.  The name you use for\n"
      "creating this web page will be saved as part of your project.\n"
      "By default the same name will be used, so index.stv will create\n"
      "an html file called index.html, unless you specify otherwise.\n"
      "\n"
      "Read chapter Creating Your Web Page for more information.\n"
      "\n"
      "Are you ready to create your web page?";

// Writes the page; nothing (after the error box) when it could not be written. Otherwise the
// lines about pictures that could not be made or copied, empty when there were none.
std::optional<QString> writePage(QWidget *parent, const Project &project,
    const FavouriteLists &lists, const PageOptions &options, const PageRequest &request)
{
    // The modern page's pictures are made ready for the web; the classic page's are copied.
    std::string pictureWarning;
    const std::unique_ptr<PicturePreparer> pictures
        = picturesForPage(options.style == PageStyle::Modern, request.importRequested,
            QFile::encodeName(programFolder()).toStdString(), pictureWarning);
    PageRequest withPictures = request;
    withPictures.webReadyPictures = pictures.get();
    DiskCopier copier;
    const PageResult result = writePageFile(project, lists, options, withPictures, copier);
    QString copyText;
    if (!pictureWarning.empty())
        copyText += QLatin1Char('\n') + QString::fromStdString(pictureWarning);
    if (!result) {
        // The failure names the files that could not be copied either.
        QString text = QString::fromStdString(result.error());
        if (!copyText.isEmpty())
            text += QStringLiteral("\n") + copyText;
        Dialogs::error(parent, text);
        return std::nullopt;
    }
    for (const std::string &line : result.value().copyFailures)
        copyText += QLatin1Char('\n') + QString::fromStdString(line);
    if (copyText.isEmpty())
        return QString();
    return QStringLiteral("These files could not be copied beside it:") + copyText;
}

// The page written last in this run: a project never saved has no place in the settings.
std::string &pageWrittenThisRun()
{
    static std::string page;
    return page;
}

std::string settingsFolder()
{
    return QFile::encodeName(programFolder()).toStdString();
}

// Remembers the page the project wrote; the error text when the settings could not be kept.
QString rememberPage(const QString &projectFileName, const std::string &page)
{
    pageWrittenThisRun() = page;
    if (projectFileName.isEmpty())
        return {};
    Result<Settings> settings = loadSettings(settingsFolder());
    if (!settings)
        return QString::fromStdString(settings.error());
    Settings changed = settings.value();
    rememberLastPage(changed, pathToBytes(projectFileName), page);
    if (const Result<> saved = saveSettings(settingsFolder(), changed); !saved)
        return QString::fromStdString(saved.error());
    return {};
}

PageRequest makeRequest(
    bool importRequested, const QString &pageFile, const QString &projectFileName)
{
    PageRequest request = createPageRequest(QFile::encodeName(pageFile).toStdString(),
        QFile::encodeName(projectFileName).toStdString());
    request.importRequested = importRequested;
    return request;
}

} // namespace

void runCreateWebPage(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName)
{
    if (Dialogs::confirm(parent, QString::fromLatin1(ConfirmCreateText), Buttons::NoOk)
        != Answer::Ok)
        return;
    // The page the project wrote last is known even when the project was not saved since:
    // its folder is proposed again, and replacing it is the expected answer.
    std::string ownPage;
    if (!projectFileName.isEmpty())
        if (const Result<Settings> settings = loadSettings(settingsFolder()))
            ownPage = lastPageOf(settings.value(), pathToBytes(projectFileName));
    if (ownPage.empty() && !project.pageFileName.empty()
        && project.pageFileName == pageWrittenThisRun())
        ownPage = project.pageFileName;
    project.pageFileName = proposedPageFile(pathToBytes(projectFileName),
        project.pageFileName.empty() ? ownPage : project.pageFileName,
        pathToBytes(QDir::homePath()));
    const QString chosen = Dialogs::askSaveFile(parent, QStringLiteral("Create your web page as.."),
        pathFromBytes(project.pageFileName), QStringLiteral(".html"),
        QStringLiteral("html file (*.html)|*.html"), pathFromBytes(ownPage));
    if (chosen.isEmpty())
        return;
    project.pageFileName = pathToBytes(chosen);

    const std::optional<QString> copyNotes
        = writePage(parent, project, lists, options, makeRequest(true, chosen, projectFileName));
    if (!copyNotes)
        return;

    // The page is there: that is said first. What went wrong around it is a line of the same
    // box, the folder that the desktop could not show included.
    QString notes;
    if (!copyNotes->isEmpty())
        notes += *copyNotes + QStringLiteral("\n\n");
    const QString name = pathFromBytes(fileNamePart(project.pageFileName));
    const QString folder = pathFromBytes(folderPart(project.pageFileName));
    if (const LaunchResult shown = launchFile(folder); !shown.ok)
        notes += QStringLiteral("The folder could not be shown: ") + shown.text
            + QStringLiteral("\n\n");
    if (const QString error = rememberPage(projectFileName, project.pageFileName); !error.isEmpty())
        notes += QStringLiteral("The page's folder will not be proposed next time: ") + error
            + QStringLiteral("\n\n");
    const QString question = QStringLiteral("Your web page has now been created as..\n\n\"") + name
        + QStringLiteral("\"  In Folder\n\"") + folder + QStringLiteral("\"\n\n") + notes
        + QStringLiteral("Do you want to test it?");
    if (Dialogs::confirm(parent, question, Buttons::NoOk) == Answer::Ok)
        launchOrSay(parent, chosen);
}

void runPreview(QWidget *parent, const Project &project, const FavouriteLists &lists,
    const PageOptions &options)
{
    const QString page = programFolder() + QStringLiteral("test.html");
    const std::optional<QString> notes
        = writePage(parent, project, lists, options, makeRequest(false, page, QString()));
    if (!notes)
        return;
    if (!notes->isEmpty())
        Dialogs::info(parent,
            QStringLiteral("The page was written, but ") + notes->at(0).toLower() + notes->mid(1));
    launchOrSay(parent, page);
}

} // namespace stv
