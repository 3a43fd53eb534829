#pragma once
// The one-line input box: a fixed tool window with a prompt, an edit across the bottom and
// "&Accept" / Cancel at the top right.

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace stv
{

class InputBox : public QDialog
{
    Q_OBJECT
public:
    explicit InputBox(QWidget *parent = nullptr);

    void setPrompt(const QString &prompt);
    QLineEdit *edit() const { return m_edit; }

    // Shows the box modally; the edit's text when accepted, nothing when cancelled.
    static std::optional<QString> ask(
        QWidget *parent, const QString &caption, const QString &prompt, const QString &initial);

private:
    // The designed prompt area, top left of the box.
    static constexpr int PromptLeft = 4, PromptTop = 4, PromptWidth = 309, PromptHeight = 73;

    QLabel *m_prompt;
    QLineEdit *m_edit;
    QPushButton *m_accept;
    QPushButton *m_cancel;
};

// Centres a window on its screen, rounding toward zero.
void centreOnScreen(QWidget *window);

} // namespace stv
