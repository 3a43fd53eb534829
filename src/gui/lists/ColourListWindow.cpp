#include "gui/lists/ColourListWindow.h"

#include "core/page/PageGenerator.h"

#include "core/text/TextTools.h"
#include "gui/dialogs/AccessibleNames.h"
#include "gui/dialogs/Dialogs.h"

#include <QMenu>
#include <QPainter>

#include <cstdio>
#include <utility>

namespace stv
{

QColor colourOfValue(int value)
{
    const auto v = static_cast<unsigned>(value);
    return QColor(static_cast<int>(v & 0xFFu), static_cast<int>((v >> 8) & 0xFFu),
        static_cast<int>((v >> 16) & 0xFFu));
}

int valueOfColour(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

ColourListWindow::ColourListWindow(std::vector<std::string> &colours, QWidget *parent)
    : FavouriteListWindow(colours, QStringLiteral("ColourList"), 16,
        &ColourListWindow::drawColourRow, parent, Qt::Tool | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ColourForm"));
    setWindowTitle(QStringLiteral("Colour List"));
    setEmptyHint(QStringLiteral("Right-click to add a colour."));
    setFixedSize(161, 334);
    describeRows(QStringLiteral("Colours"), [](int number, const std::string &entry) {
        const int value = leadingInt(entry);
        return RowWords { QStringLiteral("%1: #%2").arg(number).arg(
                              QString::fromStdString(htmlColour(value))),
            colourDescription(colourOfValue(value)) };
    });

    QMenu *menu = popupMenu();
    addCommand(
        menu, QStringLiteral("&New Colour"), "NewColour1", [this] { newColour(); }, false);
    addCommand(
        menu, QStringLiteral("&Edit Existing"), "EditExisting1", [this] { editColour(); }, true);
    menu->addSeparator();
    addCommand(
        menu, QStringLiteral("&Delete Colour"), "DeleteColour1", [this] { deleteColour(); }, true);
    menu->addSeparator();
    QMenu *move = menu->addMenu(QStringLiteral("&Move Colour"));
    move->menuAction()->setObjectName(QStringLiteral("MoveColour1"));
    needsEntry(move->menuAction());
    addCommand(
        move, QStringLiteral("&Top"), "Top1", [this] { moveToTop(); }, false);
    addCommand(
        move, QStringLiteral("&Up One"), "UpOne1", [this] { moveUp(); }, false);
    addCommand(
        move, QStringLiteral("&Down One"), "DownOne1", [this] { moveDown(); }, false);
    addCommand(
        move, QStringLiteral("&Bottom"), "Bottom1", [this] { moveToBottom(); }, false);
}

void ColourListWindow::newColour()
{
    const std::optional<QColor> chosen = Dialogs::askColour(this, Dialogs::lastColour());
    if (!chosen)
        return;
    entries().push_back(intText(valueOfColour(*chosen)));
    changed(static_cast<int>(entries().size()) - 1);
}

void ColourListWindow::editColour()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    std::string &entry = entries()[static_cast<std::size_t>(row)];
    const std::optional<QColor> chosen = Dialogs::askColour(this, colourOfValue(leadingInt(entry)));
    if (!chosen)
        return;
    entry = intText(valueOfColour(*chosen));
    changed(row);
}

void ColourListWindow::deleteColour()
{
    deleteSelected(QStringLiteral(
        "Delete This Colour From Your List?\n\nAll Colours Below Will Be Moved Up One."));
}

void ColourListWindow::swapSelectedWith(int other)
{
    const int row = selectedRow();
    const int count = static_cast<int>(entries().size());
    if (row < 0 || other < 0 || other >= count || other == row)
        return;
    std::swap(entries()[static_cast<std::size_t>(row)], entries()[static_cast<std::size_t>(other)]);
    changed(other);
}

void ColourListWindow::moveToTop()
{
    swapSelectedWith(0);
}

void ColourListWindow::moveUp()
{
    swapSelectedWith(selectedRow() - 1);
}

void ColourListWindow::moveDown()
{
    const int row = selectedRow();
    if (row >= 0)
        swapSelectedWith(row + 1);
}

void ColourListWindow::moveToBottom()
{
    swapSelectedWith(static_cast<int>(entries().size()) - 1);
}

void ColourListWindow::drawColourRow(
    QPainter &painter, const QRect &rect, int number, const std::string &entry)
{
    const int value = leadingInt(entry);
    const QColor colour = colourOfValue(value);
    const int height = rect.height();
    const QRect swatch(rect.left() + 20, rect.top() + 2, 32, height - 4);
    painter.fillRect(swatch, painter.pen().color()); // the frame in the row's text colour
    painter.fillRect(swatch.adjusted(1, 1, -1, -1), colour);
    painter.fillRect(QRect(rect.left() + 22, rect.top() + 4, 28, height - 8), colour);

    const int textHeight = height - 2;
    painter.drawText(QRect(rect.left() + 2, rect.top() + 2, rect.width() - 2, textHeight),
        Qt::AlignLeft | Qt::AlignTop, QString::number(number));
    painter.drawText(QRect(rect.left() + 60, rect.top() + 2, rect.width() - 60, textHeight),
        Qt::AlignLeft | Qt::AlignTop, QLatin1Char('#') + QString::fromStdString(htmlColour(value)));
}

} // namespace stv
