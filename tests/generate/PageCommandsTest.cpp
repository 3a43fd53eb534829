// The two page commands driven through the dialog seam and a fake desktop shell.
#include "generate/PageCommands.h"

#include "model/Records.h"
#include "platform/Dialogs.h"
#include "platform/LaunchFile.h"
#include "platform/ProgramFolder.h"

#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>

using namespace stv;

namespace
{

class FakeShell : public ShellSeam
{
public:
    FakeShell() { SetShell(this); }
    ~FakeShell() override { SetShell(nullptr); }
    bool openUrl(const QUrl &url) override
    {
        opened << url.toString();
        return true;
    }
    bool startDetached(
        const QString &program, const QStringList &arguments, const QString &) override
    {
        started << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
        return true;
    }
    QStringList webBrowser() override
    {
        return { QStringLiteral("browser"), QStringLiteral("%u") };
    }
    QStringList opened;
    QStringList started;
};

struct Fixture : ::testing::Test {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    FakeShell shell;
    Project project;
    FavouriteLists lists;

    void SetUp() override
    {
        SetProgramFolder(dir.path() + QStringLiteral("/prog"));
        QDir(dir.path()).mkpath(QStringLiteral("prog"));
        QDir(dir.path()).mkpath(QStringLiteral("web"));
        std::ofstream(path("pic.png").toStdString(), std::ios::binary) << "PNG";
        project.sections = { JoinFields({ "Image", "u", path("pic.png").toStdString(), "", "", "",
                                 "", "0", "", "0", "", "1", "1" }),
            JoinFields({ "Image", "u", path("gone.png").toStdString(), "", "", "", "", "0", "", "0",
                "", "1", "1" }) };
    }
    void TearDown() override { SetProgramFolder(QString()); }
    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }
};

} // namespace

TEST_F(Fixture, CreateAnsweredNoDoesNothing)
{
    dialogs.queue(Answer::No);
    RunCreateWebPage(nullptr, project, lists, {});
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_TRUE(dialogs.asked()[0].text.startsWith(
        QStringLiteral("This option will take the current Sitorva Project and\nsave it")));
    EXPECT_TRUE(dialogs.asked()[0].text.endsWith(
        QStringLiteral("Read chapter Creating Your Web Page for more information.\n\nAre you "
                       "ready to create your web page?")));
    EXPECT_TRUE(project.pageFileName.empty());
}

TEST_F(Fixture, CreateCancelledKeepsTheProposal)
{
    dialogs.queue(Answer::Ok);
    dialogs.queueCancel();
    RunCreateWebPage(nullptr, project, lists, {});
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[1].what, QStringLiteral("save"));
    EXPECT_EQ(dialogs.asked()[1].initial, QStringLiteral("index.html"));
    EXPECT_EQ(project.pageFileName, "index.html");

    dialogs.clear();
    project.pageFileName.clear();
    dialogs.queue(Answer::Ok);
    dialogs.queueCancel();
    RunCreateWebPage(nullptr, project, lists, {}, QStringLiteral("/w/Home.STV"));
    EXPECT_EQ(dialogs.asked()[1].initial, QStringLiteral("/w/Home.html"));
}

TEST_F(Fixture, CreateWritesCopiesShowsFolderAndTests)
{
    const QString page = path("web/home.html");
    dialogs.queue(Answer::Ok);
    dialogs.queueText(page);
    dialogs.queue(Answer::Ok); // the list of files not copied
    dialogs.queue(Answer::Ok); // "Do you want to test it?"
    RunCreateWebPage(nullptr, project, lists, {}, path("home.stv"));

    EXPECT_EQ(project.pageFileName, page.toStdString());
    EXPECT_TRUE(QFile::exists(page));
    EXPECT_TRUE(QFile::exists(path("web/pic.png")));
    const std::vector<QString> infos = dialogs.messages();
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_TRUE(infos[0].contains(QStringLiteral("gone.png")));
    EXPECT_FALSE(infos[0].contains(QStringLiteral("pic.png")));

    ASSERT_EQ(shell.opened.size(), 1);
    EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(path("web/")).toString());
    EXPECT_EQ(dialogs.asked().back().text,
        QStringLiteral("Your web page has now been created as..\n\n\"home.html\"  In "
                       "Folder\n\"")
            + path("web/") + QStringLiteral("\"\n\nDo you want to test it?"));
    ASSERT_EQ(shell.started.size(), 1);
    EXPECT_EQ(shell.started[0], QStringLiteral("browser ") + QUrl::fromLocalFile(page).toString());
    EXPECT_TRUE(dialogs.unexpected().empty());
}

TEST_F(Fixture, CreateReportsAPageThatCannotBeWritten)
{
    const QString page = path("missing/home.html");
    dialogs.queue(Answer::Ok);
    dialogs.queueText(page);
    dialogs.queue(Answer::Ok);
    RunCreateWebPage(nullptr, project, lists, {});
    EXPECT_EQ(
        dialogs.messages(), std::vector<QString> { QStringLiteral("Cannot create file ") + page });
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_TRUE(shell.started.isEmpty());
    EXPECT_FALSE(QFile::exists(path("missing/pic.png")));
}

TEST_F(Fixture, PreviewWritesTestPageAndOpensItInTheBrowser)
{
    RunPreview(nullptr, project, lists, {});
    const QString page = path("prog/test.html");
    ASSERT_TRUE(QFile::exists(page));
    EXPECT_FALSE(QFile::exists(path("prog/pic.png")));
    EXPECT_TRUE(dialogs.asked().empty());
    ASSERT_EQ(shell.started.size(), 1);
    EXPECT_EQ(shell.started[0], QStringLiteral("browser ") + QUrl::fromLocalFile(page).toString());
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains(("<IMG SRC=\"" + path("pic.png") + "\" >").toUtf8()));
}
