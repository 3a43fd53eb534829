#pragma once
// Windows-1252 <-> UTF-8 without Qt. Records, project, list and page files hold
// Windows-1252 bytes; the Linux file system and Qt want Unicode. Paths stored in records are
// Windows-1252 text too and go through nativePath before the file system sees them.

#include <string>
#include <string_view>

namespace stv
{

// Code point of one Windows-1252 byte. The five bytes the code page leaves undefined map to
// the C1 control of the same value, so every byte round-trips.
char32_t cp1252CodePoint(unsigned char byte);
// The byte for a code point, or -1 when Windows-1252 cannot hold it.
int cp1252Byte(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view bytes);
// Characters the code page cannot hold become "&#N;"; a no-break space becomes a plain
// space (0xA0 separates record fields). Invalid UTF-8 bytes are taken as Windows-1252.
std::string utf8ToCp1252(std::string_view utf8);

// Windows-1252 text to UTF-8 with every "&#N;" (decimal, a valid character) turned back into
// the character it stands for.
std::string decodeCharacterReferences(std::string_view bytes);
// Windows-1252 text to UTF-8 as the user typed it: only the references utf8ToCp1252 writes,
// "&#N;" for a character the code page cannot hold (N without leading zeros), are turned
// back, so utf8ToCp1252 gives exactly the same bytes again. Any other reference ("&#60;",
// "&#0321;") is text the user typed and stays as it is.
std::string typedTextToUtf8(std::string_view bytes);

// A stored path as the file system names it: characters outside the code page were stored as
// "&#N;" and are turned back, so "&#321;&#243;d&#378;.stv" names "Łódź.stv". A file really
// named with "&#" keeps working: an absolute path whose decoded form does not exist while its
// literal form does is used literally.
std::string nativePath(std::string_view storedPath);
// A stored path as nativePath gives it, a relative one taken from `folder` (native; with an
// empty folder a relative path stays relative): where the page and its check find a
// section's file.
std::string nativePathIn(std::string_view storedPath, std::string_view folder);
inline std::string storedPath(std::string_view nativePath)
{
    return utf8ToCp1252(nativePath);
}

} // namespace stv
