#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/InputBox.h"
#include "gui/dialogs/LineEdits.h"
#include "support/QtTestApplication.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace stv;

TEST(Dialogs, FilterPairsBecomeQtFilters)
{
    EXPECT_EQ(qtFileFilter(QStringLiteral("Sitorva File (*.stv)|*.stv")),
        QStringLiteral("Sitorva File (*.stv)"));
    EXPECT_EQ(
        qtFileFilter(QStringLiteral("Images (*.gif;*.jpeg)|*.gif;*.jpeg|All Files (*.*)|*.*")),
        QStringLiteral("Images (*.gif *.jpeg);;All Files (*)"));
}

TEST(Dialogs, ScriptedAnswersAreConsumedInOrder)
{
    ScriptedDialogs script;
    script.queue(Answer::No);
    script.queueText(QStringLiteral("typed"));
    script.queueCancel();
    Dialogs::info(nullptr, QStringLiteral("Saved"));
    EXPECT_EQ(Dialogs::confirm(nullptr, QStringLiteral("Sure?"), Buttons::YesNoAbort), Answer::No);
    EXPECT_EQ(
        Dialogs::askLine(nullptr, QStringLiteral("C"), QStringLiteral("P"), QStringLiteral("i")),
        QStringLiteral("typed"));
    EXPECT_EQ(Dialogs::askOpenFile(nullptr, QStringLiteral("T"), {}, {}, {}), QString());
    EXPECT_EQ(Dialogs::zoomEdit(nullptr, QStringLiteral("Z"), QStringLiteral("kept")),
        QStringLiteral("kept"));
    EXPECT_TRUE(script.unexpected().empty());
    EXPECT_EQ(script.asked().size(), 5u);
    EXPECT_EQ(script.messages(), std::vector<QString> { QStringLiteral("Saved") });

    // A question nobody scripted is recorded, not answered with a guess.
    EXPECT_EQ(
        Dialogs::confirm(nullptr, QStringLiteral("Unplanned"), Buttons::NoOk), Answer::Cancel);
    EXPECT_EQ(script.unexpected().size(), 1u);
}

TEST(InputBox, ShowsEveryLineOfALongPrompt)
{
    InputBox box;
    const QString prompt = QStringLiteral(
        "Enter the address of the page to link to,\nfor example\nhttp://www.example.com/"
        "\nThe address is stored as typed.\nA fifth line for a large desktop font.");
    box.setPrompt(prompt);
    const auto *label = box.findChild<QLabel *>(QStringLiteral("PromptLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(label->geometry().bottom(), box.edit()->geometry().top());
    EXPECT_LE(box.edit()->geometry().bottom(), box.height());
}

TEST(LineEdits, PastedLineBreaksBecomeSpacesAndLongTextIsKept)
{
    QLineEdit edit;
    prepareLineEdit(&edit);
    for (const QString &pasted : { QStringLiteral("a\r\nb"), QStringLiteral("a\nb"),
             QStringLiteral("a\rb"), QStringLiteral("a\u2028b"), QStringLiteral("a\u2029b") }) {
        edit.clear();
        QGuiApplication::clipboard()->setText(pasted);
        edit.paste();
        EXPECT_EQ(edit.text(), QStringLiteral("a b")) << pasted.toStdString();
    }
    const QString longText(100000, QLatin1Char('x'));
    edit.setText(longText);
    EXPECT_EQ(edit.text().size(), longText.size());
}
