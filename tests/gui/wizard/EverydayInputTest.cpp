// Everyday input through the main window: file names in any script, pasted line breaks,
// Alt letters, F1 and the Save As key.
#include "gui/wizard/WizardWindow.h"

#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/SelectionDialog.h"
#include "gui/help/HelpWindow.h"
#include "gui/lists/ImageListWindow.h"

#include "support/FakeShell.h"
#include "support/WizardWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include <map>

using namespace stv;

namespace
{

std::string bytes(const QString &path)
{
    return path.toStdString();
}

// The Alt letter of a caption ("Save &As" -> 'A'), 0 when it has none.
QChar altLetter(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper();
    }
    return {};
}

// Captions of one window sharing an Alt letter: its menu bar and every control shown in it.
QStringList sharedAltLetters(QWidget *window)
{
    std::map<QChar, QStringList> owners;
    auto note = [&](const QString &caption) {
        if (const QChar letter = altLetter(caption); !letter.isNull())
            owners[letter] << caption;
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            note(b->text());
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            note(g->title());
        else if (auto *l = qobject_cast<QLabel *>(w); l && l->buddy())
            note(l->text());
        else if (auto *bar = qobject_cast<QMenuBar *>(w))
            for (QAction *a : bar->actions())
                note(a->text());
    }
    QStringList shared;
    for (const auto &[letter, captions] : owners)
        if (captions.size() > 1)
            shared << window->objectName() + QStringLiteral(": ")
                    + captions.join(QStringLiteral(", "));
    return shared;
}

// Within one menu no two commands share a letter.
QStringList sharedInMenus(QWidget *window)
{
    QStringList shared;
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        std::map<QChar, QStringList> owners;
        for (QAction *a : menu->actions())
            if (const QChar letter = altLetter(a->text()); !letter.isNull() && a->isVisible())
                owners[letter] << a->text();
        for (const auto &[letter, captions] : owners)
            if (captions.size() > 1)
                shared << menu->title() + QStringLiteral(": ")
                        + captions.join(QStringLiteral(", "));
    }
    return shared;
}

} // namespace

class EverydayInputTest : public test::WizardWindowFixture
{
    Q_OBJECT

