#pragma once
// The Image List window: whole Image section records, of which only the picture's name
// (UserLabel) and file are shown; pictures can be deleted and renamed here.

#include "gui/lists/FavouriteListWindow.h"

namespace stv
{

// The row's text: UserLabel + " .. " + ImageFile.
std::string imageRowText(const std::string &record);

class ImageListWindow : public FavouriteListWindow
{
    Q_OBJECT
public:
    ImageListWindow(std::vector<std::string> &images, QWidget *parent = nullptr);

    void deleteSelection();
    void renameImage();

private:
    static void drawImageRow(
        QPainter &painter, const QRect &rect, int number, const std::string &entry);
};

} // namespace stv
