#include "gui/sections/RightPressPopup.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMouseEvent>

namespace stv
{

bool openPopupOnRightPress(QAbstractItemView *list, QEvent *event, QMenu *menu)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            // The selection is changed the way a left click would change it, so a list that
            // acts on a new current row (the Section Manager moves the wizard) does so first.
            const QModelIndex row = list->indexAt(mouse->position().toPoint());
            QItemSelectionModel *selection = list->selectionModel();
            if (row.isValid() && !selection->isSelected(row))
                selection->setCurrentIndex(
                    row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            menu->popup(mouse->globalPosition().toPoint());
        }
        return true;
    }
    return event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse;
}

} // namespace stv
