#pragma once
// One-line fields hold one line: a record or a header value must never carry a line break
// into the project file, whatever the user pastes. Every line edit of a window is prepared
// once after the window is built.

class QLineEdit;
class QString;
class QWidget;

namespace stv
{

// Line breaks (CR LF, CR, LF, U+2028, U+2029) each become one space.
QString singleLine(const QString &text);

// Every line break that reaches the edit (typed, pasted, dropped, set) becomes a space at
// once, and the toolkit's 32,767-character limit is lifted: the project file holds more.
void prepareLineEdit(QLineEdit *edit);
// The same for every line edit inside the widget.
void prepareLineEdits(QWidget *widget);

} // namespace stv
