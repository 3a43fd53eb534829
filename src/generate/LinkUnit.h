#pragma once
// The Link List window: the favourite link addresses (web addresses, "mailto:" addresses and
// "#" anchors), each drawn with its number, an icon for its kind and the address without its
// prefix.

#include "FavouriteListForm.h"

namespace stv
{

// How a link entry is drawn: the strip icon of its kind and the text shown.
struct LinkRow {
    int icon;
    std::string shown;
};
LinkRow LinkRowOf(const std::string &entry);

class TLinkForm : public FavouriteListForm
{
    Q_OBJECT
public:
    // Tags of the three "&New Link" items.
    enum LinkKind { UrlLink = 0, EMailLink = 1, AnchorLink = 2 };

    TLinkForm(std::vector<std::string> &links, QWidget *parent = nullptr);

    void Anchor1Click(int tag); // "&URL", "&EMail" and "&Anchor"
    void EditLink1Click();
    void DeleteLink1Click();

private:
    static void LinkListDrawItem(
        QPainter &painter, const QRect &rect, int number, const std::string &entry);
};

} // namespace stv
