// A newcomer's first page, driven through the real windows as a user drives them: from an
// empty program folder to the wizard's Select page, three sections typed and chosen, the
// project saved, the web page created in a new folder with its picture beside it, and the
// project named in the recent list. Every modal question is answered by ScriptedDialogs; the
// desktop shell is a fake that records what would have been opened.
#include "core/files/FileIO.h"
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/ProgramWindows.h"
#include "support/FakeShell.h"
#include "support/QtTestApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace stv;

namespace
{

// The program's windows, made as the program's entry makes them, and shown.
struct Program : ProgramWindows {
    Program() { window.show(); }
};

class RoadOfOnePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("program")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("work")));
        setProgramFolder(path(QStringLiteral("program")));
        m_program = std::make_unique<Program>();
    }
    void TearDown() override
    {
        m_program.reset();
        setProgramFolder(QString());
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }
    WizardWindow &window() { return m_program->window; }

    template <class T>
    T *child(const char *name)
    {
        T *w = window().findChild<T *>(QString::fromLatin1(name));
        if (w == nullptr)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
    void click(const char *name)
    {
        auto *button = child<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled() && button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QString position() { return child<QLabel>("PositionPanel")->text(); }
    int managerRows() { return m_program->sectionManager.display()->model()->rowCount(); }

    // On the Select page: choose a kind by its row and press "&Accept".
    void addSection(int kindRow)
    {
        ASSERT_EQ(window().visiblePage(), WizardWindow::SelectIndex);
        auto *box = child<QListWidget>("SelectBox");
        QTest::mouseClick(
            box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(kindRow)).center());
        ASSERT_EQ(box->currentRow(), kindRow);
        click("Acceptbtn");
    }
    // Replaces a text control's content as typing over a selection does.
    template <class Edit>
    void typeOver(Edit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // The road up to a saved project; returns its path.
    QString walkToSavedProject()
    {
        // A picture of the user's own, somewhere outside the project's folder.
        EXPECT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("pictures")));
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        EXPECT_TRUE(photo.save(path(QStringLiteral("pictures/photo.png"))));

        EXPECT_EQ(window().visiblePage(), WizardWindow::IntroductionIndex);
        click("Nextbtn");
        typeOver(child<QLineEdit>("TitleEdit"), QStringLiteral("My first page"));
        click("Nextbtn");
        click("Nextbtn");
        EXPECT_EQ(window().visiblePage(), WizardWindow::SelectIndex);
        EXPECT_EQ(managerRows(), 4);

        addSection(0);
        EXPECT_EQ(window().visiblePage(), WizardWindow::sectionPageIndex(KindPos::Heading));
        EXPECT_EQ(managerRows(), 5);
        EXPECT_TRUE(window().projectChanged());
        typeOver(child<QLineEdit>("HeadingEdit"), QStringLiteral("Hello from Sitorva"));
        click("Nextbtn");

        // Colour 0 of the Colour List is red; the list is what a "{c0}" mark refers to.
        window().favouriteLists().colours = { "255" };
        addSection(1);
        EXPECT_EQ(window().visiblePage(), WizardWindow::sectionPageIndex(KindPos::Paragraph));
        typeOver(child<QPlainTextEdit>("ParaMemo"), QStringLiteral("Some {c0}red{c/} words."));
        click("Nextbtn");

        addSection(2);
        EXPECT_EQ(window().visiblePage(), WizardWindow::sectionPageIndex(KindPos::Image));
        m_script.queueText(path(QStringLiteral("pictures/photo.png")));
        click("ImageImg");
        EXPECT_EQ(
            child<QLineEdit>("ImageEdit")->text(), path(QStringLiteral("pictures/photo.png")));
        typeOver(child<QLineEdit>("AltTextEdit"), QStringLiteral("A photo"));
        click("Nextbtn");
        EXPECT_EQ(window().visiblePage(), WizardWindow::SelectIndex);
        EXPECT_EQ(managerRows(), 7);

        // "&Save" of a project never saved asks where, as "Save &As" does.
        const QString project = path(QStringLiteral("work/first.stv"));
        m_script.queueText(project);
        click("SaveImg");
        EXPECT_TRUE(QFileInfo::exists(project));
        EXPECT_FALSE(window().projectChanged());
        return project;
    }

    QTemporaryDir m_dir;
    ScriptedDialogs m_script;
    test::FakeShell m_shell;
    std::unique_ptr<Program> m_program;
};

