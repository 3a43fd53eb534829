// The help window driven like a user: clicks on links and buttons, keys, printing.
#include "gui/help/HelpWindow.h"
#include "core/files/FileIO.h"
#include "core/text/TextTools.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/help/HelpPrint.h"
#include "gui/help/ProgressGauge.h"
#include "gui/help/ShowHelp.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

#include "support/FakeShell.h"
#include "support/HostileFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <memory>

using namespace stv;

namespace
{

QApplication &App()
{
    static int argc = 1;
    static char name[] = "help_window_tests";
    static char *argv[] = { name, nullptr };
    // Never destroyed: tearing it down among the other statics at exit crashes Qt.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

// Catches the web site address instead of starting a browser.

class HelpWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        App();
        ASSERT_TRUE(m_dir.isValid());
        setProgramFolder(m_dir.path());
        setHelpPrintFile(QString());
    }
    void TearDown() override
    {
        m_form.reset();
        setHelpPrintFile(QString());
        setProgramFolder(QString());
    }

    void writeHelp(const std::vector<std::string> &lines)
    {
        ASSERT_TRUE(writeWholeFile(helpFilePath().toStdString(), joinLines(lines)).ok);
    }
    HelpWindow &open(unsigned topic)
    {
        if (!m_form)
            m_form = std::make_unique<HelpWindow>();
        m_form->showTopic(topic);
        return *m_form;
    }
    // Clicks the middle of link spot i, as a user would.
    void clickLink(int i)
    {
        const HelpWindow::LinkSpot s = m_form->linkSpots()[static_cast<std::size_t>(i)];
        const QPoint at((s.left + s.right) / 2, (s.top + s.bottom) / 2);
        QTest::mouseMove(m_form->textBox(), at);
        QTest::mouseClick(m_form->textBox(), Qt::LeftButton, {}, at);
    }
    QPushButton *button(const char *name)
    {
        return m_form->findChild<QPushButton *>(QLatin1String(name));
    }
    static int plainWidth(const QString &text)
    {
        QFont f;
        f.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("DejaVu Sans") });
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(13);
        return QFontMetrics(f).horizontalAdvance(text);
    }

    QTemporaryDir m_dir;
    ScriptedDialogs m_script;
    std::unique_ptr<HelpWindow> m_form;
};

} // namespace

TEST_F(HelpWindowTest, RowsAtNinetySixDotsPerInch)
{
    std::vector<std::string> lines = { "0:Chapter Contents" };
    for (int i = 0; i < 40; ++i)
        lines.push_back("line " + intText(i));
    writeHelp(lines);
    HelpWindow &f = open(0);
    ASSERT_EQ(f.screen()->logicalDotsPerInchY(), 96);
    EXPECT_EQ(f.linePitch(), 18);
    EXPECT_EQ(f.linesInView(), 21);
    f.drawLines(0);
    ASSERT_EQ(f.drawnRows().size(), 22u);
    EXPECT_EQ(f.drawnRows()[21].y, 21 * 18);
    EXPECT_EQ(f.drawnRows()[21].pieces[0].text, QStringLiteral("line 21"));
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Sitorva 98 .. On-Line Help System."));
    EXPECT_EQ(f.size(), QSize(508, 442));
    EXPECT_EQ(f.scrollBar()->singleStep(), 1);
    EXPECT_EQ(f.scrollBar()->pageStep(), 10);
    EXPECT_TRUE(m_script.unexpected().empty());
}

