#pragma once
// The zoom editor: a resizable, maximisable window filled by one large text editor. There is
// no cancel: the text comes back as edited when the window closes.

#include <QDialog>

class QPlainTextEdit;

namespace stv
{

class ZoomEditor : public QDialog
{
    Q_OBJECT
public:
    explicit ZoomEditor(QWidget *parent = nullptr);
    QPlainTextEdit *memo() const { return m_memo; }

    static QString edit(QWidget *parent, const QString &caption, const QString &text,
        Qt::Alignment alignment, const QFont &font);

private:
    QPlainTextEdit *m_memo;
};

} // namespace stv
