// The program's windows as a desktop user's hands expect them: the focus follows the wizard to
// the field where typing goes, Enter and double click choose on "What`s Next?", and a file
// dialog leaves nothing open behind it. Driven by mouse and keys on the whole set of windows.
#include "gui/wizard/ProgramWindows.h"

#include "core/project/Project.h"
#include "core/project/Records.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/FileDialogs.h"
#include "support/Controls.h"
#include "support/TempProgramFolder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace stv;
using stv::test::control;

class DesktopHabitsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TempProgramFolder> m_folder;
    std::unique_ptr<ProgramWindows> m_windows;

    WizardWindow &window() { return m_windows->window; }
    QString focused()
    {
        return window().focusWidget() ? window().focusWidget()->objectName() : QString();
    }
    void press(const char *button)
    {
        auto *b = control<QPushButton>(window(), button);
        QVERIFY2(b->isEnabled(), button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void load(const std::vector<std::string> &records)
    {
        Project p;
        p.sections = records;
        const QString file = m_folder->dir.filePath(QStringLiteral("p.stv"));
        QVERIFY(saveProjectFile(file.toStdString(), p).ok());
        QVERIFY(window().loadProjectFromPath(file));
    }
    QListView *managerList() { return m_windows->sectionManager.display(); }
    QRect managerRow(int row)
    {
        return managerList()->visualRect(managerList()->model()->index(row, 0));
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<test::TempProgramFolder>();
        m_windows = std::make_unique<ProgramWindows>();
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        window().activateWindow();
    }
    void cleanup()
    {
        QVERIFY(m_folder->dialogs.unexpected().empty());
        m_windows.reset();
        m_folder.reset();
    }

    // Next, Back and Accept leave the focus in the first field of the page they show, so the
    // next key typed lands there; a page without a field leaves it on Next.
    void focusGoesToThePagesFirstField()
    {
        press("Nextbtn");
        QCOMPARE(focused(), QStringLiteral("TitleEdit"));
        QTest::keyClicks(window().focusWidget(), QStringLiteral("My page"));
        press("Nextbtn");
        QCOMPARE(focused(), QStringLiteral("ColourPanel"));
        press("Nextbtn");
        QCOMPARE(focused(), QStringLiteral("SelectBox"));

        const char *const firstFields[] = { "HeadingEdit", "ParaMemo", "ImageEdit", "DivColImg",
            "AnchorEdit", "L1", "IndexMemo", "HTMLMemo", "SoundEdit" };
        auto *select = control<QListWidget>(window(), "SelectBox");
        for (int kind = 0; kind < KindCount; ++kind) {
            select->setCurrentRow(kind);
            press("Acceptbtn");
            QCOMPARE(focused(), QString::fromLatin1(firstFields[kind]));
            press("Nextbtn");
        }
        for (int kind = KindCount - 1; kind >= 0; --kind) {
            press("Backbtn");
            QCOMPARE(focused(), QString::fromLatin1(firstFields[kind]));
        }
        press("Backbtn");
        press("Backbtn");
        QCOMPARE(focused(), QStringLiteral("TitleEdit"));
        press("Backbtn");
        QCOMPARE(focused(), QStringLiteral("Nextbtn")); // the Introduction is only read
        // Typing replaced the proposed title, as in a field tabbed into.
        QCOMPARE(QString::fromStdString(window().project().pageTitle), QStringLiteral("My page"));
    }

    // A click on a Section Manager row shows its page with the focus in its first field and
    // makes the main window the active one; a row reached by the arrow keys leaves the keys
    // in the Section Manager.
    void sectionManagerJumpFocusesThePage()
    {
        load({ joinFields({ "Heading", "h" }), joinFields({ "Paragraph", "p" }) });
        m_windows->sectionManager.activateWindow();
        QTest::mouseClick(managerList()->viewport(), Qt::LeftButton, {}, managerRow(4).center());
        QCOMPARE(window().currentSection(), 1);
        QCOMPARE(focused(), QStringLiteral("ParaMemo"));
        QTRY_COMPARE(QApplication::activeWindow(), &window());

        managerList()->setFocus();
        QTest::keyClick(managerList(), Qt::Key_Up);
        QCOMPARE(window().currentSection(), 0);
        QCOMPARE(focused(), QStringLiteral("HeadingEdit"));
    }

    // A project named on the command line by a relative path is known by its full path, so
    // the dialogs and the remembered page go by its folder whatever the working folder is.
    void relativeProjectPathBecomesFull()
    {
        load({});
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_folder->dir.path()));
        const bool loaded = window().loadProjectFromPath(QStringLiteral("p.stv"));
        QDir::setCurrent(before);
        QVERIFY(loaded);
        QCOMPARE(window().projectFileName(), m_folder->dir.filePath(QStringLiteral("p.stv")));
        QCOMPARE(FileDialogs::projectFolder(), m_folder->dir.path());
    }

    // "What`s Next?": Enter on a row accepts it, and so does a double click.
    void selectBoxAcceptsOnEnterAndDoubleClick()
    {
        for (int i = 0; i < 3; ++i)
            press("Nextbtn");
        auto *select = control<QListWidget>(window(), "SelectBox");
        QCOMPARE(window().focusWidget(), select);
        QTest::keyClick(select, Qt::Key_Down); // Paragraph
        QTest::keyClick(select, Qt::Key_Return);
        QCOMPARE(window().project().sections.size(), std::size_t(1));
        QCOMPARE(splitFields(window().project().sections[0], 0)[0], std::string("Paragraph"));
        QCOMPARE(window().currentSection(), 0);

        press("Nextbtn");
        const QRect divider = select->visualItemRect(select->item(3));
        QTest::mouseClick(select->viewport(), Qt::LeftButton, {}, divider.center());
        QTest::mouseDClick(select->viewport(), Qt::LeftButton, {}, divider.center());
        QTest::mouseRelease(select->viewport(), Qt::LeftButton, {}, divider.center());
        QCOMPARE(window().project().sections.size(), std::size_t(2));
        QCOMPARE(splitFields(window().project().sections[1], 0)[0], std::string("Divider"));
        QCOMPARE(focused(), QStringLiteral("DivColImg"));
    }

    // A path typed into the file dialog shows its completion list; Enter closes the dialog
    // while the list still shows (on X, with a window manager). No popup may be left over the
    // wizard to eat its next click or key.
    void fileDialogClosedWithEnterLeavesNothingOpen()
    {
        QTemporaryDir pictures; // outside the program folder, where the dialog starts
        QVERIFY(pictures.isValid());
        const QString picture = pictures.filePath(QStringLiteral("picture.gif"));
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        bool popupShown = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            // The folder is read in the background; completion offers what was read.
            auto *files = dialog->findChild<QFileSystemModel *>();
            QVERIFY(files);
            QTRY_VERIFY(files->index(picture).isValid());
            name->clear();
            QTest::keyClicks(name, QStringLiteral("pic"));
            QAbstractItemView *popup = name->completer() ? name->completer()->popup() : nullptr;
            if (popup && !popup->isVisible()) { // offscreen, the list may wait for the folder
                name->completer()->complete();
                popup->show();
            }
            QTRY_VERIFY(popup && popup->isVisible());
            popupShown = true;
            // What Enter ends with: the dialog closes while the list still shows.
            static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        });
        QTimer guard; // a dialog left open fails the case instead of hanging it
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        guard.start(10000);
        FileDialogs::instance().askOpen(&window(), QStringLiteral("Select An Image.."), QString(),
            QString(), QStringLiteral("All Files (*.*)|*.*"));
        QVERIFY(popupShown);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

QTEST_MAIN(DesktopHabitsTest)
#include "DesktopHabitsTest.moc"
