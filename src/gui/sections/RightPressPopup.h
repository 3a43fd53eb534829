#pragma once
// A right button press on a list opens its popup over the selection as it stands: the list
// view would otherwise select the row under the mouse, drop a multi-selection or move the
// wizard. The context menu event that follows the press is dropped; the keyboard's menu key
// still opens the popup the list's own way.

class QEvent;
class QMenu;

namespace stv
{

// For an event filter on a list's viewport: true when the event was a right press (the menu
// is shown) or what follows it, and so must go no further.
bool openPopupOnRightPress(QEvent *event, QMenu *menu);

} // namespace stv
