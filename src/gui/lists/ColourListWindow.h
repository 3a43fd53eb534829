#pragma once
// The Colour List window: the favourite colours, each a colour value 0x00BBGGRR in decimal,
// drawn with its number, a swatch and its "#RRGGBB" form.

#include "gui/lists/FavouriteListWindow.h"

#include <QColor>

class QAction;

namespace stv
{

QColor colourOfValue(int value);
int valueOfColour(const QColor &colour);

class ColourListWindow : public FavouriteListWindow
{
    Q_OBJECT
public:
    ColourListWindow(std::vector<std::string> &colours, QWidget *parent = nullptr);

    // The colour dialog opens with the colour of its last use.

    void newColour();
    void editColour();
    void deleteColour();
    void moveToTop();
    void moveUp();
    void moveDown();
    void moveToBottom();

private:
    // Swaps the selected entry with entry `other`; the selection follows the moved entry.
    void swapSelectedWith(int other);
    static void drawColourRow(
        QPainter &painter, const QRect &rect, int number, const std::string &entry);
};

} // namespace stv
