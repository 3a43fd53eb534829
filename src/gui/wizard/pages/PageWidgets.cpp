#include "gui/wizard/pages/PageWidgets.h"

#include "core/project/Records.h"
#include "gui/desktop/Contrast.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/AccessibleNames.h"
#include "gui/dialogs/Dialogs.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace stv::pages
{

QString memoText(const std::string &stored)
{
    QString text = fromCp1252(unescapeLineBreaks(stored));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string crlfBytes(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return toCp1252(text);
}

std::string memoField(const QString &text)
{
    return escapeLineBreaks(crlfBytes(text));
}

QColor toQColor(int c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int fromQColor(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

int swatchColour(const QWidget *w)
{
    return w->property("colourValue").toInt();
}

void setSwatch(QWidget *w, int colour)
{
    w->setProperty("colourValue", colour);
    // The fill is the user's colour; the frame follows the palette so it shows on dark ones.
    w->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid palette(text);")
                         .arg(toQColor(colour).name()));
    const QString description = colourDescription(toQColor(colour));
    w->setAccessibleDescription(description);
    if (auto *button = qobject_cast<QWidget *>(w->property("colourButton").value<QObject *>()))
        button->setAccessibleDescription(
            QStringLiteral("%1: %2").arg(w->accessibleName(), description));
}

void setIndex(QButtonGroup *group, int index)
{
    if (QAbstractButton *button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *other : group->buttons())
        other->setChecked(false);
    group->setExclusive(true);
}

void setIndex(QComboBox *box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

void setFlag(QCheckBox *box, const std::string &field)
{
    box->setChecked(flagValue(field));
}

std::string flag(const QAbstractButton *box)
{
    return flagText(box->isChecked());
}

std::string flag(const QAction *action)
{
    return flagText(action->isChecked());
}

QLabel *headingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("HeadingLine"));
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.35);
    label->setFont(f);
    // Dark blue on light palettes; on dark ones the palette's link colour, which reads there.
    const QPalette &pal = label->palette();
    const QColor colour = isDarkPalette(pal) ? pal.color(QPalette::Link) : QColor(0x1b, 0x3a, 0x6b);
    label->setStyleSheet(
        QStringLiteral("color: %1;").arg(readableOn(colour, pal.color(QPalette::Window)).name()));
    return label;
}

QLabel *note(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    const QPalette &pal = label->palette();
    label->setStyleSheet(
        QStringLiteral("color: %1;")
            .arg(softText(pal.color(QPalette::WindowText), pal.color(QPalette::Window)).name()));
    return label;
}

QGroupBox *radioGroup(const QString &name, const QString &title, const QStringList &items,
    int columns, QButtonGroup *&group, int initial, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto *grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    group = new QButtonGroup(box);
    group->setObjectName(name + QStringLiteral("Group"));
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items[i], box);
        radio->setObjectName(name + QString::number(i));
        group->addButton(radio, i);
        grid->addWidget(radio, i % rows, i / rows);
    }
    setIndex(group, initial);
    return box;
}

QCheckBox *check(const QString &name, const QString &text, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

QLineEdit *lineEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QLabel *swatch(const QString &name, QWidget *parent)
{
    auto *panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFixedSize(48, 24);
    setSwatch(panel, 0);
    return panel;
}

QToolButton *pictureButton(
    const QString &name, const QString &hint, const QString &icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(false);
    return button;
}

QComboBox *sizeCombo(const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const char *item : SizeItems)
        combo->addItem(QString::fromUtf8(item));
    combo->setCurrentIndex(2);
    return combo;
}

QGroupBox *colourGroup(
    const QString &panelName, const QString &buttonName, QLabel *&panel, QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral("Colour"), parent);
    auto *row = new QHBoxLayout(box);
    panel = swatch(panelName, box);
    auto *button = pictureButton(buttonName, QStringLiteral("Select Colour"),
        QStringLiteral(":/icons/buttons/colour.png"), box);
    panel->setAccessibleName(QStringLiteral("Colour"));
    panel->setProperty("colourButton", QVariant::fromValue<QObject *>(button));
    setSwatch(panel, swatchColour(panel));
    row->addWidget(panel);
    row->addWidget(button);
    row->addStretch(1);
    QLabel *target = panel;
    QObject::connect(button, &QToolButton::clicked, target, [target] { pickSwatchColour(target); });
    return box;
}

void pickSwatchColour(QWidget *swatchWidget)
{
    if (const std::optional<QColor> c
        = Dialogs::askColour(swatchWidget->window(), toQColor(swatchColour(swatchWidget))))
        setSwatch(swatchWidget, fromQColor(*c));
}

void chooseFile(QLineEdit *edit, const QString &title, const QString &filter)
{
    const QString path
        = Dialogs::askOpenFile(edit->window(), title, edit->text(), QString(), filter);
    if (!path.isEmpty())
        edit->setText(path);
}

} // namespace stv::pages
