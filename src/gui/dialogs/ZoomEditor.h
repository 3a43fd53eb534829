#pragma once
// The zoom editor: a resizable, maximisable window filled by one large text editor. There is
// no cancel: the text comes back as edited when the window closes. The editor is a
// LongTextEdit, so a text of tens of megabytes opens within seconds.

#include <QDialog>

namespace stv
{

class LongTextEdit;

class ZoomEditor : public QDialog
{
    Q_OBJECT
public:
    explicit ZoomEditor(QWidget *parent = nullptr);
    LongTextEdit *memo() const { return m_memo; }

    static QString edit(QWidget *parent, const QString &caption, const QString &text,
        Qt::Alignment alignment, const QFont &font);

private:
    LongTextEdit *m_memo;
};

} // namespace stv