TEST_F(HelpWindowTest, LinkLineDrawsThreePiecesAndFollows)
{
    std::vector<std::string> lines = { "0:Chapter Contents", "See %Saving%[12] for details" };
    for (int t = 1; t <= 12; ++t) {
        lines.push_back(intText(t) + ":Chapter Topic " + intText(t));
        for (int i = 0; i < 30; ++i)
            lines.push_back("body " + intText(i));
    }
    writeHelp(lines);
    HelpWindow &f = open(0);
    f.drawLines(0);
    const auto &row = f.drawnRows()[0];
    ASSERT_EQ(row.pieces.size(), 3u);
    const int see = plainWidth(QStringLiteral("See "));
    EXPECT_EQ(row.pieces[0].x, 0);
    EXPECT_EQ(row.pieces[0].text, QStringLiteral("See "));
    EXPECT_EQ(row.pieces[1].x, see);
    EXPECT_EQ(row.pieces[1].style, SpanStyle::Link);
    EXPECT_EQ(row.pieces[1].text, QStringLiteral("Saving"));
    EXPECT_EQ(row.pieces[2].x, see + row.pieces[1].width);
    EXPECT_EQ(row.pieces[2].text, QStringLiteral(" for details"));
    const HelpWindow::LinkSpot spot = f.linkSpots()[0];
    EXPECT_EQ(spot,
        (HelpWindow::LinkSpot { static_cast<std::int16_t>(see), 0,
            static_cast<std::int16_t>(see + row.pieces[1].width), 18, 12 }));
    EXPECT_EQ(f.linkSpots()[1], HelpWindow::LinkSpot {});

    // The hand shows over the link only.
    QTest::mouseMove(f.textBox(), QPoint(2, 5));
    EXPECT_EQ(f.hoverLink(), -1);
    EXPECT_EQ(f.textBox()->cursor().shape(), Qt::IBeamCursor);
    f.scrollBar()->setValue(3); // topic 12 must still open at its first line
    f.scrollBar()->setValue(0);
    clickLink(0);
    EXPECT_EQ(f.currentTopic(), 12u);
    EXPECT_EQ(f.chapterTitle(), "Topic 12");
    EXPECT_EQ(f.scrollBar()->value(), 0);
    EXPECT_EQ(f.drawnRows()[0].pieces[0].text, QStringLiteral("body 0"));
    EXPECT_TRUE(button("Button3")->isEnabled());
}