TEST_F(RoadOfOnePage, FromEmptyFolderToPageBesideItsPicture)
{
    const QString project = walkToSavedProject();
    ASSERT_FALSE(HasFatalFailure());

    Project saved;
    ASSERT_TRUE(loadProjectFile(project.toStdString(), saved).ok());
    EXPECT_EQ(saved.pageTitle, "My first page");
    ASSERT_EQ(saved.sections.size(), 3u);
    EXPECT_EQ(splitFields(saved.sections[0], 2)[2], "Hello from Sitorva");
    EXPECT_EQ(splitFields(saved.sections[1], 2)[2], "Some {c0}red{c/} words.");
    EXPECT_EQ(splitFields(saved.sections[2], 2)[0], "Image");

    // The recent list in the program folder names the project.
    std::vector<std::string> recent;
    Result<std::vector<std::string>> recentRead
        = readLinesFile(path(QStringLiteral("program/PWP")).toStdString());
    ASSERT_TRUE(recentRead.ok());
    recent = std::move(recentRead.value());
    ASSERT_FALSE(recent.empty());
    EXPECT_EQ(recent.front(), recentEntry(project.toStdString()));

    // "&Create Web Page" into a new folder: confirm, choose the file, do not test it now.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("site")));
    const QString page = path(QStringLiteral("site/index.html"));
    m_script.queue(Answer::Ok);
    m_script.queueText(page);
    m_script.queue(Answer::No);
    click("CreateImg");
    EXPECT_TRUE(m_script.unexpected().empty())
        << (m_script.unexpected().empty() ? "" : m_script.unexpected().front().toStdString());
    EXPECT_EQ(m_script.pending(), 0u);
    EXPECT_TRUE(m_script.messages().empty())
        << (m_script.messages().empty() ? "" : m_script.messages().front().toStdString());

    std::string html;
    Result<std::string> htmlRead = readWholeFile(page.toStdString());
    ASSERT_TRUE(htmlRead.ok()) << "no page written";
    html = std::move(htmlRead.value());
    // A new user's first page has the modern style.
    EXPECT_NE(html.find("<title>My first page</title>"), std::string::npos) << html;
    EXPECT_NE(html.find("Hello from Sitorva"), std::string::npos);
    EXPECT_NE(html.find("Some <span style=\"color:#FF0000\">red</span> words."), std::string::npos)
        << html;
    EXPECT_NE(html.find("src=\"photo.png\""), std::string::npos) << html;
    EXPECT_NE(html.find("A photo"), std::string::npos);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("site/photo.png"))))
        << "the picture was not copied beside the page";

    // The folder was shown; the page was not opened, since the answer was No.
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_TRUE(m_shell.calls.front().contains(QStringLiteral("site")))
        << m_shell.calls.front().toStdString();
    EXPECT_EQ(window().project().pageFileName, page.toStdString());
}

// Presses "&Accept" on item 0 of the decision box once it shows; closes any other modal
// window so that a test can never hang on one.
class DecisionBoxAnswerer : public QObject
{
public:
    DecisionBoxAnswerer()
    {
        connect(&m_timer, &QTimer::timeout, this, &DecisionBoxAnswerer::poll);
        m_timer.start(50);
        m_clock.start();
    }
    bool answered = false;

private:
    void poll()
    {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top->windowTitle() != QStringLiteral("It`s decision time..."))
                continue;
            for (auto *item : top->findChildren<QRadioButton *>())
                if (item->text() == QStringLiteral("Open your last web page project"))
                    QTest::mouseClick(item, Qt::LeftButton);
            for (auto *button : top->findChildren<QPushButton *>())
                if (button->text() == QStringLiteral("&Accept")) {
                    answered = true;
                    m_timer.stop();
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
        }
        if (m_clock.elapsed() > 5000) {
            m_timer.stop();
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        }
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
};

// Quit and start again: the decision box offers the project just saved, and item 0 loads it.
TEST_F(RoadOfOnePage, StartingAgainOffersTheProject)
{
    const QString project = walkToSavedProject();
    ASSERT_FALSE(HasFatalFailure());
    // Quit as the user does; nothing is unsaved, so nothing is asked.
    window().close();
    EXPECT_TRUE(m_script.unexpected().empty());
    m_program.reset();

    m_program = std::make_unique<Program>();
    EXPECT_TRUE(window().projectFileName().isEmpty());
    // About a second after start-up the timer runs the decision.
    DecisionBoxAnswerer answerer;
    window().startDecisionTimer();
    QElapsedTimer clock;
    clock.start();
    while (window().projectFileName() != project && clock.elapsed() < 6000)
        QTest::qWait(20);
    EXPECT_TRUE(answerer.answered) << "the decision box did not show";
    EXPECT_EQ(window().projectFileName(), project);
    EXPECT_EQ(window().project().sections.size(), 3u);
}

} // namespace
