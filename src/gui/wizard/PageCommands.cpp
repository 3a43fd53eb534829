#include "gui/wizard/PageCommands.h"

#include "core/page/CompanionFiles.h"
#include "core/page/FileCopy.h"
#include "core/page/PageGenerator.h"
#include "core/page/PageStyle.h"
#include "core/text/TextTools.h"
#include "gui/desktop/Encoding.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/LaunchBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Writes the page; false (after the error box) when it could not be written. The files that
// could not be copied are listed whatever happened to the page.
bool writePage(QWidget *parent, const Project &project, const FavouriteLists &lists,
    const PageOptions &options, const PageRequest &request)
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
        return false;
    }
    for (const std::string &line : result.value().copyFailures)
        copyText += QLatin1Char('\n') + QString::fromStdString(line);
    if (!copyText.isEmpty())
        Dialogs::info(parent,
            QStringLiteral("The page was written, but these files could not be copied "
                           "beside it:\n")
                + copyText);
    return true;
}

PageRequest makeRequest(
    bool importRequested, const QString &pageFile, const QString &projectFileName)
{
    PageRequest request;
    request.importRequested = importRequested;
    request.pageFile = pageFile.toStdString();
    if (!projectFileName.isEmpty()) {
        request.sourceFolder = QFileInfo(projectFileName).absolutePath().toStdString();
        request.projectFile = projectFileName.toStdString();
    }
    request.when = generationTimeNow();
    request.names = systemDateNames();
    return request;
}

} // namespace

void runCreateWebPage(QWidget *parent, Project &project, const FavouriteLists &lists,
    const PageOptions &options, const QString &projectFileName)
{
    if (Dialogs::confirm(parent, QString::fromLatin1(ConfirmCreateText), Buttons::NoOk)
        != Answer::Ok)
        return;
    project.pageFileName = proposedPageFile(
        pathToBytes(projectFileName), project.pageFileName, pathToBytes(QDir::homePath()));
    const QString chosen = Dialogs::askSaveFile(parent, QStringLiteral("Create your web page as.."),
        pathFromBytes(project.pageFileName), QStringLiteral(".html"),
        QStringLiteral("html file (*.html)|*.html"));
    if (chosen.isEmpty())
        return;
    project.pageFileName = pathToBytes(chosen);

    if (!writePage(parent, project, lists, options, makeRequest(true, chosen, projectFileName)))
        return;

    // A folder the desktop cannot show leaves the written page in place; the test follows.
    const QString name = pathFromBytes(fileNamePart(project.pageFileName));
    const QString folder = pathFromBytes(folderPart(project.pageFileName));
    launchOrSay(parent, folder);
    const QString question = QStringLiteral("Your web page has now been created as..\n\n\"") + name
        + QStringLiteral("\"  In Folder\n\"") + folder
        + QStringLiteral("\"\n\nDo you want to test it?");
    if (Dialogs::confirm(parent, question, Buttons::NoOk) == Answer::Ok)
        launchOrSay(parent, chosen);
}

void runPreview(QWidget *parent, const Project &project, const FavouriteLists &lists,
    const PageOptions &options)
{
    const QString page = programFolder() + QStringLiteral("test.html");
    if (writePage(parent, project, lists, options, makeRequest(false, page, QString())))
        launchOrSay(parent, page);
}

} // namespace stv