TEST_F(HelpWindowTest, PictureGapAndMixedMarkers)
{
    writeHelp({ "0:Chapter Contents", "Text {I} 3; more", "%a%[1] ^b^", "50% of ^it^" });
    HelpWindow &f = open(0);
    f.drawLines(0);
    const auto &pic = f.drawnRows()[0].pieces;
    ASSERT_EQ(pic.size(), 3u);
    EXPECT_EQ(pic[1].picture, 3);
    EXPECT_EQ(pic[1].x, plainWidth(QStringLiteral("Text ")));
    EXPECT_EQ(pic[1].width, plainWidth(QStringLiteral("{I} 8;")));
    EXPECT_EQ(pic[2].x, pic[1].x + pic[1].width);
    // Only the "%" pair is styled; the carets are characters.
    const auto &mixed = f.drawnRows()[1].pieces;
    EXPECT_EQ(mixed.back().text, QStringLiteral(" ^b^"));
    EXPECT_EQ(mixed.back().style, SpanStyle::Plain);
    // An unpartnered first marker draws the line as plain text.
    ASSERT_EQ(f.drawnRows()[2].pieces.size(), 1u);
    EXPECT_EQ(f.drawnRows()[2].pieces[0].text, QStringLiteral("50% of ^it^"));
    // Painting with null icons must not fail and keeps the gap.
    const QImage shot = f.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

TEST_F(HelpWindowTest, BackThroughTwentyEightOfThirtyFiveVisits)
{
    std::vector<std::string> lines;
    for (int t = 0; t <= 36; ++t) {
        lines.push_back(intText(t) + ":Chapter Topic " + intText(t));
        lines.push_back("Go %next%[" + intText(t + 1) + "]");
    }
    writeHelp(lines);
    HelpWindow &f = open(0);
    f.drawLines(0);
    for (int i = 0; i < 35; ++i)
        clickLink(0);
    EXPECT_EQ(f.currentTopic(), 35u);
    EXPECT_EQ(f.topicHistory().size(), 29u);
    int backs = 0;
    while (button("Button3")->isEnabled()) {
        QTest::mouseClick(button("Button3"), Qt::LeftButton);
        ++backs;
    }
    // Making room for the topic returned to costs the oldest entry on the first Back: the
    // topics seen while stepping back are the last 28 visited, 35 down to 8.
    EXPECT_EQ(backs, 27);
    EXPECT_EQ(f.currentTopic(), 8u);
    EXPECT_EQ(f.topicHistory().size(), 1u);
}

TEST_F(HelpWindowTest, BackRestoresTheTopLine)
{
    std::vector<std::string> lines = { "0:Chapter Contents" };
    for (int i = 0; i < 60; ++i)
        lines.push_back(i == 40 ? "%Other%[1]" : "row " + intText(i));
    lines.push_back("1:Chapter Other");
    lines.push_back("%Back home%[0]");
    writeHelp(lines);
    HelpWindow &f = open(0);
    f.scrollBar()->setValue(35);
    const int row = 40 - 35;
    const HelpWindow::LinkSpot s = f.linkSpots()[0];
    ASSERT_EQ(s.top, row * 18);
    clickLink(0);
    ASSERT_EQ(f.currentTopic(), 1u);
    QTest::mouseClick(button("Button3"), Qt::LeftButton);
    EXPECT_EQ(f.currentTopic(), 0u);
    EXPECT_EQ(f.scrollBar()->value(), 35);
    EXPECT_EQ(f.gauge()->progress(), 35);
    EXPECT_EQ(f.drawnRows()[0].pieces[0].text, QStringLiteral("row 35"));
    EXPECT_FALSE(button("Button3")->isEnabled());
}

TEST_F(HelpWindowTest, OneLineAndEmptyChaptersScrollAndGauge)
{
    writeHelp({ "0:Chapter Contents", "only line", "1:Chapter Empty", "2:Chapter Missing next" });
    HelpWindow &f = open(0);
    EXPECT_EQ(f.scrollBar()->minimum(), 0);
    EXPECT_EQ(f.scrollBar()->maximum(), 0);
    EXPECT_EQ(f.gauge()->text(), QStringLiteral("0%"));
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(f.currentTopic(), 1u);
    EXPECT_EQ(f.scrollBar()->maximum(), 1);
    EXPECT_TRUE(f.chapterLines().empty());
    EXPECT_EQ(f.gauge()->text(), QStringLiteral("0%"));

    // Previous at topic 0 and next at the last topic do nothing.
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(f.currentTopic(), 2u);
    EXPECT_EQ(f.lastTopic(), 2u);
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    const std::size_t visits = f.topicHistory().size();
    QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(f.currentTopic(), 0u);
    EXPECT_EQ(f.topicHistory().size(), visits);

    // A topic without a chapter: empty view, previous title, range 0 to 1.
    f.showTopic(500);
    EXPECT_EQ(f.currentTopic(), 500u);
    EXPECT_TRUE(f.chapterLines().empty());
    EXPECT_EQ(f.chapterTitle(), "Contents");
    EXPECT_EQ(f.scrollBar()->maximum(), 1);
}

TEST_F(HelpWindowTest, GaugeShowsHowFarThrough)
{
    ProgressGauge g;
    g.setMinValue(0);
    g.setMaxValue(3);
    g.setProgress(2);
    EXPECT_EQ(g.text(), QStringLiteral("66%"));
    g.setMaxValue(0);
    g.setProgress(0);
    EXPECT_EQ(g.text(), QStringLiteral("0%"));
}

TEST_F(HelpWindowTest, PrintsToPdfWithoutDialog)
{
    writeHelp({ "0:Chapter Contents", "1:Chapter Long" });
    const QString pdf = m_dir.filePath(QStringLiteral("empty.pdf"));
    setHelpPrintFile(pdf);
    open(0);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    EXPECT_TRUE(m_script.asked().empty());

    // A long chapter runs onto more pages; a very long line breaks instead of running off.
    std::vector<std::string> lines = { "0:Chapter Long" };
    for (int i = 0; i < 150; ++i)
        lines.push_back("printed line " + intText(i) + " %link%[3] ^bold^");
    lines.push_back(std::string(2000, 'w'));
    writeHelp(lines);
    const QString longPdf = m_dir.filePath(QStringLiteral("long.pdf"));
    setHelpPrintFile(longPdf);
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QFile longFile(longPdf);
    ASSERT_TRUE(longFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = longFile.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_GE(QString::fromLatin1(bytes).count(page), 3);
    // The job carries the chapter's title.
    QByteArray title;
    for (QChar c : QStringLiteral("Chapter.. Long"))
        title.append('\0').append(static_cast<char>(c.unicode()));
    EXPECT_TRUE(bytes.contains(title));
    EXPECT_TRUE(m_script.asked().empty());
}

TEST_F(HelpWindowTest, BreakAfterTheLastCharacterThatFits)
{
    App();
    const QFontMetrics m { QFont() };
    const int w = m.horizontalAdvance(QStringLiteral("abc"));
    const std::vector<QString> parts = breakToWidth(QStringLiteral("abcabcab"), m, w);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0], QStringLiteral("abc"));
    EXPECT_EQ(parts[2], QStringLiteral("ab"));
    EXPECT_EQ(breakToWidth(QString(), m, w), std::vector<QString> { QString() });
    // A character wider than the page still goes out, one per line.
    EXPECT_EQ(breakToWidth(QStringLiteral("WW"), m, 1).size(), 2u);
}

