#include "gui/dialogs/LineEdits.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <limits>

namespace stv
{

QString singleLine(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    if (!text.contains(lineBreak))
        return text;
    QString result = text;
    result.replace(lineBreak, QStringLiteral(" "));
    return result;
}

void prepareLineEdit(QLineEdit *edit)
{
    edit->setMaxLength(std::numeric_limits<int>::max());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString cleaned = singleLine(text);
        if (cleaned.size() == text.size() && cleaned == text)
            return;
        // A CR LF pair becomes one space, so the cursor moves back by what was dropped.
        const int cursor = edit->cursorPosition() - static_cast<int>(text.size() - cleaned.size());
        edit->setText(cleaned);
        edit->setCursorPosition(std::max(0, cursor));
    });
}

void prepareLineEdits(QWidget *widget)
{
    for (QLineEdit *edit : widget->findChildren<QLineEdit *>())
        prepareLineEdit(edit);
}

} // namespace stv
