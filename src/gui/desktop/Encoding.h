#pragma once
// Windows-1252 bytes (records, project, list and page files) to Unicode text for the windows
// and back. Conversion happens only at the window boundary.

#include <QString>

#include <string>
#include <string_view>

namespace stv
{

// A character Windows-1252 cannot hold becomes the reference "&#N;", which still shows
// right in the page; a no-break space becomes a plain space, since 0xA0 separates fields.
std::string toCp1252(const QString &text);
// The text as the user typed it: the references toCp1252 wrote show as their characters
// again ("&#321;" as "Ł"), and toCp1252 of the result gives the same bytes back. References
// the user typed for characters the code page holds ("&#60;") stay as typed.
QString fromCp1252(std::string_view bytes);

// Stored paths are Windows-1252 text like every other field, with "&#N;" for characters
// outside the code page; these name the same file as a QString (which Qt hands to the file
// system as UTF-8, and which shows the real characters) and back.
QString pathFromBytes(std::string_view bytes);
std::string pathToBytes(const QString &path);

} // namespace stv
