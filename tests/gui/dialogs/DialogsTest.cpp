#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/LineEdits.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace stv;

class DialogsTest : public QObject
{
    Q_OBJECT
private slots:
    void filterPairsBecomeQtFilters();
    void scriptedAnswersAreConsumedInOrder();
    void inputBoxShowsEveryLineOfALongPrompt();
    void pastedLineBreaksBecomeSpacesAndLongTextIsKept_data();
    void pastedLineBreaksBecomeSpacesAndLongTextIsKept();
};

void DialogsTest::filterPairsBecomeQtFilters()
{
    QCOMPARE(qtFileFilter(QStringLiteral("Sitorva File (*.stv)|*.stv")),
        QStringLiteral("Sitorva File (*.stv)"));
    QCOMPARE(qtFileFilter(QStringLiteral("Images (*.gif;*.jpeg)|*.gif;*.jpeg|All Files (*.*)|*.*")),
        QStringLiteral("Images (*.gif *.jpeg);;All Files (*)"));
}

void DialogsTest::scriptedAnswersAreConsumedInOrder()
{
    ScriptedDialogs script;
    script.queue(Answer::No);
    script.queueText(QStringLiteral("typed"));
    script.queueCancel();
    Dialogs::info(nullptr, QStringLiteral("Saved"));
    QCOMPARE(Dialogs::confirm(nullptr, QStringLiteral("Sure?"), Buttons::YesNoAbort), Answer::No);
    QCOMPARE(
        Dialogs::askLine(nullptr, QStringLiteral("C"), QStringLiteral("P"), QStringLiteral("i")),
        QStringLiteral("typed"));
    QCOMPARE(Dialogs::askOpenFile(nullptr, QStringLiteral("T"), {}, {}, {}), QString());
    QCOMPARE(Dialogs::zoomEdit(nullptr, QStringLiteral("Z"), QStringLiteral("kept")),
        QStringLiteral("kept"));
    QVERIFY(script.unexpected().empty());
    QCOMPARE(script.asked().size(), 5u);
    QVERIFY(script.messages() == std::vector<QString> { QStringLiteral("Saved") });

    // A question nobody scripted is recorded, not answered with a guess.
    QCOMPARE(Dialogs::confirm(nullptr, QStringLiteral("Unplanned"), Buttons::NoOk), Answer::Cancel);
    QCOMPARE(script.unexpected().size(), 1u);
}

void DialogsTest::inputBoxShowsEveryLineOfALongPrompt()
{
    InputBox box;
    const QString prompt = QStringLiteral(
        "Enter the address of the page to link to,\nfor example\nhttp://www.example.com/"
        "\nThe address is stored as typed.\nA fifth line for a large desktop font.");
    box.setPrompt(prompt);
    const auto *label = box.findChild<QLabel *>(QStringLiteral("PromptLabel"));
    QVERIFY(label != nullptr);
    QCOMPARE_GE(label->height(), label->heightForWidth(label->width()));
    QCOMPARE_LE(label->geometry().bottom(), box.edit()->geometry().top());
    QCOMPARE_LE(box.edit()->geometry().bottom(), box.height());
}

void DialogsTest::pastedLineBreaksBecomeSpacesAndLongTextIsKept_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb");
    QTest::newRow("LF") << QStringLiteral("a\nb");
    QTest::newRow("CR") << QStringLiteral("a\rb");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b");
    QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b");
}

void DialogsTest::pastedLineBreaksBecomeSpacesAndLongTextIsKept()
{
    QFETCH(QString, pasted);
    QLineEdit edit;
    prepareLineEdit(&edit);
    QGuiApplication::clipboard()->setText(pasted);
    edit.paste();
    QCOMPARE(edit.text(), QStringLiteral("a b"));
    const QString longText(100000, QLatin1Char('x'));
    edit.setText(longText);
    QCOMPARE(edit.text().size(), longText.size());
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
