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
#include <QUrl>
#include <QWheelEvent>
#include <QtTest>

#include "support/FakeShell.h"
#include "support/HostileFiles.h"
#include "support/TempProgramFolder.h"

#include <cstdio>

#include <memory>

using namespace stv;

namespace
{

} // namespace

// Every case starts with its own program folder (where the manual is read) and its own
// scripted answers; the window is made by the case.
class HelpWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<test::TempProgramFolder>();
        QVERIFY(m_folder->dir.isValid());
        setHelpPrintFile(QString());
    }
    void cleanup()
    {
        m_form.reset();
        setHelpPrintFile(QString());
        m_folder.reset();
    }
    void rowsAtNinetySixDotsPerInch();
    void linkLineDrawsThreePiecesAndFollows();
    void pictureGapAndMixedMarkers();
    void backThroughTwentyEightOfThirtyFiveVisits();
    void backRestoresTheTopLine();
    void oneLineAndEmptyChaptersScrollAndGauge();
    void gaugeShowsHowFarThrough();
    void printsToPdfWithoutDialog();
    void breakAfterTheLastCharacterThatFits();
    void missingHelpFileShowsTheErrorAndKeepsTheView();
    void showHelpTopicCasesAndEscape();
    void webSiteLinkOpensTheSite();
    void shippedManualFitsTheTextBox();
    void megabyteLinesDrawQuickly();
    void manualThatCannotBeReadIsReportedAtOnce();
    void wheelAndKeysScrollTheText();

private:
    void writeHelp(const std::vector<std::string> &lines)
    {
        QVERIFY(writeWholeFile(helpFilePath().toStdString(), joinLines(lines)).ok());
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

    std::unique_ptr<test::TempProgramFolder> m_folder;
    std::unique_ptr<HelpWindow> m_form;
};

void HelpWindowTest::rowsAtNinetySixDotsPerInch()
{
    std::vector<std::string> lines = { "0:Chapter Contents" };
    for (int i = 0; i < 40; ++i)
        lines.push_back("line " + intText(i));
    writeHelp(lines);
    HelpWindow &f = open(0);
    QCOMPARE(f.screen()->logicalDotsPerInchY(), 96);
    QCOMPARE(f.linePitch(), 18);
    QCOMPARE(f.linesInView(), 21);
    f.drawLines(0);
    QCOMPARE(f.drawnRows().size(), 22u);
    QCOMPARE(f.drawnRows()[21].y, 21 * 18);
    QCOMPARE(f.drawnRows()[21].pieces[0].text, QStringLiteral("line 21"));
    QCOMPARE(f.windowTitle(), QStringLiteral("Sitorva 98 .. On-Line Help System."));
    QCOMPARE(f.size(), QSize(508, 442));
    QCOMPARE(f.scrollBar()->singleStep(), 1);
    QCOMPARE(f.scrollBar()->pageStep(), 10);
    QVERIFY(m_folder->dialogs.unexpected().empty());
}

void HelpWindowTest::linkLineDrawsThreePiecesAndFollows()
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
    QCOMPARE(row.pieces.size(), 3u);
    const int see = plainWidth(QStringLiteral("See "));
    QCOMPARE(row.pieces[0].x, 0);
    QCOMPARE(row.pieces[0].text, QStringLiteral("See "));
    QCOMPARE(row.pieces[1].x, see);
    QCOMPARE(row.pieces[1].style, SpanStyle::Link);
    QCOMPARE(row.pieces[1].text, QStringLiteral("Saving"));
    QCOMPARE(row.pieces[2].x, see + row.pieces[1].width);
    QCOMPARE(row.pieces[2].text, QStringLiteral(" for details"));
    const HelpWindow::LinkSpot spot = f.linkSpots()[0];
    QCOMPARE(spot,
        (HelpWindow::LinkSpot { static_cast<std::int16_t>(see), 0,
            static_cast<std::int16_t>(see + row.pieces[1].width), 18, 12 }));
    QCOMPARE(f.linkSpots()[1], HelpWindow::LinkSpot {});

    // The hand shows over the link only.
    QTest::mouseMove(f.textBox(), QPoint(2, 5));
    QCOMPARE(f.hoverLink(), -1);
    QCOMPARE(f.textBox()->cursor().shape(), Qt::IBeamCursor);
    f.scrollBar()->setValue(3); // topic 12 must still open at its first line
    f.scrollBar()->setValue(0);
    clickLink(0);
    QCOMPARE(f.currentTopic(), 12u);
    QCOMPARE(f.chapterTitle(), "Topic 12");
    QCOMPARE(f.scrollBar()->value(), 0);
    QCOMPARE(f.drawnRows()[0].pieces[0].text, QStringLiteral("body 0"));
    QVERIFY(button("Button3")->isEnabled());
}

