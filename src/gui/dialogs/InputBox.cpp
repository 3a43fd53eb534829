#include "gui/dialogs/InputBox.h"

#include "gui/dialogs/LineEdits.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace stv
{

InputBox::InputBox(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("InfoStrForm"));
    setFixedSize(392, 103);

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("PromptLabel"));
    m_prompt->setGeometry(PromptLeft, PromptTop, PromptWidth, PromptHeight);
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_accept = new QPushButton(QStringLiteral("&Accept"), this);
    m_accept->setObjectName(QStringLiteral("AcceptBtn"));
    m_accept->setGeometry(312, 8, 72, 25);
    m_accept->setDefault(true);

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("CancelBtn"));
    m_cancel->setGeometry(312, 38, 72, 25);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("InfoEdit"));
    m_edit->setGeometry(8, PromptTop + PromptHeight + 2, 376, 21);

    prepareLineEdit(m_edit);
    m_prompt->setBuddy(m_edit);
    // The edit comes first for Tab, then the buttons beside it.
    setTabOrder(m_edit, m_accept);
    setTabOrder(m_accept, m_cancel);

    connect(m_accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void InputBox::setPrompt(const QString &prompt)
{
    m_prompt->setText(prompt);
    // The designed prompt area holds four lines of the designed font; a larger desktop font
    // or a longer prompt grows the box downwards so that no line is cut off.
    const int needed = std::max(PromptHeight, m_prompt->heightForWidth(PromptWidth));
    m_prompt->setFixedHeight(needed);
    m_edit->move(8, PromptTop + needed + 2);
    setFixedSize(392, 103 + needed - PromptHeight);
}

std::optional<QString> InputBox::ask(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &initial)
{
    InputBox box(parent);
    box.setWindowTitle(caption);
    box.setPrompt(prompt);
    box.edit()->setText(initial);
    box.edit()->selectAll();
    box.edit()->setFocus();
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.edit()->text();
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int left = (area.width() - window->width()) / 2;
    const int top = (area.height() - window->height()) / 2;
    window->move(area.left() + left, area.top() + top);
}

} // namespace stv