TEST_F(HelpWindowTest, MissingHelpFileShowsTheErrorAndKeepsTheView)
{
    writeHelp({ "0:Chapter Contents", "kept line" });
    HelpWindow &f = open(0);
    ASSERT_EQ(f.chapterLines().size(), 1u);
    QFile::remove(helpFilePath());
    m_script.queue(Answer::Abort);
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton); // LastTopic is 0: nothing
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    ASSERT_EQ(m_script.asked().size(), 1u);
    EXPECT_EQ(m_script.asked()[0].what, QStringLiteral("error"));
    EXPECT_EQ(m_script.asked()[0].buttons, Buttons::Abort);
    EXPECT_EQ(m_script.asked()[0].text,
        QStringLiteral("Cannot Locate Help File..\n\n") + m_dir.path()
            + QStringLiteral("/StvHelp.txt"));
    EXPECT_EQ(f.chapterLines(), std::vector<std::string> { "kept line" });
    EXPECT_EQ(f.topicHistory().size(), 1u);
    EXPECT_TRUE(m_script.unexpected().empty());
}

TEST_F(HelpWindowTest, ShowHelpTopicCasesAndEscape)
{
    writeHelp({ "0:Chapter Contents", "%One%[1]", "1:Chapter One", "x", "2:Chapter Two", "y" });
    HelpWindow &f = open(1);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.chapterTitle(), "One");
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    ASSERT_EQ(f.topicHistory().size(), 2u);
    // The same topic only brings the window forward.
    f.showTopic(2);
    EXPECT_EQ(f.topicHistory().size(), 2u);
    // Another topic closes the window (history gone) and opens it again.
    f.showTopic(0);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.currentTopic(), 0u);
    EXPECT_EQ(f.topicHistory().size(), 1u);
    EXPECT_FALSE(button("Button3")->isEnabled());

    // Escape closes from any control; the history is emptied, the chapter survives.
    QTest::keyClick(button("Button1"), Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(f.topicHistory().empty());
    EXPECT_EQ(f.chapterTitle(), "Contents");

    // The stay-on-top switch does not reload the chapter.
    f.showTopic(0);
    const std::size_t before = f.topicHistory().size();
    QTest::mouseClick(
        f.findChild<QWidget *>(QStringLiteral("HOnTopCheck")), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(HelpWindow::keepHelpOnTop());
    EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.topicHistory().size(), before);

    // showHelpTopic reaches the window made at start-up.
    m_form.reset();
    HelpWindow &made = open(0);
    made.close();
    showHelpTopic(2);
    EXPECT_TRUE(made.isVisible());
    EXPECT_EQ(made.chapterTitle(), "Two");
    showHelpTopic(-4);
    EXPECT_EQ(made.currentTopic(), 0u);
}

TEST_F(HelpWindowTest, WebSiteLinkOpensTheSite)
{
    writeHelp({ "0:Chapter Contents", "Visit %our site%[99]" });
    test::FakeShell shell;
    HelpWindow &f = open(0);
    f.drawLines(0);
    clickLink(0);
    ASSERT_EQ(shell.calls.size(), 1);
    EXPECT_EQ(shell.calls[0], QStringLiteral("start /usr/bin/web|--new|https://sitorva.org/ in "));
    EXPECT_EQ(f.currentTopic(), 0u);
    EXPECT_EQ(f.topicHistory().size(), 1u);
}

