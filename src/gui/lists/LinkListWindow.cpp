#include "gui/lists/LinkListWindow.h"

#include "gui/desktop/Encoding.h"
#include "gui/desktop/IconStrip.h"
#include "gui/dialogs/Dialogs.h"

#include <QMenu>
#include <QPainter>

namespace stv
{

namespace
{
constexpr int AnchorIcon = 2;
constexpr int EMailIcon = 15;
constexpr int WebIcon = 16;
constexpr std::size_t MaxShown = 255;
} // namespace

LinkRow linkRowOf(const std::string &entry)
{
    LinkRow row { WebIcon, entry };
    if (!entry.empty() && entry.front() == '#')
        row = { AnchorIcon, entry.substr(1) };
    else if (entry.compare(0, 7, "mailto:") == 0)
        row = { EMailIcon, entry.substr(7) };
    if (row.shown.size() > MaxShown)
        row.shown.resize(MaxShown);
    return row;
}

LinkListWindow::LinkListWindow(std::vector<std::string> &links, QWidget *parent)
    : FavouriteListWindow(links, QStringLiteral("LinkList"), 20, &LinkListWindow::drawLinkRow,
        parent, sizeableWindow())
{
    setObjectName(QStringLiteral("LinkForm"));
    setWindowTitle(QStringLiteral("Link List"));
    setEmptyHint(QStringLiteral("Right-click to add a link."));
    resize(340, 358);
    describeRows(QStringLiteral("Links"), [](int number, const std::string &entry) {
        const LinkRow row = linkRowOf(entry);
        const QString kind = row.icon == AnchorIcon ? QStringLiteral("Anchor")
            : row.icon == EMailIcon                 ? QStringLiteral("EMail")
                                                    : QStringLiteral("URL");
        return RowWords { QStringLiteral("%1: %2").arg(number).arg(fromCp1252(row.shown)), kind };
    });

    QMenu *menu = popupMenu();
    QMenu *newLink = menu->addMenu(QStringLiteral("&New Link"));
    newLink->menuAction()->setObjectName(QStringLiteral("NewLink1"));
    const struct {
        const char *caption;
        const char *name;
        int tag;
    } kinds[] = { { "&URL", "URL1", UrlLink }, { "&EMail", "EMail1", EMailLink },
        { "&Anchor", "Anchor1", AnchorLink } };
    for (const auto &k : kinds) {
        const int tag = k.tag;
        addCommand(
            newLink, QLatin1String(k.caption), k.name, [this, tag] { addLink(tag); }, false)
            ->setData(tag);
    }
    addCommand(
        menu, QStringLiteral("&Edit Link"), "EditLink1", [this] { editLink(); }, true);
    menu->addSeparator();
    addCommand(
        menu, QStringLiteral("&Delete Link"), "DeleteLink1", [this] { deleteLink(); }, true);
}

void LinkListWindow::addLink(int tag)
{
    static const char *const kindNames[] = { "URL Link", "EMail Link", "Anchor Link" };
    static const char *const prefixes[] = { "", "mailto:", "#" };
    if (tag < UrlLink || tag > AnchorLink)
        return;
    const std::optional<QString> answer = Dialogs::askLine(this, QStringLiteral("New Link.."),
        QStringLiteral("Create A New ") + QLatin1String(kindNames[tag]), QString());
    if (!answer || answer->isEmpty())
        return;
    entries().push_back(prefixes[tag] + toCp1252(*answer));
    changed(static_cast<int>(entries().size()) - 1);
}

void LinkListWindow::editLink()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::optional<QString> answer = Dialogs::askLine(this, QStringLiteral("Edit This Link.."),
        QStringLiteral("Edit This Link.\n\nRemember that an email starts with mailto: and an "
                       "anchor\nstarts with #"),
        fromCp1252(entries()[static_cast<std::size_t>(row)]));
    if (!answer || answer->isEmpty())
        return;
    entries()[static_cast<std::size_t>(row)] = toCp1252(*answer);
    changed(row);
}

void LinkListWindow::deleteLink()
{
    deleteSelected(QStringLiteral("Delete This Link?\n\nAll Links Below Will Be Moved Up One."));
}

void LinkListWindow::drawLinkRow(
    QPainter &painter, const QRect &rect, int number, const std::string &entry)
{
    const LinkRow row = linkRowOf(entry);
    const QPixmap &icon = stripIcon(row.icon);
    if (!icon.isNull())
        painter.drawPixmap(rect.left() + 15, rect.top(), icon);
    const int textHeight = rect.height() - 2;
    painter.drawText(QRect(rect.left() + 2, rect.top() + 2, rect.width() - 2, textHeight),
        Qt::AlignLeft | Qt::AlignTop, QString::number(number));
    painter.drawText(QRect(rect.left() + 40, rect.top() + 2, rect.width() - 40, textHeight),
        Qt::AlignLeft | Qt::AlignTop, fromCp1252(row.shown));
}

} // namespace stv