    // One record of every kind, so that every page is visited.
    std::vector<std::string> everyKind() const
    {
        std::vector<std::string> records;
        for (const SectionKind &kind : SectionKinds)
            records.push_back(joinFields({ std::string(kind.name), "label" }));
        return records;
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // A project, its pictures, its sound and its page folder in Cyrillic and CJK names.
    void filesNamedInAnyScript()
    {
        QDir(m_dir->path()).mkpath(QStringLiteral("Сайт/Страница"));
        const QString site = path(QStringLiteral("Сайт/"));
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(site + QStringLiteral("картинка.png")));
        QVERIFY(picture.save(site + QStringLiteral("日本.png")));
        QFile sound(site + QStringLiteral("звук.wav"));
        QVERIFY(sound.open(QIODevice::WriteOnly));
        sound.write(QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
        sound.close();

        // Stored as the program stores them: Windows-1252 with "&#N;".
        const auto image = [&](const QString &name) {
            return joinFields({ "Image", "pic", storedPath(bytes(site + name)), "0", "", "", "",
                "0", "", "0", "0", "1", "0" });
        };
        Project p;
        p.sections = { image(QStringLiteral("картинка.png")), image(QStringLiteral("日本.png")),
            joinFields({ "PlaySound", "s", storedPath(bytes(site + QStringLiteral("звук.wav"))),
                "0", "0", "1", "0", "0" }) };
        p.backgroundImage = storedPath(bytes(site + QStringLiteral("картинка.png")));
        const QString project = site + QStringLiteral("Łódź.stv");
        QVERIFY(saveProjectFile(bytes(project), p).ok());

        QVERIFY(m_w->loadProjectFromPath(project));
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98 .. Łódź.stv in ") + site);
        QCOMPARE(m_w->findChild<QLineEdit *>(QStringLiteral("BackGroundEdit"))->text(),
            site + QStringLiteral("картинка.png"));
        goTo(0);
        QCOMPARE(m_w->findChild<QLineEdit *>(QStringLiteral("ImageEdit"))->text(),
            site + QStringLiteral("картинка.png"));
        goTo(2);
        QCOMPARE(m_w->findChild<QLineEdit *>(QStringLiteral("SoundEdit"))->text(),
            site + QStringLiteral("звук.wav"));

        // Save, then Open Previous from the recent list.
        m_w->saveProject();
        QVERIFY(m_script->messages().empty());
        QCOMPARE(m_w->project().sections, p.sections);
        m_w->newProject();
        QString line;
        QTimer::singleShot(0, this, [this, &line] {
            auto *list = m_w->multiSelect().list();
            line = list->item(0)->text();
            list->setCurrentRow(0);
            m_w->multiSelect().selectedButton()->click();
        });
        m_w->openPrevious();
        QCOMPARE(line, QStringLiteral("Łódź.stv  in  ") + site);
        QCOMPARE(m_w->projectFileName(), project);
        QCOMPARE(m_w->project().sections, p.sections);

        // Create Web Page into "Страница": real names beside the page, the real folder asked.
        stv::test::FakeShell shell;
        const QString folder = site + QStringLiteral("Страница/");
        m_script->queue(Answer::Ok);
        m_script->queueText(folder + QStringLiteral("страница.html"));
        m_script->queue(Answer::No);
        trigger("CreateWebPage1");
        QCOMPARE(m_script->messages().size(), 0u);
        QCOMPARE(shell.calls,
            QStringList { QStringLiteral("open ") + QUrl::fromLocalFile(folder).toString() });
        QCOMPARE(m_script->asked().back().text,
            QStringLiteral("Your web page has now been created as..\n\n\"страница.html\"  In "
                           "Folder\n\"")
                + folder + QStringLiteral("\"\n\nDo you want to test it?"));
        for (const char *name : { "страница.html", "картинка.png", "日本.png", "звук.wav" })
            QVERIFY2(QFileInfo::exists(folder + QString::fromUtf8(name)), name);
    }

    // Pasted line breaks become one space in every one-line field; no length limit.
    void pastedLineBreaksInEveryField()
    {
        const QString file = path(QStringLiteral("paste.stv"));
        load(everyKind(), QStringLiteral("paste.stv"));
        const std::vector<std::string> before = m_w->project().sections;
        for (const QString &pasted : { QStringLiteral("a\r\nb"), QStringLiteral("a\nb"),
                 QStringLiteral("a\rb"), QStringLiteral("a\u2028b") }) {
            QGuiApplication::clipboard()->setText(pasted);
            for (int at = IntroductionPosition; at <= static_cast<int>(before.size()); ++at) {
                m_w->setCurrentSection(at);
                m_w->showCurrentSection();
                for (QLineEdit *edit : m_w->findChildren<QLineEdit *>()) {
                    if (!edit->isVisible() || edit->isReadOnly())
                        continue;
                    edit->clear();
                    edit->paste();
                    QCOMPARE(edit->text(), QStringLiteral("a b"));
                }
                m_w->storeCurrentPage();
            }
            m_w->saveProject();
            QVERIFY(m_w->loadProjectFromPath(file));
            QCOMPARE(m_w->project().sections.size(), before.size());
            for (std::size_t i = 0; i < before.size(); ++i)
                QCOMPARE(
                    splitFields(m_w->project().sections[i], 0)[0], splitFields(before[i], 0)[0]);
            QCOMPARE(m_w->project().pageTitle, std::string("a b"));
        }

        // The User Label box takes a paste the same way.
        InputBox box;
        QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb"));
        auto *edit = box.findChild<QLineEdit *>();
        edit->clear();
        edit->paste();
        QCOMPARE(edit->text(), QStringLiteral("a b"));

        // A 100,000-character field survives a store and a save.
        auto *heading = child<QLineEdit>("HeadingEdit");
        m_w->setCurrentSection(0);
        m_w->showCurrentSection();
        const QString longText(100000, QLatin1Char('x'));
        heading->setText(longText);
        m_w->storeCurrentPage();
        m_w->saveProject();
        QVERIFY(m_w->loadProjectFromPath(file));
        QCOMPARE(splitFields(m_w->project().sections[0], 2)[2].size(), 100000u);
    }

    // Texts in any script read as typed after a save and a reload; the project and the page
    // hold references for what Windows-1252 cannot, and references the user typed stay.
    void textsInAnyScript()
    {
        const QString file = path(QStringLiteral("texts.stv"));
        load(everyKind(), QStringLiteral("texts.stv"));
        auto *heading = child<QLineEdit>("HeadingEdit");
        m_w->setCurrentSection(0);
        m_w->showCurrentSection();
        const QString typed = QString::fromUtf8("Łódź — 日本 ★ &#60;b&#62;");
        heading->clear();
        heading->setFocus();
        QInputMethodEvent commit; // as an input method types what a keyboard has no key for
        commit.setCommitString(typed);
        QCoreApplication::sendEvent(heading, &commit);
        m_w->storeCurrentPage();
        m_w->saveProject();
        QVERIFY(m_w->loadProjectFromPath(file));
        m_w->setCurrentSection(0);
        m_w->showCurrentSection();
        QCOMPARE(heading->text(), typed);
        QCOMPARE(splitFields(m_w->project().sections[0], 2)[2],
            std::string("&#321;\xF3"
                        "d&#378; \x97 &#26085;&#26412; &#9733; &#60;b&#62;"));
    }

    // No window or page reachable at once has two controls or menus on one Alt letter.
    void altLettersAreUnique()
    {
        load(everyKind(), QStringLiteral("keys.stv"));
        QStringList shared;
        m_w->setCurrentSection(IntroductionPosition);
        m_w->showCurrentSection();
        for (int at = IntroductionPosition; at <= static_cast<int>(KindCount); ++at) {
            m_w->setCurrentSection(at);
            m_w->showCurrentSection();
            shared << sharedAltLetters(m_w.get());
        }
        shared << sharedInMenus(m_w.get());
        for (QWidget *top : QApplication::allWidgets())
            if (top->isWindow() && top != m_w.get())
                shared << sharedAltLetters(top) << sharedInMenus(top);
        shared << sharedAltLetters(HelpWindow::instance());
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(QLatin1Char('\n'))));
    }

    // F1 opens the topic of the page on show; Ctrl+Shift+S asks for a name from a text field.
    void functionKeys()
    {
        const int topics[] = { 0, 5, 6, 7 };
        m_w->setCurrentSection(IntroductionPosition);
        m_w->showCurrentSection();
        for (int topic : topics) {
            QTest::keyClick(m_w.get(), Qt::Key_F1);
            QCOMPARE(HelpWindow::instance()->currentTopic(), unsigned(topic));
            HelpWindow::instance()->close();
            m_w->goNext();
        }

        m_w->setCurrentSection(TitleBarPosition);
        m_w->showCurrentSection();
        auto *title = child<QLineEdit>("TitleEdit");
        title->setFocus();
        m_script->queueCancel();
        QTest::keyClick(title, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_script->asked().back().what, QStringLiteral("save"));
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Save This Project As.."));
    }
};

QTEST_MAIN(EverydayInputTest)
#include "EverydayInputTest.moc"