TEST_F(HelpWindowTest, ShippedManualFitsTheTextBox)
{
    // The view wraps nothing: every row of the manual must fit the text box's 480 pixels.
    std::string manual;
    ASSERT_TRUE(readWholeFile(STV_MANUAL, manual).ok);
    ASSERT_TRUE(writeWholeFile(helpFilePath().toStdString(), manual).ok);
    HelpWindow &f = open(0);
    for (unsigned t = 0; t <= f.lastTopic(); ++t) {
        f.showTopic(t);
        for (int top = 0; top <= f.scrollBar()->maximum(); top += f.linesInView()) {
            f.drawLines(top);
            for (const HelpWindow::DrawnRow &row : f.drawnRows()) {
                if (row.pieces.empty())
                    continue;
                const HelpWindow::DrawnPiece &end = row.pieces.back();
                EXPECT_LE(end.x + end.width, 480) << t << ": " << end.text.toStdString();
            }
        }
    }
    EXPECT_TRUE(m_script.unexpected().empty());
}

// A manual of megabyte-long lines: every drawing pass lays out only what the text box shows.
TEST_F(HelpWindowTest, MegabyteLinesDrawQuickly)
{
    std::vector<std::string> lines = { "0:Chapter Contents" };
    for (int i = 0; i < 30; ++i)
        lines.push_back(std::string(1 << 20, 'w') + " %more%[0]");
    writeHelp(lines);
    HelpWindow &f = open(0);
    // What is laid out is checked below; the hang guard stops the minutes-long layout of
    // whole megabyte lines on every pass.
    const stv::test::HangGuard guard(120);
    stv::test::printSecondsFor("five drawing passes over megabyte lines", [&] {
        for (int top = 0; top < 5; ++top) {
            f.drawLines(top);
            f.textBox()->repaint();
        }
    });
    ASSERT_FALSE(f.drawnRows()[0].pieces.empty());
    EXPECT_LE(f.drawnRows()[0].pieces[0].text.size(), 480);
    EXPECT_EQ(f.chapterLines()[0].size(), (1u << 20) + 10);
}

// A manual that is a FIFO or too large: reported at once, naming the file and the reason.
TEST_F(HelpWindowTest, ManualThatCannotBeReadIsReportedAtOnce)
{
    const stv::test::HangGuard guard;
    for (const auto kind : { stv::test::Hostile::Fifo, stv::test::Hostile::Oversized }) {
        QFile::remove(helpFilePath());
        ASSERT_TRUE(stv::test::makeHostile(kind, helpFilePath().toStdString(), ManualFileLimit));
        m_script.clear();
        m_form.reset();
        stv::test::printSecondsFor("reported", [&] { open(0); });
        ASSERT_EQ(m_script.messages().size(), 1u);
        EXPECT_TRUE(m_script.messages()[0].startsWith(QStringLiteral("Cannot ")
            + (kind == stv::test::Hostile::Fifo ? "open " : "read ") + helpFilePath()))
            << m_script.messages()[0].toStdString();
        EXPECT_TRUE(m_script.messages()[0].contains(kind == stv::test::Hostile::Fifo
                ? QStringLiteral("not a regular file")
                : QStringLiteral("that such a file may hold")));
    }
}

TEST_F(HelpWindowTest, WheelAndKeysScrollTheText)
{
    std::vector<std::string> lines = { "0:Chapter Contents" };
    for (int i = 0; i < 100; ++i)
        lines.push_back("line " + intText(i));
    writeHelp(lines);
    HelpWindow &f = open(0);
    QScrollBar *bar = f.scrollBar();
    const int page = f.linesInView();

    QWidget *text = f.textBox();
    const QPoint at(20, 20);
    QWheelEvent down(at, text->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(text, &down);
    EXPECT_EQ(bar->value(), 3);
    QWheelEvent up(at, text->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(text, &up);
    EXPECT_EQ(bar->value(), 0);

    QTest::keyClick(text, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), page);
    QTest::keyClick(text, Qt::Key_Down);
    EXPECT_EQ(bar->value(), page + 1);
    QTest::keyClick(text, Qt::Key_Up);
    QTest::keyClick(text, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(text, Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(f.drawnRows().empty(), false);
    QTest::keyClick(text, Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);
}
