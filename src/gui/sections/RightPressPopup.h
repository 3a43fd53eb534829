#pragma once
// A right button press on a list works as on every desktop list: the row under the mouse is
// selected first, unless it is already part of the selection (which is then kept whole), and
// the popup opens over it. The context menu event that follows the press is dropped; the
// keyboard's menu key still opens the popup the list's own way.

class QAbstractItemView;
class QEvent;
class QMenu;

namespace stv
{

// For an event filter on a list's viewport: true when the event was a right press (the row is
// selected and the menu shown) or what follows it, and so must go no further.
bool openPopupOnRightPress(QAbstractItemView *list, QEvent *event, QMenu *menu);

} // namespace stv