void HelpWindowTest::pictureGapAndMixedMarkers()
{
    writeHelp({ "0:Chapter Contents", "Text {I} 3; more", "%a%[1] ^b^", "50% of ^it^" });
    HelpWindow &f = open(0);
    f.drawLines(0);
    const auto &pic = f.drawnRows()[0].pieces;
    QCOMPARE(pic.size(), 3u);
    QCOMPARE(pic[1].picture, 3);
    QCOMPARE(pic[1].x, plainWidth(QStringLiteral("Text ")));
    QCOMPARE(pic[1].width, plainWidth(QStringLiteral("{I} 8;")));
    QCOMPARE(pic[2].x, pic[1].x + pic[1].width);
    // Only the "%" pair is styled; the carets are characters.
    const auto &mixed = f.drawnRows()[1].pieces;
    QCOMPARE(mixed.back().text, QStringLiteral(" ^b^"));
    QCOMPARE(mixed.back().style, SpanStyle::Plain);
    // An unpartnered first marker draws the line as plain text.
    QCOMPARE(f.drawnRows()[2].pieces.size(), 1u);
    QCOMPARE(f.drawnRows()[2].pieces[0].text, QStringLiteral("50% of ^it^"));
    // Painting with null icons must not fail and keeps the gap.
    const QImage shot = f.grab().toImage();
    QVERIFY(!shot.isNull());
}

void HelpWindowTest::backThroughTwentyEightOfThirtyFiveVisits()
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
    QCOMPARE(f.currentTopic(), 35u);
    QCOMPARE(f.topicHistory().size(), 29u);
    int backs = 0;
    while (button("Button3")->isEnabled()) {
        QTest::mouseClick(button("Button3"), Qt::LeftButton);
        ++backs;
    }
    // Making room for the topic returned to costs the oldest entry on the first Back: the
    // topics seen while stepping back are the last 28 visited, 35 down to 8.
    QCOMPARE(backs, 27);
    QCOMPARE(f.currentTopic(), 8u);
    QCOMPARE(f.topicHistory().size(), 1u);
}

void HelpWindowTest::backRestoresTheTopLine()
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
    QCOMPARE(s.top, row * 18);
    clickLink(0);
    QCOMPARE(f.currentTopic(), 1u);
    QTest::mouseClick(button("Button3"), Qt::LeftButton);
    QCOMPARE(f.currentTopic(), 0u);
    QCOMPARE(f.scrollBar()->value(), 35);
    QCOMPARE(f.gauge()->progress(), 35);
    QCOMPARE(f.drawnRows()[0].pieces[0].text, QStringLiteral("row 35"));
    QVERIFY(!button("Button3")->isEnabled());
}

void HelpWindowTest::oneLineAndEmptyChaptersScrollAndGauge()
{
    writeHelp({ "0:Chapter Contents", "only line", "1:Chapter Empty", "2:Chapter Missing next" });
    HelpWindow &f = open(0);
    QCOMPARE(f.scrollBar()->minimum(), 0);
    QCOMPARE(f.scrollBar()->maximum(), 0);
    QCOMPARE(f.gauge()->text(), QStringLiteral("0%"));
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    QCOMPARE(f.currentTopic(), 1u);
    QCOMPARE(f.scrollBar()->maximum(), 1);
    QVERIFY(f.chapterLines().empty());
    QCOMPARE(f.gauge()->text(), QStringLiteral("0%"));

    // Previous at topic 0 and next at the last topic do nothing.
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    QCOMPARE(f.currentTopic(), 2u);
    QCOMPARE(f.lastTopic(), 2u);
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    const std::size_t visits = f.topicHistory().size();
    QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
    QCOMPARE(f.currentTopic(), 0u);
    QCOMPARE(f.topicHistory().size(), visits);

    // A topic without a chapter: empty view, previous title, range 0 to 1.
    f.showTopic(500);
    QCOMPARE(f.currentTopic(), 500u);
    QVERIFY(f.chapterLines().empty());
    QCOMPARE(f.chapterTitle(), "Contents");
    QCOMPARE(f.scrollBar()->maximum(), 1);
}

void HelpWindowTest::gaugeShowsHowFarThrough()
{
    ProgressGauge g;
    g.setMinValue(0);
    g.setMaxValue(3);
    g.setProgress(2);
    QCOMPARE(g.text(), QStringLiteral("66%"));
    g.setMaxValue(0);
    g.setProgress(0);
    QCOMPARE(g.text(), QStringLiteral("0%"));
}

