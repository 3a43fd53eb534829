// Very long lines stay usable: shown in pieces, given back whole, in the zoom editor within
// seconds.
#include "gui/dialogs/LongTextEdit.h"
#include "gui/dialogs/ZoomEditor.h"

#include "support/HostileFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

using namespace stv;

namespace
{

QString repeated(const QString &unit, qsizetype size)
{
    QString text;
    text.reserve(size + unit.size());
    while (text.size() < size)
        text += unit;
    return text;
}

} // namespace

class LongTextEditTest : public QObject
{
    Q_OBJECT
private slots:
    void piecesJoinBackExactly();
    void editsAtPieceEnds();
    void fiftyMegabyteParagraphInTheZoomEditor();
};

void LongTextEditTest::piecesJoinBackExactly()
{
    const QString solid(40000, QLatin1Char('x'));
    const QString words = repeated(QStringLiteral("ab "), 40000);
    for (const QString &text : { QString(), QStringLiteral("short\nlines\n"), solid,
             words + QLatin1Char('\n') + solid + QStringLiteral("\n\n"), QStringLiteral("\n") })
        QVERIFY(LongTextEdit::joined(LongTextEdit::inPieces(text)) == text);

    QCOMPARE(
        LongTextEdit::inPieces(QStringLiteral("short\nlines")), QStringLiteral("short\nlines"));
    const QStringList pieces = LongTextEdit::inPieces(solid).split(QLatin1Char('\n'));
    QCOMPARE(pieces.size(), 5); // 40000 characters in pieces of 8192
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        QCOMPARE(pieces[i].size(), LongTextEdit::PieceLength + 1);
        QCOMPARE(pieces[i].back(), QChar(LongTextEdit::PieceMark));
    }
    // With blanks, a piece ends after one, so no word is cut in two.
    const QString first = LongTextEdit::inPieces(words).section(QLatin1Char('\n'), 0, 0);
    QVERIFY(first.endsWith(QStringLiteral(" ") + QChar(LongTextEdit::PieceMark)));
}

// Typing a line break at a piece's end keeps it; deleting the break between two pieces
// changes nothing; copying gives the text without marks.
void LongTextEditTest::editsAtPieceEnds()
{
    const QString solid(20000, QLatin1Char('x'));
    LongTextEdit edit;
    edit.setText(solid);
    QCOMPARE(edit.document()->blockCount(), 3);
    QTextCursor cursor(edit.document());
    cursor.setPosition(int(LongTextEdit::PieceLength));
    cursor.insertText(QStringLiteral("\n"));
    QVERIFY(edit.text()
        == solid.left(LongTextEdit::PieceLength) + QLatin1Char('\n')
            + solid.mid(LongTextEdit::PieceLength));

    edit.setText(solid);
    cursor = QTextCursor(edit.document()->findBlockByNumber(1));
    cursor.deletePreviousChar(); // the pieces' line break
    QVERIFY(edit.text() == solid);
    cursor.deletePreviousChar(); // the mark
    QVERIFY(edit.text() == solid);
    cursor.deletePreviousChar(); // a character of the text
    QCOMPARE(edit.text().size(), solid.size() - 1);

    edit.setText(solid + QStringLiteral("\nend"));
    edit.selectAll();
    edit.copy();
    QVERIFY(QApplication::clipboard()->text() == solid + QStringLiteral("\nend"));
}

// A paragraph of 50 MB in one line opens in the zoom editor, shows, scrolls and comes back
// within seconds; a whole-line layout of it takes minutes.
void LongTextEditTest::fiftyMegabyteParagraphInTheZoomEditor()
{
    const QString text = repeated(QStringLiteral("lorem ipsum dolor "), 50 << 20);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<ZoomEditor *>(QApplication::activeModalWidget());
        if (form == nullptr)
            return;
        shown = !form->grab().isNull();
        QScrollBar *bar = form->memo()->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        form->grab();
        form->close();
    });
    QString back;
    const stv::test::HangGuard guard(120);
    stv::test::printSecondsFor("the long text shown, scrolled and given back", [&] {
        back = ZoomEditor::edit(
            nullptr, QStringLiteral("Paragraph.."), text, Qt::AlignHCenter, QFont());
    });
    QVERIFY(shown);
    QVERIFY(back == text);
}

QTEST_MAIN(LongTextEditTest)
#include "LongTextEditTest.moc"
