// Undo and Redo driven like a user in the program's windows: every kind of change to the
// project is taken back and done again exactly, a long random run of commands undoes back to
// the loaded file's bytes, and the unsaved-change state follows.
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/ProgramWindows.h"

#include "gui/dialogs/LongTextEdit.h"

#include "support/TempProgramFolder.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <memory>
#include <random>

using namespace stv;

class UndoTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TempProgramFolder> m_folder;
    std::unique_ptr<ProgramWindows> m_p;

    WizardWindow &w() { return m_p->window; }
    SectionManagerWindow &sm() { return m_p->sectionManager; }
    template <class T>
    T *child(const char *name)
    {
        T *found = w().findChild<T *>(QString::fromLatin1(name));
        if (found == nullptr)
            qFatal("no child %s", name);
        return found;
    }
    QString undoText() { return w().undoAction()->text(); }
    void undo() { w().undoAction()->trigger(); }
    void redo() { w().redoAction()->trigger(); }
    void jump(int position) { sm().jumpToRow(position + FixedRowsBefore); }

    static std::vector<std::string> records()
    {
        return { newSectionRecord(0), newSectionRecord(1), newSectionRecord(2),
            replaceField(newSectionRecord(1), field::UserLabel, "Second") };
    }
    void loadProject(const std::vector<std::string> &sections)
    {
        Project p;
        p.pageTitle = "First title";
        p.sections = sections;
        const QString path = m_folder->dir.filePath(QStringLiteral("p.stv"));
        QVERIFY(saveProjectFile(path.toStdString(), p).ok());
        QVERIFY(w().loadProjectFromPath(path));
        // Records as their pages store them, so that a later page store is no change.
        for (int i = 0; i < static_cast<int>(sections.size()); ++i)
            jump(i);
        jump(IntroductionPosition);
        w().saveProject();
        QVERIFY(w().loadProjectFromPath(path));
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TempProgramFolder>();
        m_p = std::make_unique<ProgramWindows>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w()));
    }

    void cleanup()
    {
        QVERIFY(m_folder->dialogs.unexpected().empty());
        m_p.reset();
        m_folder.reset();
    }

    void everyCommandIsUndoneAndRedoneExactly()
    {
        loadProject(records());
        m_p->library.copyToLibrary(newSectionRecord(4));
        m_folder->dialogs.clear();
        // Each command starts from its position, reached (and the page left stored) first.
        struct Command {
            const char *label;
            int at;
            std::function<void()> run;
        };
        const std::vector<Command> commands = {
            { "Delete Paragraph", 1, [&] { sm().deleteSections(); } },
            { "Cut Image", 1, [&] { sm().cutSections(); } },
            { "Paste Image", 0, [&] { sm().pasteSections(); } },
            { "Insert Divider", 2, [&] { sm().insertSection(3); } },
            { "Select from Library", 1,
                [&] {
                    QTimer::singleShot(0, &m_p->library, [this] {
                        QListView *list = m_p->library.libList();
                        list->selectionModel()->select(
                            list->model()->index(0, 0), QItemSelectionModel::Select);
                        m_p->library.selectSections();
                    });
                    sm().selectFromLibrary();
                } },
            { "Move To Image List", 0, // the pasted Image
                [&] { sm().moveToImageList(); } },
            { "New Paragraph", 99,
                [&] {
                    child<QListWidget>("SelectBox")->setCurrentRow(1);
                    QTest::mouseClick(child<QPushButton>("Acceptbtn"), Qt::LeftButton);
                } },
            { "Edit Paragraph", 4,
                [&] {
                    child<LongTextEdit>("ParaMemo")->setText(QStringLiteral("Typed words"));
                    jump(0);
                } },
            { "Page Title", TitleBarPosition,
                [&] {
                    child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Second title"));
                    jump(0);
                } },
            { "Background", BackgroundPosition,
                [&] {
                    child<QCheckBox>("ImportBGImageCB")->setChecked(false);
                    child<QLineEdit>("BackGroundEdit")->setText(QStringLiteral("back.png"));
                    jump(1);
                } },
            { "Head Code", 0,
                [&] {
                    m_folder->dialogs.queueText(QStringLiteral("<meta name=\"x\">"));
                    child<QAction>("InsertHeadCode1")->trigger();
                } },
        };
        for (const Command &command : commands) {
            jump(std::min(command.at, static_cast<int>(w().project().sections.size())));
            jump(IntroductionPosition);
            jump(std::min(command.at, static_cast<int>(w().project().sections.size())));
            const Project before = w().project();
            command.run();
            const Project after = w().project();
            QVERIFY2(!(before == after), command.label);
            QCOMPARE(undoText(), QStringLiteral("&Undo ") + QString::fromLatin1(command.label));
            undo();
            QVERIFY2(w().project() == before, command.label);
            QCOMPARE(w().redoAction()->text(),
                QStringLiteral("&Redo ") + QString::fromLatin1(command.label));
            redo();
            QVERIFY2(w().project() == after, command.label);
        }
        // The favourite lists keep their own behaviour: the moved image stays in the list.
        QCOMPARE(w().favouriteLists().images.size(), std::size_t(1));
        // The Section Manager's popup offers the same two items first.
        const QList<QAction *> popup = sm().popupMenu()->actions();
        QCOMPARE(popup.value(0), w().undoAction());
        QCOMPARE(popup.value(1), w().redoAction());
    }

    void randomCommandsUndoToTheFileAndRedoToTheEnd()
    {
        std::vector<std::string> start = records();
        for (int i = 0; i < 6; ++i)
            start.push_back(
                replaceField(newSectionRecord(i), field::UserLabel, "S" + std::to_string(i)));
        loadProject(start);
        const std::string original = serializeProject(w().project());
        std::mt19937 random(17);
        auto pick
            = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        for (int i = 0; i < 200; ++i) {
            const int count = static_cast<int>(w().project().sections.size());
            const bool onRecord = w().currentSection() >= 0 && w().currentSection() < count;
            switch (pick(7)) {
            case 0:
                jump(pick(count + FixedRowsBefore + 1) - FixedRowsBefore);
                break;
            case 1:
                if (onRecord)
                    sm().deleteSections();
                break;
            case 2:
                if (onRecord)
                    sm().cutSections();
                break;
            case 3:
                if (w().currentSection() >= 0 && !sm().sectionClipboard().empty())
                    sm().pasteSections();
                break;
            case 4:
                if (w().currentSection() >= 0)
                    sm().insertSection(pick(KindCount));
                break;
            case 5: // a page store that changed the record
                if (onRecord) {
                    m_folder->dialogs.queueText(QStringLiteral("Label %1").arg(i));
                    QTest::mouseClick(child<QPushButton>("LabBtn"), Qt::LeftButton);
                }
                break;
            default:
                jump(TitleBarPosition);
                child<QLineEdit>("TitleEdit")->setText(QStringLiteral("Title %1").arg(i));
                jump(pick(count + 1));
                break;
            }
        }
        w().storeCurrentPage();
        const std::string final = serializeProject(w().project());
        QVERIFY(final != original);
        QVERIFY(w().projectChanged());
        QVERIFY(w().history().undoCount() > 100);
        while (w().history().canUndo())
            undo();
        QCOMPARE(serializeProject(w().project()), original);
        QVERIFY(!w().projectChanged());
        QVERIFY(!w().undoAction()->isEnabled());
        while (w().history().canRedo())
            redo();
        QCOMPARE(serializeProject(w().project()), final);
        QVERIFY(w().projectChanged());
    }

    void unsavedStateFollowsAndSaveKeepsTheHistory()
    {
        loadProject(records());
        const std::vector<std::string> loaded = w().project().sections;
        jump(1);
        sm().deleteSections();
        QVERIFY(w().projectChanged());
        undo();
        QVERIFY(!w().projectChanged());
        redo();
        QVERIFY(w().projectChanged());
        w().saveProject();
        QVERIFY(!w().projectChanged());
        undo(); // back before the save: changed again
        QVERIFY(w().projectChanged());
        QCOMPARE(w().currentSection(), 1);
        QCOMPARE(w().project().sections, loaded);
        // Load and New Project start a history of their own.
        m_folder->dialogs.queue(Answer::No);
        w().newProject();
        QVERIFY(!w().history().canUndo());
        QVERIFY(!w().history().canRedo());
    }

    void theEditMenuAndTextFields()
    {
        const QList<QAction *> menus = w().menuBar()->actions();
        QStringList captions;
        for (QAction *a : menus)
            captions << a->text();
        QCOMPARE(captions,
            (QStringList { QStringLiteral("&File"), QStringLiteral("&Edit"),
                QStringLiteral("&View"), QStringLiteral("&Tools"), QStringLiteral("&Help") }));
        QCOMPARE(w().undoAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(w().redoAction()->shortcuts(),
            (QList<QKeySequence> { QKeySequence(QStringLiteral("Ctrl+Y")),
                QKeySequence(QStringLiteral("Ctrl+Shift+Z")) }));
        QVERIFY(!w().undoAction()->isEnabled());
        QCOMPARE(undoText(), QStringLiteral("&Undo"));

        loadProject(records());
        const std::vector<std::string> loaded = w().project().sections;
        jump(0);
        sm().deleteSections();
        QCOMPARE(undoText(), QStringLiteral("&Undo Delete Heading"));
        // Inside a text field Ctrl+Z undoes the typing, not the project.
        jump(TitleBarPosition);
        auto *title = child<QLineEdit>("TitleEdit");
        title->setFocus();
        QTest::keyClicks(title, QStringLiteral("xy"));
        QCOMPARE(title->text(), QStringLiteral("First titlexy"));
        QTest::keySequence(title, QKeySequence(QStringLiteral("Ctrl+Z")));
        QVERIFY(title->text() != QStringLiteral("First titlexy"));
        QCOMPARE(w().project().sections.size(), records().size() - 1);
        // Outside a field the keys undo and redo the project.
        child<QPushButton>("Nextbtn")->setFocus();
        title->setText(QStringLiteral("First title"));
        QTest::keySequence(&w(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(w().project().sections, loaded);
        QTest::keySequence(&w(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
        QCOMPARE(w().project().sections.size(), records().size() - 1);
    }
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