void HelpWindowTest::printsToPdfWithoutDialog()
{
    writeHelp({ "0:Chapter Contents", "1:Chapter Long" });
    const QString pdf = m_folder->dir.filePath(QStringLiteral("empty.pdf"));
    setHelpPrintFile(pdf);
    open(0);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("%PDF"));
    QVERIFY(m_folder->dialogs.asked().empty());

    // A long chapter runs onto more pages; a very long line breaks instead of running off.
    std::vector<std::string> lines = { "0:Chapter Long" };
    for (int i = 0; i < 150; ++i)
        lines.push_back("printed line " + intText(i) + " %link%[3] ^bold^");
    lines.push_back(std::string(2000, 'w'));
    writeHelp(lines);
    const QString longPdf = m_folder->dir.filePath(QStringLiteral("long.pdf"));
    setHelpPrintFile(longPdf);
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QFile longFile(longPdf);
    QVERIFY(longFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = longFile.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    QCOMPARE_GE(QString::fromLatin1(bytes).count(page), 3);
    // The job carries the chapter's title.
    QByteArray title;
    for (QChar c : QStringLiteral("Chapter.. Long"))
        title.append('\0').append(static_cast<char>(c.unicode()));
    QVERIFY(bytes.contains(title));
    QVERIFY(m_folder->dialogs.asked().empty());
}

void HelpWindowTest::breakAfterTheLastCharacterThatFits()
{
    const QFontMetrics m { QFont() };
    const int w = m.horizontalAdvance(QStringLiteral("abc"));
    const std::vector<QString> parts = breakToWidth(QStringLiteral("abcabcab"), m, w);
    QCOMPARE(parts.size(), 3u);
    QCOMPARE(parts[0], QStringLiteral("abc"));
    QCOMPARE(parts[2], QStringLiteral("ab"));
    QCOMPARE(breakToWidth(QString(), m, w), std::vector<QString> { QString() });
    // A character wider than the page still goes out, one per line.
    QCOMPARE(breakToWidth(QStringLiteral("WW"), m, 1).size(), 2u);
}

void HelpWindowTest::missingHelpFileShowsTheErrorAndKeepsTheView()
{
    writeHelp({ "0:Chapter Contents", "kept line" });
    HelpWindow &f = open(0);
    QCOMPARE(f.chapterLines().size(), 1u);
    QFile::remove(helpFilePath());
    m_folder->dialogs.queue(Answer::Abort);
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton); // LastTopic is 0: nothing
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    QCOMPARE(m_folder->dialogs.asked().size(), 1u);
    QCOMPARE(m_folder->dialogs.asked()[0].what, QStringLiteral("error"));
    QCOMPARE(m_folder->dialogs.asked()[0].buttons, Buttons::Abort);
    QCOMPARE(m_folder->dialogs.asked()[0].text,
        QStringLiteral("Cannot Locate Help File..\n\n") + m_folder->dir.path()
            + QStringLiteral("/StvHelp.txt"));
    QCOMPARE(f.chapterLines(), std::vector<std::string> { "kept line" });
    QCOMPARE(f.topicHistory().size(), 1u);
    QVERIFY(m_folder->dialogs.unexpected().empty());
}

