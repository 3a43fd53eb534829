#include "gui/lists/ImageListWindow.h"

#include "core/project/Records.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"

#include <QMenu>
#include <QPainter>

namespace stv
{

std::string imageRowText(const std::string &record)
{
    const std::vector<std::string> f = splitFields(record, field::ImageFile);
    return f[field::UserLabel] + " .. " + f[field::ImageFile];
}

ImageListWindow::ImageListWindow(std::vector<std::string> &images, QWidget *parent)
    : FavouriteListWindow(images, QStringLiteral("ImageList"), 16, &ImageListWindow::drawImageRow,
        parent, sizeableWindow())
{
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("Image List"));
    setEmptyHint(QStringLiteral("Pictures are added from the Section Manager: right-click an Image "
                                "section and choose Copy To Image List."));
    resize(351, 372);
    describeRows(QStringLiteral("Images"), [](int number, const std::string &entry) {
        return RowWords { QStringLiteral("%1: %2").arg(number).arg(fromCp1252(imageRowText(entry))),
            QStringLiteral("Image") };
    });

    QMenu *menu = popupMenu();
    addCommand(
        menu, QStringLiteral("&Delete"), "Delete1", [this] { deleteSelection(); }, true);
    menu->addSeparator();
    addCommand(
        menu, QStringLiteral("&Rename"), "Rename1", [this] { renameImage(); }, true);
}

void ImageListWindow::deleteSelection()
{
    deleteSelected(QStringLiteral("Delete This Image?\n\nAll Images Below Will Be Moved Up One."));
}

void ImageListWindow::renameImage()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    std::string &record = entries()[static_cast<std::size_t>(row)];
    const std::string label = splitFields(record, field::UserLabel)[field::UserLabel];
    const std::optional<QString> answer = Dialogs::askLine(this, QStringLiteral("Rename Image.."),
        QStringLiteral("Rename This Image.."), fromCp1252(label));
    if (!answer || answer->isEmpty())
        return;
    record = replaceField(record, field::UserLabel, toCp1252(*answer));
    changed(row);
}

void ImageListWindow::drawImageRow(
    QPainter &painter, const QRect &rect, int number, const std::string &entry)
{
    const int textHeight = rect.height() - 2;
    painter.drawText(QRect(rect.left() + 2, rect.top() + 2, rect.width() - 2, textHeight),
        Qt::AlignLeft | Qt::AlignTop, QString::number(number));
    painter.drawText(QRect(rect.left() + 20, rect.top() + 2, rect.width() - 20, textHeight),
        Qt::AlignLeft | Qt::AlignTop, pathFromBytes(imageRowText(entry)));
}

} // namespace stv
