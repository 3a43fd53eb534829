// Searching the manual from the help window, driven by keys and clicks: Ctrl+F, the places
// listed, a place shown marked, F3 and Shift+F3.
#include "gui/help/HelpSearchWindow.h"
#include "gui/help/HelpWindow.h"

#include "core/files/FileIO.h"
#include "core/text/TextTools.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "support/Controls.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace stv;
using stv::test::control;

// Every case gets its own program folder holding a small manual, and the help window open on
// chapter 1.
class HelpSearchTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<test::TempProgramFolder>();
        QVERIFY(m_folder->dir.isValid());
        // Four chapters; "save" stands in 0, twice in 2 (one of them far down) and in 3.
        std::vector<std::string> lines = { "0:Chapter Contents", "%Save%[2] your work",
            "1:Chapter Nothing", "Not here.", "2:Chapter Saving", "Press ^Save^ to save." };
        for (int i = 0; i < 40; ++i)
            lines.push_back("filler " + intText(i));
        lines.push_back("The last words: save often.");
        lines.push_back("3:Chapter More");
        lines.push_back("{I} 6; Saved");
        QVERIFY(writeWholeFile(helpFilePath().toStdString(), joinLines(lines)).ok());
        m_help = std::make_unique<HelpWindow>();
        m_help->showTopic(1);
        m_help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_help.get()));
    }
    void cleanup()
    {
        QVERIFY(m_folder->dialogs.unexpected().empty());
        m_help.reset();
        m_folder.reset();
    }
    void ctrlFListsThePlacesAndF3StepsThroughThem();
    void chosenPlaceIsMarkedOnItsRow();
    void nothingFoundSaysSo();

private:
    HelpSearchWindow &search() { return *m_help->searchWindow(); }
    // Ctrl+F in the help window, the word typed, Enter.
    void find(const QString &word)
    {
        QTest::keyClick(m_help->textBox(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(search().isVisible());
        QCOMPARE(search().focusWidget(), search().searchEdit());
        QTest::keyClicks(search().searchEdit(), word);
        QTest::keyClick(search().searchEdit(), Qt::Key_Return);
    }
    // The topic and line of the place marked in the help window.
    std::pair<unsigned, int> marked() const
    {
        if (!m_help->markedHit())
            return { 0, -1 };
        return { m_help->currentTopic(), m_help->markedHit()->line };
    }

    std::unique_ptr<test::TempProgramFolder> m_folder;
    std::unique_ptr<HelpWindow> m_help;
};

// The places are listed in chapter order; the first is shown at once. F3 steps through the
// rest and round to the first again, Shift+F3 back; each is shown in its chapter with the
// line in view.
void HelpSearchTest::ctrlFListsThePlacesAndF3StepsThroughThem()
{
    find(QStringLiteral("SAVE"));
    QListWidget *list = search().hitList();
    QCOMPARE(list->count(), 5);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Saving:  Press Save to save."));
    QCOMPARE(
        control<QLabel>(search(), "HitCount")->text(), QStringLiteral("5 places in 3 chapters."));
    QCOMPARE(marked(), std::make_pair(0u, 0));

    const std::pair<unsigned, int> expected[]
        = { { 2, 0 }, { 2, 0 }, { 2, 41 }, { 3, 0 }, { 0, 0 } };
    for (const auto &place : expected) {
        QTest::keyClick(m_help->textBox(), Qt::Key_F3);
        QCOMPARE(marked(), place);
    }
    QTest::keyClick(m_help->textBox(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(marked(), std::make_pair(3u, 0));
    QTest::keyClick(m_help->textBox(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(marked(), std::make_pair(2u, 41));
    // The far place is scrolled into view, a few lines below the top.
    QCOMPARE(m_help->scrollBar()->value(), 38);
    QCOMPARE(list->currentRow(), 3);
    // F3 works in the search window too.
    QTest::keyClick(list, Qt::Key_F3);
    QCOMPARE(marked(), std::make_pair(3u, 0));
}

// A click or Enter on a listed place shows it; the mark lies over the word on its row, and
// goes when another chapter is opened.
void HelpSearchTest::chosenPlaceIsMarkedOnItsRow()
{
    find(QStringLiteral("save"));
    QListWidget *list = search().hitList();
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    QCOMPARE(marked(), std::make_pair(2u, 0));
    QCOMPARE(m_help->markedHit()->start, 14u); // "Press Save to save.": the second one

    // The word's own pixels are tinted; those before it are not.
    m_help->textBox()->repaint();
    const QImage shot = m_help->textBox()->grab().toImage();
    const HelpWindow::DrawnRow &row = m_help->drawnRows()[0];
    QCOMPARE(row.pieces.size(), 3u); // "Press ", "Save" in bold, " to save."
    const QFontMetrics plain(m_help->textBox()->font());
    const int wordLeft = row.pieces[2].x + plain.horizontalAdvance(QStringLiteral(" to "));
    const QColor page = m_help->textBox()->palette().color(QPalette::Base);
    QVERIFY(shot.pixelColor(wordLeft + 2, row.y + 1) != page);
    QCOMPARE(shot.pixelColor(row.pieces[2].x + 1, row.y + 1), page);

    list->setCurrentRow(4);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(marked(), std::make_pair(3u, 0));
    QTest::mouseClick(control<QPushButton>(*m_help, "Button1"), Qt::LeftButton);
    QCOMPARE(m_help->currentTopic(), 0u);
    QVERIFY(!m_help->markedHit().has_value());
}

// A word the manual lacks says so; F3 before any search opens the search window.
void HelpSearchTest::nothingFoundSaysSo()
{
    QTest::keyClick(m_help->textBox(), Qt::Key_F3);
    QVERIFY(search().isVisible());
    QTest::keyClicks(search().searchEdit(), QStringLiteral("zebra"));
    QTest::keyClick(search().searchEdit(), Qt::Key_Return);
    QCOMPARE(search().hitList()->count(), 0);
    QCOMPARE(control<QLabel>(search(), "HitCount")->text(),
        QStringLiteral("\"zebra\" is not in the manual."));
    QCOMPARE(m_help->currentTopic(), 1u);
}

QTEST_MAIN(HelpSearchTest)
#include "HelpSearchTest.moc"
