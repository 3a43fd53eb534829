#pragma once
// The Link List window: the favourite link addresses (web addresses, "mailto:" addresses and
// "#" anchors), each drawn with its number, an icon for its kind and the address without its
// prefix.

#include "gui/lists/FavouriteListWindow.h"

namespace stv
{

// How a link entry is drawn: the strip icon of its kind and the text shown.
struct LinkRow {
    int icon;
    std::string shown;
};
LinkRow linkRowOf(const std::string &entry);

class LinkListWindow : public FavouriteListWindow
{
    Q_OBJECT
public:
    // Tags of the three "&New Link" items.
    enum LinkKind { UrlLink = 0, EMailLink = 1, AnchorLink = 2 };

    LinkListWindow(std::vector<std::string> &links, QWidget *parent = nullptr);

    void addLink(int tag); // "&URL", "&EMail" and "&Anchor"
    void editLink();
    void deleteLink();

private:
    static void drawLinkRow(
        QPainter &painter, const QRect &rect, int number, const std::string &entry);
};

} // namespace stv
