#pragma once
// Files that are pictures and sounds by their content, as the generator and the publisher
// recognise them: a real start followed by the test's own bytes, so two of them differ.

#include <string>

namespace stv::test
{

inline std::string pngBytes(const std::string &tail = {})
{
    return std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + tail;
}

inline std::string wavBytes(const std::string &tail = {})
{
    return std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + tail;
}

} // namespace stv::test
