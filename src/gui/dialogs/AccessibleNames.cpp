#include "gui/dialogs/AccessibleNames.h"

#include <QAbstractButton>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QWidget>

namespace stv
{

namespace
{

// A caption without its mnemonic marks and trailing colon or dots.
QString plainCaption(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    caption = caption.simplified();
    while (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QLatin1Char('.')))
        caption.chop(1);
    return caption.trimmed();
}

QString buddyCaption(const QWidget *control, const QWidget *root)
{
    for (const QLabel *label : root->findChildren<QLabel *>())
        if (label->buddy() == control)
            return plainCaption(label->text());
    return {};
}

QString groupTitle(const QWidget *control)
{
    for (const QWidget *w = control->parentWidget(); w; w = w->parentWidget())
        if (const auto *box = qobject_cast<const QGroupBox *>(w))
            if (!box->title().isEmpty())
                return plainCaption(box->title());
    return {};
}

// Finds `control` in `layout` or the layouts inside it; `label` becomes the label item just
// before it, if that is a label.
bool findInLayout(QLayout *layout, const QWidget *control, QLabel *&label)
{
    QLayoutItem *previous = nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == control) {
            label = previous ? qobject_cast<QLabel *>(previous->widget()) : nullptr;
            return true;
        }
        if (item->layout() && findInLayout(item->layout(), control, label))
            return true;
        if (item->widget() || item->layout())
            previous = item;
    }
    return false;
}

// The caption laid out just before the control, which then becomes that caption's buddy.
QString captionBefore(QWidget *control)
{
    QWidget *parent = control->parentWidget();
    QLabel *label = nullptr;
    if (!parent || !parent->layout() || !findInLayout(parent->layout(), control, label) || !label
        || label->buddy() || label->text().isEmpty())
        return {};
    label->setBuddy(control);
    return plainCaption(label->text());
}

bool reachable(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) || qobject_cast<const QAbstractButton *>(w);
}

} // namespace

void nameControls(QWidget *root)
{
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (w->window() != root->window() || !reachable(w) || !w->accessibleName().isEmpty())
            continue;
        // Parts of a compound control (a combo box's list, a spin box's edit) are named by it.
        if (w->focusProxy() || (w->parentWidget() && w->parentWidget()->focusProxy() == w))
            continue;
        QString name;
        if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            name = plainCaption(button->text());
        if (name.isEmpty())
            name = buddyCaption(w, root->window());
        if (name.isEmpty() && !qobject_cast<const QAbstractButton *>(w))
            name = captionBefore(w);
        if (name.isEmpty())
            name = plainCaption(w->toolTip());
        if (name.isEmpty())
            name = groupTitle(w);
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
}

QString colourDescription(const QColor &colour)
{
    return QStringLiteral("red %1, green %2, blue %3 (%4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.name().toUpper());
}

} // namespace stv
