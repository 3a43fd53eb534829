#include "ImageUnit.h"

#include "model/Records.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"

#include <QMenu>
#include <QPainter>

namespace stv
{

std::string ImageRowText(const std::string &record)
{
    const std::vector<std::string> f = SplitFields(record, field::ImageFile);
    return f[field::UserLabel] + " .. " + f[field::ImageFile];
}

TImageForm::TImageForm(std::vector<std::string> &images, QWidget *parent)
    : FavouriteListForm(images, QStringLiteral("ImageList"), 16, &TImageForm::ImageListDrawItem,
        parent, sizeableWindow())
{
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("Image List"));
    resize(351, 372);

    QMenu *menu = popupMenu();
    addCommand(
        menu, QStringLiteral("&Delete"), "Delete1", [this] { Delete1Click(); }, true);
    menu->addSeparator();
    addCommand(
        menu, QStringLiteral("&Rename"), "Rename1", [this] { Rename1Click(); }, true);
}

void TImageForm::Delete1Click()
{
    deleteSelected(QStringLiteral("Delete This Image?\n\nAll Images Below Will Be Moved Up One."));
}

void TImageForm::Rename1Click()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    std::string &record = entries()[static_cast<std::size_t>(row)];
    const std::string label = SplitFields(record, field::UserLabel)[field::UserLabel];
    const std::optional<QString> answer = Dialogs::askLine(this, QStringLiteral("Rename Image.."),
        QStringLiteral("Rename This Image.."), FromCp1252(label));
    if (!answer || answer->isEmpty())
        return;
    record = ReplaceField(record, field::UserLabel, ToCp1252(*answer));
    changed(row);
}

void TImageForm::ImageListDrawItem(
    QPainter &painter, const QRect &rect, int number, const std::string &entry)
{
    const int textHeight = rect.height() - 2;
    painter.drawText(QRect(rect.left() + 2, rect.top() + 2, rect.width() - 2, textHeight),
        Qt::AlignLeft | Qt::AlignTop, QString::number(number));
    painter.drawText(QRect(rect.left() + 20, rect.top() + 2, rect.width() - 20, textHeight),
        Qt::AlignLeft | Qt::AlignTop, FromCp1252(ImageRowText(entry)));
}

} // namespace stv
