#pragma once
// The one way any window opens a topic of the manual, by number.

namespace stv
{

void showHelpTopic(int topic);

} // namespace stv
