#include "gui/dialogs/LongTextEdit.h"

#include <QMimeData>

namespace stv
{

LongTextEdit::LongTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

void LongTextEdit::setText(const QString &text)
{
    setPlainText(inPieces(text));
}

QString LongTextEdit::text() const
{
    return joined(toPlainText());
}

QString LongTextEdit::inPieces(const QString &text)
{
    // Most texts have no long line: they are shown as they are.
    qsizetype longest = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    if (longest <= LongLine)
        return text;

    const QStringView all(text);
    QString shown;
    shown.reserve(text.size() + 2 * (text.size() / PieceLength + 1));
    for (qsizetype start = 0;;) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        qsizetype at = start;
        if (end - start > LongLine) {
            while (end - at > PieceLength) {
                qsizetype cut = at + PieceLength;
                // After a blank in the piece's last eighth, so that words stay whole.
                for (qsizetype i = cut - 1; i >= cut - PieceLength / 8; --i)
                    if (text[i] == QLatin1Char(' ')) {
                        cut = i + 1;
                        break;
                    }
                if (text[cut - 1].isHighSurrogate())
                    --cut;
                shown += all.mid(at, cut - at);
                shown += QChar(PieceMark);
                shown += QLatin1Char('\n');
                at = cut;
            }
        }
        shown += all.mid(at, end - at);
        if (end >= text.size())
            break;
        shown += QLatin1Char('\n');
        start = end + 1;
    }
    return shown;
}

QString LongTextEdit::joined(QString shown)
{
    if (!shown.contains(QChar(PieceMark)))
        return shown;
    // A mark with its line break joins two pieces; a mark whose line break was deleted, or
    // that stands alone after an edit, is dropped as well.
    shown.remove(QString(QChar(PieceMark)) + QLatin1Char('\n'));
    shown.remove(QChar(PieceMark));
    return shown;
}

QMimeData *LongTextEdit::createMimeDataFromSelection() const
{
    QMimeData *data = QPlainTextEdit::createMimeDataFromSelection();
    if (data != nullptr && data->hasText())
        data->setText(joined(data->text()));
    return data;
}

} // namespace stv
