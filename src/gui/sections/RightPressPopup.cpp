#include "gui/sections/RightPressPopup.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

namespace stv
{

bool openPopupOnRightPress(QEvent *event, QMenu *menu)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            menu->popup(mouse->globalPosition().toPoint());
        return true;
    }
    return event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse;
}

} // namespace stv
