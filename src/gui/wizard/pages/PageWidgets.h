#pragma once
// Small pieces the wizard pages are built from, and the conversions between a record's stored
// field text and what the controls hold.

#include <QString>
#include <QStringList>

#include <string>

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QColor;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace stv::pages
{

// The seven font sizes, in the order their numbers are stored.
inline constexpr const char *SizeItems[]
    = { "Tiny", "Small", "Normal", "Big", "Very Big", "Huge", "Massive" };
// The file dialog filter for pictures.
inline constexpr const char *ImageFilter
    = "Images (*.gif;*.jpeg;*.jpg;*.png;*.xbm)|*.gif;*.jpeg;*.jpg;*.png;"
      "*.xbm|GIF (*.gif)|*.gif|JPeg (*.jpg)|*.jpg|All Files (*.*)|*.*";

// Memo text as the editor holds it: every line break a single LF.
QString memoText(const std::string &stored);
// Editor text with every line break as CR LF, in the stored byte form.
std::string crlfBytes(QString text);
// Editor text as a memo field holds it: CR LF line breaks, escaped.
std::string memoField(const QString &text);

// Colour values are 0x00BBGGRR, red in the low byte.
QColor toQColor(int colour);
int fromQColor(const QColor &colour);

// A swatch keeps the number it was given, so a stored value is written back as it was.
int swatchColour(const QWidget *swatch);
void setSwatch(QWidget *swatch, int colour);

// Checks the button of that id; any other number leaves no button checked.
void setIndex(QButtonGroup *group, int index);
// Selects that row; any other number leaves no row selected.
void setIndex(QComboBox *box, int index);
void setFlag(QCheckBox *box, const std::string &field);
std::string flag(const QAbstractButton *box); // "1" or "0"
std::string flag(const QAction *action);

QLabel *headingLabel(const QString &text, QWidget *parent);
QLabel *note(const QString &text, QWidget *parent);
// A radio group laid out column by column, like a multi-column radio group. The button ids are
// the item numbers; `initial` -1 checks none.
QGroupBox *radioGroup(const QString &name, const QString &title, const QStringList &items,
    int columns, QButtonGroup *&group, int initial, QWidget *parent);
QCheckBox *check(const QString &name, const QString &text, QWidget *parent);
QLineEdit *lineEdit(const QString &name, QWidget *parent);
QLabel *swatch(const QString &name, QWidget *parent);
QToolButton *pictureButton(
    const QString &name, const QString &hint, const QString &icon, QWidget *parent);
// A drop-down list of the seven font sizes, "Normal" chosen.
QComboBox *sizeCombo(const QString &name, QWidget *parent);
// A "Colour" group: the swatch and the picture button that opens the colour dialog for it.
QGroupBox *colourGroup(
    const QString &panelName, const QString &buttonName, QLabel *&panel, QWidget *parent);

// The colour dialog for a swatch, over the swatch's window; the swatch takes the chosen colour.
void pickSwatchColour(QWidget *swatch);
// The open-file dialog over the edit's window; the edit takes the chosen path.
void chooseFile(QLineEdit *edit, const QString &title, const QString &filter);

} // namespace stv::pages
