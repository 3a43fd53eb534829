#include "gui/dialogs/ZoomEditor.h"

#include "gui/dialogs/LongTextEdit.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QVBoxLayout>

namespace stv
{

ZoomEditor::ZoomEditor(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MemoForm"));
    resize(544, 375);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_memo = new LongTextEdit(this);
    m_memo->setObjectName(QStringLiteral("ZoomMemo"));
    m_memo->setAccessibleName(QStringLiteral("Text"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(m_memo);
}

QString ZoomEditor::edit(QWidget *parent, const QString &caption, const QString &text,
    Qt::Alignment alignment, const QFont &font)
{
    ZoomEditor form(parent);
    form.setWindowTitle(caption);
    form.memo()->setFont(font);
    form.memo()->setText(text);
    QTextCursor cursor(form.memo()->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat block;
    block.setAlignment(alignment);
    cursor.mergeBlockFormat(block);
    form.exec();
    return form.memo()->text();
}

} // namespace stv
