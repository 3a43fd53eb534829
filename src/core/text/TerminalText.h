#pragma once
// Text written to a terminal: names from projects and words from servers are strangers' bytes,
// so they are shown with their control characters escaped.

#include <string>
#include <string_view>

namespace stv
{

// The text as the terminal may show it: control characters (C0, DEL, C1) and bytes that are
// not UTF-8 are written as \xNN, so a stored name cannot send commands to the terminal.
std::string terminalText(std::string_view text);

} // namespace stv
