// The Paragraph page's link label, clicked and keyed in the real window: addresses open at
// once, a link that would start a program runs only after the user says Yes to a box that
// names it.
#include "core/project/Records.h"

#include "support/FakeShell.h"
#include "support/WizardWindowFixture.h"

#include <QFile>
#include <QLabel>
#include <QtTest>

using namespace stv;

class LinkLabelTest : public test::WizardWindowFixture
{
    Q_OBJECT

private:
    // Loads a project of one paragraph with this link and shows its page.
    QLabel *showLink(const QString &link)
    {
        load({ joinFields({ "Paragraph", "a", "t", "2", "0", "0", "0", "0", "0", "0", "0",
            link.toStdString() }) });
        goTo(0);
        auto *label = child<QLabel>("LinkLabel");
        if (QTest::currentTestFailed() || label->text() != link)
            qFatal("the link label does not show the link");
        return label;
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    // The link a stranger's project may carry: a shell told to run a command.
    void aProgramRunsOnlyAfterYes()
    {
        const QString witness = path(QStringLiteral("ran"));
        QLabel *label
            = showLink(QStringLiteral("/bin/sh{ARGS}-c \"id > ") + witness + QStringLiteral("\""));

        m_script->queue(Answer::No);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(m_script->asked().size(), std::size_t(1));
        const ScriptedDialogs::Asked asked = m_script->asked().back();
        QCOMPARE(asked.buttons, Buttons::YesNoSafeNo);
        QVERIFY(asked.text.contains(QStringLiteral("\n    /bin/sh\n")));
        QVERIFY(asked.text.contains(QStringLiteral("\"-c\"\n    \"id > ") + witness));

        // Space and Enter on the focused label ask the same; Escape-like answers refuse.
        label->setFocus();
        m_script->queue(Answer::No);
        QTest::keyClick(label, Qt::Key_Space);
        m_script->queueCancel();
        QTest::keyClick(label, Qt::Key_Return);
        QCOMPARE(m_script->asked().size(), std::size_t(3));
        QTest::qWait(300);
        QVERIFY(!QFile::exists(witness));

        m_script->queue(Answer::Yes);
        QTest::mouseClick(label, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(witness), 5000);
    }

    // An executable file without arguments and a desktop entry ask too; an address of an
    // unknown scheme names the opener and the address.
    void programFilesAndOtherSchemesAsk()
    {
        test::FakeShell shell;
        const QString tool = path(QStringLiteral("tool"));
        QFile file(tool);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString entry = path(QStringLiteral("run.desktop"));
        QFile desktop(entry);
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.write("[Desktop Entry]\nType=Application\nExec=/bin/true\n");
        desktop.close();

        for (const QString &link : { tool, entry, QStringLiteral("smb://host/share/x") }) {
            m_script->clear();
            QLabel *label = showLink(link);
            m_script->queue(Answer::No);
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(m_script->asked().size(), std::size_t(1));
            QVERIFY2(m_script->asked()[0].text.startsWith(QStringLiteral("This link starts a "
                                                                         "program:")),
                qPrintable(link));
            QVERIFY(shell.calls.isEmpty());
        }
        QVERIFY(m_script->asked()[0].text.contains(QStringLiteral("    xdg-open\n")));
        QVERIFY(m_script->asked()[0].text.contains(QStringLiteral("\"smb://host/share/x\"")));
    }

    // Web and mail addresses, folders and documents open with no question.
    void addressesAndDocumentsOpenAtOnce()
    {
        test::FakeShell shell;
        QFile document(path(QStringLiteral("notes.txt")));
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.close();
        const QStringList links { QStringLiteral("https://sitorva.org/"),
            QStringLiteral("mailto:me@x.org"), path(QStringLiteral("notes.txt")),
            m_dir->path() + QLatin1Char('/') };
        for (const QString &link : links)
            QTest::mouseClick(showLink(link), Qt::LeftButton);
        QVERIFY(m_script->asked().empty());
        QCOMPARE(shell.calls.size(), 4);
        QCOMPARE(
            shell.calls[0], QStringLiteral("start /usr/bin/web|--new|https://sitorva.org/ in "));
        QCOMPARE(shell.calls[1], QStringLiteral("open mailto:me@x.org"));
    }
};

QTEST_MAIN(LinkLabelTest)
#include "LinkLabelTest.moc"
