// The main window driven like a user: pages, records, text options and project commands.
#include "gui/wizard/WizardWindow.h"
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/TextTools.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/desktop/Sound.h"
#include "gui/dialogs/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "support/FullFileSystem.h"

using namespace stv;

namespace
{

class FakePlayer : public SoundPlayer
{
public:
    void playFile(const QString &path) override { played << QStringLiteral("file:") + path; }
    void playSystemSound(const QString &name) override
    {
        played << QStringLiteral("system:") + name;
    }
    QStringList played;
};

// Counts the configuration saves that closing the window runs.
class CountingTSV : public WizardWindow
{
public:
    int configurationSaves = 0;

protected:
    void saveConfiguration() override { ++configurationSaves; }
};

std::string rec(const std::vector<std::string> &fields)
{
    return joinFields(fields);
}

} // namespace

class WizardWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_script;
    std::unique_ptr<CountingTSV> m_w;
    FakePlayer m_player;

    template <class T>
    T *child(const char *name)
    {
        T *w = m_w->findChild<T *>(QString::fromLatin1(name));
        if (w == nullptr)
            qFatal("no child %s", name);
        return w;
    }
    void click(const char *name)
    {
        QAbstractButton *b = child<QAbstractButton>(name);
        QVERIFY2(b->isEnabled() && b->isVisible(), name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void trigger(const char *name) { child<QAction>(name)->trigger(); }
    QString position() { return child<QLabel>("PositionPanel")->text(); }
    QString labelPanel() { return child<QLabel>("LabelPanel")->text(); }
    QString path(const QString &name) { return m_dir->filePath(name); }
    const std::vector<std::string> &sections() { return m_w->project().sections; }

    // Writes a project of these records and loads it into the window.
    void load(
        const std::vector<std::string> &records, const QString &name = QStringLiteral("p.stv"))
    {
        Project p;
        p.sections = records;
        QVERIFY(saveProjectFile(path(name).toStdString(), p).ok());
        QVERIFY(m_w->loadProjectFromPath(path(name)));
    }
    void goTo(int position)
    {
        while (m_w->currentSection() < position)
            click("Nextbtn");
    }
    std::vector<std::string> fields(int index, int last = 20)
    {
        return splitFields(sections()[static_cast<std::size_t>(index)], last);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        setProgramFolder(m_dir->path());
        m_script = std::make_unique<ScriptedDialogs>();
        setSoundPlayer(&m_player);
        m_player.played.clear();
        m_w = std::make_unique<CountingTSV>();
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }

    void cleanup()
    {
        if (m_script)
            QVERIFY2(m_script->unexpected().empty(),
                qPrintable(m_script->unexpected().empty() ? QString() : m_script->unexpected()[0]));
        m_w.reset();
        m_script.reset();
        setSoundPlayer(nullptr);
        setProgramFolder({});
    }

    void emptyProjectWalksToSelectAndBack()
    {
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));
        QCOMPARE(position(), QStringLiteral("Section 0, Introducing Sitorva 98...."));
        QVERIFY(!child<QPushButton>("Backbtn")->isEnabled());
        QVERIFY(!child<QPushButton>("LabBtn")->isEnabled());
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 1, Create a title."));
        QCOMPARE(child<QLineEdit>("TitleEdit")->text(),
            QStringLiteral("Your web pages title (Change me)"));
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 2, Select background colour/image."));
        QVERIFY(child<QCheckBox>("ImportBGImageCB")->isChecked());
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 3, Select next stage."));
        QCOMPARE(m_w->visiblePage(), int(WizardWindow::SelectIndex));
        QVERIFY(!child<QPushButton>("Nextbtn")->isEnabled());
        QVERIFY(!m_w->projectChanged());

        // Heading is chosen at start-up.
        click("Acceptbtn");
        QCOMPARE(sections().size(), 1u);
        QCOMPARE(position(), QStringLiteral("Section 3, Heading"));
        QCOMPARE(labelPanel(), QStringLiteral("Untitled"));
        QCOMPARE(
            child<QLineEdit>("HeadingEdit")->text(), QStringLiteral("Insert Your Heading Here!"));
        QCOMPARE(child<QButtonGroup>("HeadSizeRGGroup")->checkedId(), 2);
        QVERIFY(child<QPushButton>("LabBtn")->isEnabled());
        QVERIFY(m_w->projectChanged());

        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 4, Select next stage."));
        QCOMPARE(sections()[0],
            rec({ "Heading", "Untitled", "Insert Your Heading Here!", "2", "0", "0", "0", "0", "0",
                "0" }));

        // A double click on an item appends that kind.
        auto *box = child<QListWidget>("SelectBox");
        QListWidgetItem *para = box->item(1);
        box->setCurrentItem(para);
        emit box->itemDoubleClicked(para);
        QCOMPARE(position(), QStringLiteral("Section 4, Paragraph"));
        QCOMPARE(fields(1)[field::ParaText], std::string("Insert Your Paragraph Here!"));

        click("Backbtn");
        click("Backbtn");
        QCOMPARE(position(), QStringLiteral("Section 2, Select background colour/image."));
        QCOMPARE(labelPanel(), QString());
        QCOMPARE(sections().size(), 2u);
    }

    void acceptDoesNothingWithoutChoiceOrOffTheSelectPage()
    {
        m_w->acceptSection();
        QVERIFY(sections().empty());
        goTo(0);
        child<QListWidget>("SelectBox")->clearSelection();
        click("Acceptbtn");
        QVERIFY(sections().empty());
    }

    void headingWithMissingFieldsShowsDefaultsAndStoresAllFields()
    {
        load({ rec({ "Heading", "Lbl", "Hi", "4" }) });
        goTo(0);
        QCOMPARE(child<QButtonGroup>("HeadSizeRGGroup")->checkedId(), 4);
        for (const char *name : { "BoldCheck", "ItalicCheck", "UnderlineCheck", "StrikeOutCheck" })
            QVERIFY(!child<QCheckBox>(name)->isChecked());
        QCOMPARE(child<QButtonGroup>("AllignRGGroup")->checkedId(), 0);
        QCOMPARE(child<QLabel>("Panel2")->property("colourValue").toInt(), 0);
        click("Nextbtn");
        QCOMPARE(sections()[0], rec({ "Heading", "Lbl", "Hi", "4", "0", "0", "0", "0", "0", "0" }));
    }

    void memoLineBreaksBothWays()
    {
        load(
            { rec({ "Paragraph", "a", "a{lf13}{lf10}b", "2" }), rec({ "Paragraph", "b", "x", "2" }),
                rec({ "HTML", "c", "a{LF10}b" }), rec({ "Index", "d", "", "2" }) });
        goTo(0);
        QCOMPARE(child<QPlainTextEdit>("ParaMemo")->toPlainText(), QStringLiteral("a\nb"));
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ParaText], std::string("a{lf13}{lf10}b"));
        click("Nextbtn");
        QCOMPARE(fields(1)[field::ParaText], std::string("x"));
        QCOMPARE(child<QPlainTextEdit>("HTMLMemo")->toPlainText(), QStringLiteral("a\nb"));
        click("Nextbtn");
        QCOMPARE(fields(2)[field::HTMLCode], std::string("a{lf13}{lf10}b"));

        // Two typed lines in each memo are stored with CR LF between them.
        auto type = [](QWidget *memo) {
            QTest::keyClicks(memo, QStringLiteral("one"));
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, QStringLiteral("two"));
        };
        type(child<QPlainTextEdit>("IndexMemo"));
        click("Nextbtn");
        QCOMPARE(fields(3)[field::IndexLines], std::string("one{lf13}{lf10}two"));
        click("Backbtn");
        click("Backbtn");
        QPlainTextEdit *html = child<QPlainTextEdit>("HTMLMemo");
        html->clear();
        type(html);
        click("Backbtn");
        QPlainTextEdit *para = child<QPlainTextEdit>("ParaMemo");
        para->clear();
        type(para);
        click("Backbtn");
        QCOMPARE(fields(1)[field::ParaText], std::string("one{lf13}{lf10}two"));
        QCOMPARE(fields(2)[field::HTMLCode], std::string("one{lf13}{lf10}two"));

        // Typed markers are not escaped: they come back as a line break.
        para = child<QPlainTextEdit>("ParaMemo");
        para->setPlainText(QStringLiteral("p{lf10}q"));
        click("Nextbtn");
        click("Backbtn");
        QCOMPARE(para->toPlainText(), QStringLiteral("p\nq"));
    }

    // A paragraph of 50 MB in one line opens on its page and is stored back within seconds.
    void hugeParagraphOpensWithinSeconds()
    {
        std::string text;
        text.reserve((50 << 20) + 16);
        while (text.size() < (50u << 20))
            text += "lorem ipsum ";
        load({ rec({ "Paragraph", "big", text, "2" }) });
        QElapsedTimer clock;
        clock.start();
        goTo(0);
        QVERIFY(!child<QPlainTextEdit>("ParaMemo")->grab().isNull());
        click("Nextbtn");
        // A guard against the whole-text layout that took minutes, not a speed check (the
        // sanitizer build alone takes twenty seconds here).
        qInfo(
            "50 MB paragraph shown and stored in %lld ms", static_cast<long long>(clock.elapsed()));
        QVERIFY2(clock.elapsed() < 120000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(fields(0)[field::ParaText] == text);
    }

    void dividerKeepsItsStoredLabel()
    {
        load({ rec({ "Divider", "d", "255", "20", "abc", "1" }) });
        goTo(0);
        QCOMPARE(child<QLabel>("DivThickLabel")->text(), QStringLiteral("20"));
        QCOMPARE(child<QSlider>("DivThickTB")->value(), 15);
        QCOMPARE(child<QLabel>("DivWidthLabel")->text(), QStringLiteral("abc"));
        QCOMPARE(child<QSlider>("DivWidthTB")->value(), 1);
        click("Nextbtn");
        QCOMPARE(sections()[0], rec({ "Divider", "d", "255", "20", "abc", "1" }));
        QVERIFY(!m_w->projectChanged());
        click("Backbtn");
        child<QSlider>("DivThickTB")->setValue(7);
        QCOMPARE(child<QLabel>("DivThickLabel")->text(), QStringLiteral("7"));
        click("Nextbtn");
        QCOMPARE(fields(0)[field::DividerThickness], std::string("7"));
    }

    void paragraphOutOfRangeKeepsPreviousTicks()
    {
        load({ rec({ "Paragraph", "a", "t", "5", "0", "0", "0", "0", "2" }),
            rec({ "Paragraph", "b", "u", "9", "0", "0", "0", "0", "7" }) });
        goTo(0);
        QVERIFY(child<QAction>("ParaSize5")->isChecked());
        QVERIFY(child<QAction>("ParaAlign2")->isChecked());
        click("Nextbtn");
        QVERIFY(child<QAction>("ParaSize5")->isChecked());
        QVERIFY(child<QAction>("ParaAlign2")->isChecked());
        click("Nextbtn");
        QCOMPARE(fields(1)[field::ParaSize], std::string("5"));
        QCOMPARE(fields(1)[field::ParaAlign], std::string("2"));
    }

    void textOptionsChangeTheMemoPreview()
    {
        load({ rec({ "Paragraph", "a", "t", "2" }) });
        goTo(0);
        QPlainTextEdit *memo = child<QPlainTextEdit>("ParaMemo");
        const qreal size = memo->font().pointSizeF();
        trigger("ParaBold");
        QVERIFY(memo->font().bold());
        trigger("ParaBold");
        QVERIFY(!child<QAction>("ParaBold")->isChecked());
        QVERIFY(!memo->font().bold());
        trigger("ParaItalic");
        QVERIFY(memo->font().italic());
        trigger("ParaSize5");
        for (int i = 0; i < 7; ++i)
            QCOMPARE(child<QAction>(qPrintable(QStringLiteral("ParaSize%1").arg(i)))->isChecked(),
                i == 5);
        QCOMPARE(memo->font().pointSizeF(), size);
        trigger("ParaAlign1");
        QCOMPARE(memo->document()->defaultTextOption().alignment(), Qt::AlignHCenter);

        m_script->queueColour(QColor(255, 0, 0));
        trigger("ParaColourItem");
        click("Nextbtn");
        QCOMPARE(sections()[0],
            rec({ "Paragraph", "a", "t", "5", "0", "1", "0", "0", "1", "255", "0", "" }));

        // Swatches behind picture buttons: a cancelled dialog changes nothing.
        click("Backbtn");
        click("Backbtn");
        m_script->queueColour(QColor(0, 0, 255));
        click("ColourPanel");
        QCOMPARE(m_w->project().backgroundColour, 0xFF0000);
        m_script->queueCancel();
        click("ColourPanel");
        QCOMPARE(m_w->project().backgroundColour, 0xFF0000);
    }

    void linkCommands()
    {
        load({ rec({ "Paragraph", "a", "t", "2", "0", "0", "0", "0", "0", "0", "0",
            "mailto:me@x.org" }) });
        goTo(0);
        QLabel *link = child<QLabel>("LinkLabel");
        m_script->queue(Answer::Ok); // accept the offered text unchanged
        trigger("EmailLink");
        const auto &asked = m_script->asked().back();
        QCOMPARE(asked.caption, QStringLiteral("Create an email Link for this text.."));
        QVERIFY(asked.text.startsWith(QStringLiteral(
            "Specify the email address that can be accessed\nwhen the user of your web page clicks "
            "on the text.\n\nExample: Enter ")));
        QCOMPARE(asked.initial, QStringLiteral("me@x.org"));
        QCOMPARE(link->text(), QStringLiteral("mailto:me@x.org"));

        m_script->queueText(QString());
        trigger("EmailLink");
        QCOMPARE(link->text(), QStringLiteral("mailto:"));

        link->setText(QStringLiteral("http://x.org/#top"));
        m_script->queue(Answer::Ok);
        trigger("AnchorLink");
        QCOMPARE(m_script->asked().back().caption,
            QStringLiteral("Create an Anchor Link for this text.."));
        QCOMPARE(m_script->asked().back().text,
            QStringLiteral(
                "Specify the anchor point on this page that you want to jump to\nwhen "
                "the user of your web page clicks on the text.\n\nExample: Enter TopOfPage"));
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("http://x.org/top"));
        QCOMPARE(link->text(), QStringLiteral("#http://x.org/top"));

        m_script->queueCancel();
        trigger("URLLink");
        QCOMPARE(
            m_script->asked().back().caption, QStringLiteral("Create a URL Link for this text.."));
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("#http://x.org/top"));
        QCOMPARE(link->text(), QStringLiteral("#http://x.org/top"));
        m_script->queueText(QString());
        trigger("URLLink");
        QCOMPARE(link->text(), QString());
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ParaLink], std::string());
    }

    void zoomEditors()
    {
        load({ rec({ "Paragraph", "a", "some text", "2" }), rec({ "HTML", "h", "<b>" }) });
        goTo(0);
        m_script->queueText(QString());
        click("ZoomImg");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Paragraph.."));
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("some text"));
        QCOMPARE(child<QPlainTextEdit>("ParaMemo")->toPlainText(), QString());
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ParaText], std::string());
        m_script->queueText(QStringLiteral("<i>\n</i>"));
        click("HTMLZoomImg");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("HTML Editor.."));
        click("Nextbtn");
        QCOMPARE(fields(1)[field::HTMLCode], std::string("<i>{lf13}{lf10}</i>"));

        // Head code is a project value; a change of it is an unsaved change.
        m_w->saveProject();
        QVERIFY(!m_w->projectChanged());
        m_script->queueText(QStringLiteral("<meta a>\n<meta b>"));
        trigger("InsertHeadCode1");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Insert Your Head Code Here.."));
        QCOMPARE(m_w->project().headCode, std::string("<meta a>\r\n<meta b>"));
        QVERIFY(m_w->projectChanged());
        m_script->queueText(QString());
        trigger("InsertHeadCode1");
        QVERIFY(!m_w->projectChanged());
    }

    void saveChangesQuestionAnswers()
    {
        const QString question
            = QStringLiteral("Current Project Has Been Changed!\n\nSave It Now?");
        goTo(0);
        click("Acceptbtn");

        // Abort keeps everything.
        m_script->queue(Answer::Abort);
        m_w->newProject();
        QCOMPARE(m_script->asked().back().text, question);
        QCOMPARE(m_script->asked().back().buttons, Buttons::YesNoAbort);
        QCOMPARE(sections().size(), 1u);

        // Yes on a project never saved: the save-as dialog is cancelled, the command abandoned.
        m_script->queue(Answer::Yes);
        m_script->queueCancel();
        m_w->newProject();
        QCOMPARE(m_script->asked().back().what, QStringLiteral("save"));
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Save This Project As.."));
        QCOMPARE(sections().size(), 1u);
        QVERIFY(m_w->projectChanged());

        // Yes with a name saves, then the command goes on.
        m_script->queue(Answer::Yes);
        m_script->queueText(path(QStringLiteral("first.stv")));
        m_w->newProject();
        QVERIFY(sections().empty());
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));
        Project saved;
        QVERIFY(loadProjectFile(path(QStringLiteral("first.stv")).toStdString(), saved).ok());
        QCOMPARE(saved.sections.size(), 1u);

        // No discards. The page title typed before survives a new project.
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Mine"));
        m_script->queue(Answer::No);
        m_w->newProject();
        QCOMPARE(m_w->project().pageTitle, std::string("Mine"));
        QVERIFY(!m_w->projectChanged());

        // An edit undone by hand is no change.
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Other"));
        QVERIFY(m_w->projectChanged());
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Mine"));
        QVERIFY(!m_w->projectChanged());
    }

    void closingAsksFirst()
    {
        goTo(0);
        click("Acceptbtn");
        m_script->queue(Answer::Abort);
        QVERIFY(!m_w->close());
        QCOMPARE(m_w->configurationSaves, 0);
        m_script->queue(Answer::No);
        QSignalSpy closed(m_w.get(), &WizardWindow::closed);
        QVERIFY(m_w->close());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(m_w->configurationSaves, 1);
        QVERIFY(!QFile::exists(path(QStringLiteral("PWP"))));
    }

    void saveAsCancelledAndCaptions()
    {
        m_script->queueCancel();
        trigger("SaveAs1");
        QVERIFY(m_w->projectFileName().isEmpty());
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));

        const QString folder = m_dir->path() + QLatin1Char('/');
        m_script->queueText(path(QStringLiteral("one.stv")));
        trigger("Save1");
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98 .. one.stv in ") + folder);
        std::string bytes;
        Result<std::string> bytesRead
            = readWholeFile(path(QStringLiteral("one.stv")).toStdString());
        QVERIFY(bytesRead.ok());
        bytes = std::move(bytesRead.value());
        QCOMPARE(splitLines(bytes).size(), 10u);

        m_w->newProject();
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));
        m_script->queueText(path(QStringLiteral("one.stv")));
        trigger("Load1");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Load a Sitorva Project File.."));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98 .. one.stv in ") + folder);
        QCOMPARE(m_w->visiblePage(), int(WizardWindow::IntroductionIndex));
    }

    void recentListNewestFirst()
    {
        QAction *decision = child<QAction>("ShowDecisionBox1");
        QMenu *file = child<QMenu>("File1");
        emit file->aboutToShow();
        QVERIFY(!decision->isEnabled());

        m_script->queueText(path(QStringLiteral("a.stv")));
        m_w->saveProjectAs();
        m_script->queueText(path(QStringLiteral("b.stv")));
        m_w->saveProjectAs();
        m_w->loadProjectFromPath(path(QStringLiteral("a.stv")));
        m_w->saveProject();
        m_w->saveProject();
        std::vector<std::string> lines;
        Result<std::vector<std::string>> linesRead
            = readLinesFile(path(QStringLiteral("PWP")).toStdString());
        QVERIFY(linesRead.ok());
        lines = std::move(linesRead.value());
        QCOMPARE(lines.size(), 2u);
        QCOMPARE(recentEntryPath(lines[0]), path(QStringLiteral("a.stv")).toStdString());
        QCOMPARE(recentEntryPath(lines[1]), path(QStringLiteral("b.stv")).toStdString());
        emit file->aboutToShow();
        QVERIFY(decision->isEnabled());

        // A new window reads the list back.
        CountingTSV again;
        QCOMPARE(again.recentProjects(), lines);
    }

    void loadErrorLeavesProjectUntouched()
    {
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(path(QStringLiteral("kept.stv")));
        m_w->saveProject();
        const Project before = m_w->project();
        const QString title = m_w->windowTitle();

        QVERIFY(writeWholeFile(path(QStringLiteral("short.stv")).toStdString(), "a\r\nb\r\n").ok());
        QVERIFY(!m_w->loadProjectFromPath(path(QStringLiteral("short.stv"))));
        QVERIFY(!m_w->loadProjectFromPath(path(QStringLiteral("missing.stv"))));
        QCOMPARE(m_script->messages().size(), 2u);
        QCOMPARE(m_w->project(), before);
        QCOMPARE(m_w->windowTitle(), title);
        QCOMPARE(m_w->currentSection(), 0);

        // A save that cannot be written keeps the name, caption and changed state.
        click("Backbtn");
        child<QLineEdit>("TitleEdit")->setText(QStringLiteral("changed"));
        m_script->clear();
        m_w->saveProjectToPath(path(QStringLiteral("no/such/folder/x.stv")));
        QCOMPARE(m_script->messages().size(), 1u);
        QCOMPARE(m_w->windowTitle(), title);
        QVERIFY(m_w->projectChanged());
    }

    // Save onto a disk that fills up while the project is written: the error box, and
    // nothing else changes, on disk or in the window.
    void saveOntoAFullDiskKeepsEverything()
    {
        stv::test::FullFileSystem disk;
        if (!disk.mounted())
            QSKIP("no right to mount a tmpfs here");
        const QString file = QString::fromStdString(disk.file("site.stv"));
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(file);
        m_w->saveProjectAs();
        QVERIFY(!m_w->projectChanged());
        std::string oldProject, oldRecent;
        Result<std::string> oldProjectRead = readWholeFile(disk.file("site.stv"));
        QVERIFY(oldProjectRead.ok());
        oldProject = std::move(oldProjectRead.value());
        Result<std::string> oldRecentRead
            = readWholeFile(path(QStringLiteral("PWP")).toStdString());
        QVERIFY(oldRecentRead.ok());
        oldRecent = std::move(oldRecentRead.value());
        const std::vector<std::string> recent = m_w->recentProjects();
        const QString caption = m_w->windowTitle();

        m_script->queueText(QString(300000, QLatin1Char('h')));
        trigger("InsertHeadCode1");
        QVERIFY(m_w->projectChanged());
        const Project before = m_w->project();
        QVERIFY(disk.fill(8192));
        m_script->clear();
        trigger("Save1");

        QCOMPARE(m_script->messages().size(), 1u);
        QCOMPARE(m_script->asked().back().what, QStringLiteral("error"));
        QVERIFY2(m_script->messages()[0].contains(QStringLiteral("No space left on device")),
            qPrintable(m_script->messages()[0]));
        QCOMPARE(m_w->project(), before);
        QVERIFY(m_w->projectChanged());
        QCOMPARE(m_w->windowTitle(), caption);
        QCOMPARE(m_w->projectFileName(), file);
        QCOMPARE(m_w->recentProjects(), recent);
        std::string project, recentFile;
        Result<std::string> projectRead = readWholeFile(disk.file("site.stv"));
        QVERIFY(projectRead.ok());
        project = std::move(projectRead.value());
        Result<std::string> recentFileRead
            = readWholeFile(path(QStringLiteral("PWP")).toStdString());
        QVERIFY(recentFileRead.ok());
        recentFile = std::move(recentFileRead.value());
        QVERIFY(project == oldProject);
        QVERIFY(recentFile == oldRecent);
        QCOMPARE(QDir(QString::fromStdString(disk.path()))
                     .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)
                     .size(),
            2);
    }

    // The recent list cannot be written after the project was: reported, and the project
    // counts as saved.
    void recentListThatCannotBeWrittenAfterASave()
    {
        QVERIFY(writeWholeFile(path(QStringLiteral("plain")).toStdString(), "x").ok());
        setProgramFolder(path(QStringLiteral("plain")));
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(path(QStringLiteral("kept.stv")));
        m_w->saveProjectAs();
        QCOMPARE(m_script->messages().size(), 1u);
        QCOMPARE(m_script->asked().back().what, QStringLiteral("error"));
        QVERIFY2(m_script->messages()[0].contains(QStringLiteral("PWP")),
            qPrintable(m_script->messages()[0]));
        QVERIFY(!m_w->projectChanged());
        QCOMPARE(m_w->projectFileName(), path(QStringLiteral("kept.stv")));
        Project saved;
        QVERIFY(loadProjectFile(path(QStringLiteral("kept.stv")).toStdString(), saved).ok());
        QCOMPARE(saved, m_w->project());
    }

    // The chosen project file is gone by the time it is read: reported, the open project kept.
    void projectFileGoneBetweenDialogAndRead()
    {
        class VanishingDialogs : public ScriptedDialogs
        {
        public:
            QString askOpenFile(QWidget *parent, const QString &title, const QString &currentPath,
                const QString &defaultExt, const QString &filter) override
            {
                const QString chosen
                    = ScriptedDialogs::askOpenFile(parent, title, currentPath, defaultExt, filter);
                QFile::remove(chosen);
                return chosen;
            }
        };
        load({ rec({ "Anchor", "a", "n", "t", "1" }) });
        const Project before = m_w->project();
        const QString caption = m_w->windowTitle();
        QVERIFY(saveProjectFile(path(QStringLiteral("other.stv")).toStdString(), Project {}).ok());

        m_script.reset();
        m_script = std::make_unique<VanishingDialogs>();
        m_script->queueText(path(QStringLiteral("other.stv")));
        trigger("Load1");
        QVERIFY(!QFile::exists(path(QStringLiteral("other.stv"))));
        QCOMPARE(m_script->messages().size(), 1u);
        QVERIFY2(m_script->messages()[0].contains(QStringLiteral("No such file")),
            qPrintable(m_script->messages()[0]));
        QCOMPARE(m_w->project(), before);
        QCOMPARE(m_w->windowTitle(), caption);
        QCOMPARE(m_w->projectFileName(), path(QStringLiteral("p.stv")));
        QVERIFY(!m_w->projectChanged());
    }

    void unknownKindSurvivesNavigation()
    {
        const std::string odd = rec({ "Mystery", "lbl", "x", "y", "{END}", "z" });
        load({ odd, rec({ "Anchor", "a", "n", "t", "1" }) });
        goTo(0);
        QCOMPARE(m_w->visiblePage(), int(WizardWindow::UnknownKindIndex));
        QCOMPARE(position(), QStringLiteral("Section 3, Mystery"));
        QCOMPARE(labelPanel(), QStringLiteral("lbl"));
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 4, Anchor"));
        click("Backbtn");
        click("Backbtn");
        click("Nextbtn");
        click("Nextbtn");
        QCOMPARE(sections()[0], odd);
        QVERIFY(!m_w->projectChanged());

        // A new label is the only thing written into it.
        click("Backbtn");
        m_script->queueText(QStringLiteral("new"));
        click("LabBtn");
        QCOMPARE(fields(0, 3), (std::vector<std::string> { "Mystery", "new", "x", "y" }));
    }

    void userLabelAndTypedNoBreakSpace()
    {
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(QStringLiteral("Top") + QChar(0xA0) + QStringLiteral("part"));
        click("LabBtn");
        const auto &asked = m_script->asked().back();
        QCOMPARE(asked.caption, QStringLiteral("User Defined Label.."));
        QCOMPARE(asked.text,
            QStringLiteral("Enter a unique label for this page.\n\nThis may then be "
                           "used later to refer directly to this page."));
        QCOMPARE(asked.initial, QStringLiteral("Untitled"));
        child<QLineEdit>("HeadingEdit")
            ->setText(QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b"));
        click("Nextbtn");
        QCOMPARE(fieldCount(sections()[0]), 10);
        QCOMPARE(fields(0)[field::UserLabel], std::string("Top part"));
        QCOMPARE(fields(0)[field::HeadingText], std::string("a b"));
    }

    void fileChoosersAndPlay()
    {
        load({ rec({ "Image", "i" }), rec({ "PlaySound", "s" }) });
        goTo(0);
        m_script->queueText(QStringLiteral("/pics/cat.gif"));
        click("ImageImg");
        const auto &asked = m_script->asked().back();
        QCOMPARE(asked.caption, QStringLiteral("Select An Image.."));
        QVERIFY(asked.text.startsWith(QStringLiteral("Images (")));
        QVERIFY(asked.text.endsWith(
            QStringLiteral("|GIF (*.gif)|*.gif|JPeg (*.jpg)|*.jpg|All Files (*.*)|*.*")));
        QCOMPARE(child<QLineEdit>("ImageEdit")->text(), QStringLiteral("/pics/cat.gif"));
        m_script->queueCancel();
        click("ImageImg");
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("/pics/cat.gif"));
        QCOMPARE(child<QLineEdit>("ImageEdit")->text(), QStringLiteral("/pics/cat.gif"));
        QCOMPARE(child<QButtonGroup>("LinkTypeRGGroup")->checkedId(), 0);
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ImageFile], std::string("/pics/cat.gif"));

        m_script->queueCancel();
        click("BrowseBtn");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Locate A Wave Sound File.."));
        QCOMPARE(m_script->asked().back().text,
            QStringLiteral("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*"));

        click("PlayBtn");
        const QString wav = path(QStringLiteral("ding.wav"));
        QVERIFY(writeWholeFile(wav.toStdString(), "RIFF").ok());
        child<QLineEdit>("SoundEdit")->setText(wav);
        click("PlayBtn");
        child<QLineEdit>("SoundEdit")->setText(path(QStringLiteral("none.wav")));
        click("PlayBtn");
        QCOMPARE(m_player.played,
            (QStringList { QStringLiteral("system:SystemStart"), QStringLiteral("file:") + wav }));
    }

    void imageTemplateAndOutOfRangeChoice()
    {
        load({ rec({ "Image", "i", "", "0", "", "", "", "9" }) });
        goTo(1);
        child<QListWidget>("SelectBox")->setCurrentRow(2);
        click("Acceptbtn");
        // The template's empty link type reads as 0; its "-1" flags are ticked and stored as "1".
        QCOMPARE(child<QButtonGroup>("LinkTypeRGGroup")->checkedId(), 0);
        QVERIFY(child<QCheckBox>("ImportImageCB")->isChecked());
        click("Nextbtn");
        QCOMPARE(fields(1)[field::ImageLinkType], std::string("0"));
        QCOMPARE(fields(1)[field::ImageImport], std::string("1"));
        QCOMPARE(fields(1)[field::ImageLinkBorder], std::string("1"));
        // A stored choice out of range leaves nothing chosen, which is stored as "-1".
        click("Backbtn");
        click("Backbtn");
        QCOMPARE(child<QButtonGroup>("LinkTypeRGGroup")->checkedId(), -1);
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ImageLinkType], std::string("-1"));
    }

    void swatchPictureButtonsOpenTheColourDialog()
    {
        load({ rec({ "Heading", "h", "t", "2", "0", "0", "0", "0", "0", "255" }),
            rec({ "Divider", "d", "0", "1", "100", "0" }), rec({ "List", "l" }) });
        goTo(0);
        m_script->queueColour(QColor(0, 128, 0));
        click("ColorImg");
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("#ff0000"));
        click("Nextbtn");
        m_script->queueColour(QColor(0, 0, 255));
        click("DivColImg");
        click("Nextbtn");
        m_script->queueCancel();
        click("ListColImg");
        click("Nextbtn");
        QCOMPARE(fields(0)[field::HeadingColour], std::string("32768"));
        QCOMPARE(fields(1)[field::DividerColour], std::string("16711680"));
        QCOMPARE(fields(2)[field::ListColour], std::string("0"));
    }

    void pageStoreNeverWritesAnotherKind()
    {
        // The list changes under the shown page (as a Section Manager paste may do) and the
        // page is stored before being shown again: the other record stays as it is.
        const std::string anchor = rec({ "Anchor", "a", "n", "t", "1" });
        load({ rec({ "Heading", "h", "t", "2" }), anchor });
        goTo(0);
        child<QLineEdit>("HeadingEdit")->setText(QStringLiteral("typed"));
        m_w->sectionList().erase(m_w->sectionList().begin());
        m_w->storeCurrentPage();
        QCOMPARE(sections()[0], anchor);
    }

    void toggleSectionManager()
    {
        click("ManagerImg");
        QCOMPARE(m_script->messages().size(), 1u);
        QWidget manager;
        m_w->setSectionManagerWindow(&manager);
        click("ManagerImg");
        QVERIFY(manager.isVisible());
        click("ManagerImg");
        QVERIFY(!manager.isVisible());
    }

    void toolsTicksAndBackgroundImageChooser()
    {
        QVERIFY(m_w->pageOptions().siteLastUpdated && m_w->pageOptions().updateBlack);
        trigger("UpdateBlack1");
        QVERIFY(!m_w->pageOptions().updateBlack);
        QVERIFY(m_w->pageOptions().siteLastUpdated);
        goTo(-1);
        m_script->queueText(QStringLiteral("/pics/tile.gif"));
        click("BackImg");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Select a background image.."));
        QCOMPARE(m_w->project().backgroundImage, std::string("/pics/tile.gif"));
        QVERIFY(m_w->projectChanged());
    }
};

QTEST_MAIN(WizardWindowTest)
#include "WizardWindowTest.moc"
