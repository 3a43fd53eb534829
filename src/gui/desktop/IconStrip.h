#pragma once
// The shared strip of 17 icons, 20 by 20 pixels, drawn by number by the Select box, the
// Section Manager, the Section Library, the Link List and the help viewer.

#include <QPixmap>

namespace stv
{

inline constexpr int StripIconCount = 17;
inline constexpr int StripIconSize = 20;

// Icon n of the strip; a null pixmap for a number outside 0 to 16.
const QPixmap &stripIcon(int n);

} // namespace stv