void HelpWindowTest::showHelpTopicCasesAndEscape()
{
    writeHelp({ "0:Chapter Contents", "%One%[1]", "1:Chapter One", "x", "2:Chapter Two", "y" });
    HelpWindow &f = open(1);
    QVERIFY(f.isVisible());
    QCOMPARE(f.chapterTitle(), "One");
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    QCOMPARE(f.topicHistory().size(), 2u);
    // The same topic only brings the window forward.
    f.showTopic(2);
    QCOMPARE(f.topicHistory().size(), 2u);
    // Another topic closes the window (history gone) and opens it again.
    f.showTopic(0);
    QVERIFY(f.isVisible());
    QCOMPARE(f.currentTopic(), 0u);
    QCOMPARE(f.topicHistory().size(), 1u);
    QVERIFY(!button("Button3")->isEnabled());

    // Escape closes from any control; the history is emptied, the chapter survives.
    QTest::keyClick(button("Button1"), Qt::Key_Escape);
    QVERIFY(!f.isVisible());
    QVERIFY(f.topicHistory().empty());
    QCOMPARE(f.chapterTitle(), "Contents");

    // The stay-on-top switch does not reload the chapter.
    f.showTopic(0);
    const std::size_t before = f.topicHistory().size();
    QTest::mouseClick(
        f.findChild<QWidget *>(QStringLiteral("HOnTopCheck")), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!HelpWindow::keepHelpOnTop());
    QVERIFY(!f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(f.isVisible());
    QCOMPARE(f.topicHistory().size(), before);

    // showHelpTopic reaches the window made at start-up.
    m_form.reset();
    HelpWindow &made = open(0);
    made.close();
    showHelpTopic(2);
    QVERIFY(made.isVisible());
    QCOMPARE(made.chapterTitle(), "Two");
    showHelpTopic(-4);
    QCOMPARE(made.currentTopic(), 0u);
}

void HelpWindowTest::webSiteLinkOpensTheSite()
{
    writeHelp({ "0:Chapter Contents", "Visit %our site%[99]" });
    test::FakeShell shell;
    HelpWindow &f = open(0);
    f.drawLines(0);
    clickLink(0);
    QCOMPARE(shell.calls.size(), 1);
    QCOMPARE(shell.calls[0], QStringLiteral("start /usr/bin/web|--new|https://sitorva.org/ in "));
    QCOMPARE(f.currentTopic(), 0u);
    QCOMPARE(f.topicHistory().size(), 1u);
}

void HelpWindowTest::shippedManualFitsTheTextBox()
{
    // The view wraps nothing: every row of the manual must fit the text box's 480 pixels.
    std::string manual;
    Result<std::string> manualRead = readWholeFile(STV_MANUAL);
    QVERIFY(manualRead.ok());
    manual = std::move(manualRead.value());
    QVERIFY(writeWholeFile(helpFilePath().toStdString(), manual).ok());
    HelpWindow &f = open(0);
    for (unsigned t = 0; t <= f.lastTopic(); ++t) {
        f.showTopic(t);
        for (int top = 0; top <= f.scrollBar()->maximum(); top += f.linesInView()) {
            f.drawLines(top);
            for (const HelpWindow::DrawnRow &row : f.drawnRows()) {
                if (row.pieces.empty())
                    continue;
                const HelpWindow::DrawnPiece &end = row.pieces.back();
                QVERIFY2(end.x + end.width <= 480,
                    qPrintable(QString::number(t) + QStringLiteral(": ") + end.text));
            }
        }
    }
    QVERIFY(m_folder->dialogs.unexpected().empty());
}

// A manual of megabyte-long lines: every drawing pass lays out only what the text box shows.
void HelpWindowTest::megabyteLinesDrawQuickly()
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
    QVERIFY(!f.drawnRows()[0].pieces.empty());
    QCOMPARE_LE(f.drawnRows()[0].pieces[0].text.size(), 480);
    QCOMPARE(f.chapterLines()[0].size(), (1u << 20) + 10);
}

// A manual that is a FIFO or too large: reported at once, naming the file and the reason.
void HelpWindowTest::manualThatCannotBeReadIsReportedAtOnce()
{
    const stv::test::HangGuard guard;
    for (const auto kind : { stv::test::Hostile::Fifo, stv::test::Hostile::Oversized }) {
        QFile::remove(helpFilePath());
        QVERIFY(stv::test::makeHostile(kind, helpFilePath().toStdString(), ManualFileLimit));
        m_folder->dialogs.clear();
        m_form.reset();
        stv::test::printSecondsFor("reported", [&] { open(0); });
        QCOMPARE(m_folder->dialogs.messages().size(), 1u);
        QVERIFY2(m_folder->dialogs.messages()[0].startsWith(QStringLiteral("Cannot ")
                     + (kind == stv::test::Hostile::Fifo ? "open " : "read ") + helpFilePath()),
            qPrintable(m_folder->dialogs.messages()[0]));
        QVERIFY(m_folder->dialogs.messages()[0].contains(kind == stv::test::Hostile::Fifo
                ? QStringLiteral("not a regular file")
                : QStringLiteral("that such a file may hold")));
    }
}

void HelpWindowTest::wheelAndKeysScrollTheText()
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
    QCOMPARE(bar->value(), 3);
    QWheelEvent up(at, text->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(text, &up);
    QCOMPARE(bar->value(), 0);

    QTest::keyClick(text, Qt::Key_PageDown);
    QCOMPARE(bar->value(), page);
    QTest::keyClick(text, Qt::Key_Down);
    QCOMPARE(bar->value(), page + 1);
    QTest::keyClick(text, Qt::Key_Up);
    QTest::keyClick(text, Qt::Key_PageUp);
    QCOMPARE(bar->value(), 0);
    QTest::keyClick(text, Qt::Key_End);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(f.drawnRows().empty(), false);
    QTest::keyClick(text, Qt::Key_Home);
    QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
