#pragma once
// The Colour List window: the favourite colours, each a colour value 0x00BBGGRR in decimal,
// drawn with its number, a swatch and its "#RRGGBB" form.

#include "FavouriteListForm.h"

#include <QColor>

class QAction;

namespace stv
{

QColor ColourOfValue(int value);
int ValueOfColour(const QColor &colour);

class TColourForm : public FavouriteListForm
{
    Q_OBJECT
public:
    TColourForm(std::vector<std::string> &colours, QWidget *parent = nullptr);

    // The colour dialog opens with the colour of its last use.
    QColor lastColour() const { return m_lastColour; }
    void setLastColour(const QColor &colour) { m_lastColour = colour; }

    void NewColour1Click();
    void EditExisting1Click();
    void DeleteColour1Click();
    void Top1Click();
    void UpOne1Click();
    void DownOne1Click();
    void Bottom1Click();

private:
    // Swaps the selected entry with entry `other`; the selection follows the moved entry.
    void swapSelectedWith(int other);
    static void ColourListDrawItem(
        QPainter &painter, const QRect &rect, int number, const std::string &entry);

    QColor m_lastColour = Qt::black;
};

} // namespace stv
