#pragma once
// A plain-text editor that stays quick with very long lines. The text layout lays out a whole
// line (a block) at once, so a paragraph of tens of megabytes without a line break would take
// minutes to show and seconds per keystroke. Such a line is shown in pieces instead: each
// piece but the last ends with an invisible mark (U+200B) and a line break of its own, and
// text() joins the pieces again, so the text comes back exactly as it was given, with the
// user's edits. Lines of ordinary length are shown as they are.

#include <QPlainTextEdit>

namespace stv
{

class LongTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    // Lines longer than this are shown in pieces of at most PieceLength characters.
    static constexpr qsizetype LongLine = 16384;
    static constexpr qsizetype PieceLength = 8192;
    // Ends every piece but the last of a long line, before its line break.
    static constexpr char16_t PieceMark = u'\u200B';

    explicit LongTextEdit(QWidget *parent = nullptr);

    // Replaces the text (and the undo history), long lines shown in pieces.
    void setText(const QString &text);
    // The text as edited, pieces joined.
    QString text() const;

    // The shown form of a text and back.
    static QString inPieces(const QString &text);
    static QString joined(QString shown);

protected:
    // Copying and dragging give the text without the marks.
    QMimeData *createMimeDataFromSelection() const override;
};

} // namespace stv
