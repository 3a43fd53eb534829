#pragma once
// Text, path and line operations shared by every part of the program.
// All text is 8-bit (Windows-1252) bytes; positions count from 1 and 0 means "not found".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

// First occurrence of pattern in text at or after start (1-based), ASCII letters folded.
// 0 when not found, when the pattern is empty or when start lies past the end.
std::size_t findText(std::string_view pattern, std::string_view text, std::size_t start = 1);

// Replaces every occurrence (case-folded) of pattern; inserted text is never searched again.
// Builds a new string, so the cost is linear in the text.
void replaceAll(std::string_view pattern, std::string_view replacement, std::string &text);

// Decimal value of the leading integer (leading blanks and a sign allowed), 0 when the text
// does not begin with a number. Values beyond the 32-bit range are clamped.
int leadingInt(std::string_view text);
std::string intText(long long value);

// Text after the last '\' or '/', the whole path when it has neither.
std::string fileNamePart(std::string_view path);
// Text up to and including the last '\' or '/', empty when it has neither.
std::string folderPart(std::string_view path);

// ASCII-only case folding, used wherever letters are compared without regard to case.
std::string upperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Position of the first CR or LF at or after `from`; text.size() when there is none.
std::size_t findLineEnd(std::string_view text, std::size_t from = 0);

// Walks the lines of a text as views into it, without copying: a line ends at CR LF, a lone
// CR or a lone LF, and a final line end does not start another line.
class LineCursor
{
public:
    explicit LineCursor(std::string_view text)
        : m_text(text)
    {
    }
    // The next line; false when the text is used up.
    bool next(std::string_view &line)
    {
        if (m_pos >= m_text.size())
            return false;
        const std::size_t end = findLineEnd(m_text, m_pos);
        line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        if (end + 1 < m_text.size() && m_text[end] == '\r' && m_text[end + 1] == '\n')
            ++m_pos;
        return true;
    }
    // The text after the lines read so far.
    std::string_view rest() const { return m_pos >= m_text.size() ? "" : m_text.substr(m_pos); }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Lines of a whole text file, with the line ends of LineCursor, so "" gives no lines and
// "a\r\n" gives one.
std::vector<std::string> splitLines(std::string_view bytes);
// Number of lines splitLines would give.
std::size_t countLines(std::string_view bytes);
// Each line followed by CR LF.
std::string joinLines(const std::vector<std::string> &lines);

// Scrambled lines start with 0x02 0x04; printable payload bytes are shifted by a fixed table.
// Unprintable bytes are stored as they are, so the bytes 127 to 140, which a shifted printable
// byte can also become, do not survive the trip: the writer is meant for printable text.
inline constexpr std::string_view ScrambleMarker = "\x02\x04";
std::string scrambleLine(std::string_view plain);
std::string unscrambleLine(std::string_view line); // lines without the marker come back as they are

// Reads lines one at a time from a whole file's bytes, unscrambling scrambled lines.
class TextLineReader
{
public:
    explicit TextLineReader(std::string bytes);
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // The next line, unscrambled; the empty string at the end of the file.
    std::string readTextLine();

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
};

} // namespace stv
