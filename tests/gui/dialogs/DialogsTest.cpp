#include "gui/dialogs/Dialogs.h"

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
