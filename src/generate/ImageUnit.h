#pragma once
// The Image List window: whole Image section records, of which only the picture's name
// (UserLabel) and file are shown; pictures can be deleted and renamed here.

#include "FavouriteListForm.h"

namespace stv
{

// The row's text: UserLabel + " .. " + ImageFile.
std::string ImageRowText(const std::string &record);

class TImageForm : public FavouriteListForm
{
    Q_OBJECT
public:
    TImageForm(std::vector<std::string> &images, QWidget *parent = nullptr);

    void Delete1Click();
    void Rename1Click();

private:
    static void ImageListDrawItem(
        QPainter &painter, const QRect &rect, int number, const std::string &entry);
};

} // namespace stv
