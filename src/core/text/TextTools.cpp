#include "core/text/TextTools.h"

#include <array>
#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace stv
{

namespace
{

inline char foldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Shift of each payload position of a scrambled line: positions 1 to 100 have their own
// value, every later position shares one. All values lie in 0 to 14.
constexpr int ShiftAbove100 = 9;
constexpr std::array<unsigned char, 100> makeShiftTable()
{
    std::array<unsigned char, 100> t {};
    for (int p = 1; p <= 100; ++p)
        t[static_cast<std::size_t>(p - 1)] = static_cast<unsigned char>((p * 7 + 3) % 15);
    return t;
}
constexpr std::array<unsigned char, 100> ShiftTable = makeShiftTable();

inline int shiftAt(std::size_t p)
{
    return p <= 100 ? ShiftTable[p - 1] : ShiftAbove100;
}

} // namespace

std::size_t findText(std::string_view pattern, std::string_view text, std::size_t start)
{
    if (pattern.empty() || start < 1 || start > text.size())
        return 0;
    if (pattern.size() > text.size())
        return 0;
    const char first = foldAscii(pattern[0]);
    const std::size_t last = text.size() - pattern.size();
    // A first character that is no letter has one form, so the library's search finds it.
    const bool letter = (first >= 'A' && first <= 'Z');
    for (std::size_t i = start - 1; i <= last; ++i) {
        if (!letter) {
            const void *hit = std::memchr(text.data() + i, first, last + 1 - i);
            if (hit == nullptr)
                return 0;
            i = static_cast<std::size_t>(static_cast<const char *>(hit) - text.data());
        } else if (foldAscii(text[i]) != first) {
            continue;
        }
        std::size_t j = 1;
        while (j < pattern.size() && foldAscii(text[i + j]) == foldAscii(pattern[j]))
            ++j;
        if (j == pattern.size())
            return i + 1;
    }
    return 0;
}

void replaceAll(std::string_view pattern, std::string_view replacement, std::string &text)
{
    std::size_t found = findText(pattern, text, 1);
    if (found == 0)
        return;
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0; // bytes of text already handled
    while (found != 0) {
        result.append(text, copied, found - 1 - copied);
        result.append(replacement);
        copied = found - 1 + pattern.size();
        found = findText(pattern, text, copied + 1);
    }
    result.append(text, copied, std::string::npos);
    text = std::move(result);
}

int leadingInt(std::string_view text)
{
    // Most stored numbers are one digit: flags, sizes, codes.
    if (text.size() == 1)
        return (text[0] >= '0' && text[0] <= '9') ? text[0] - '0' : 0;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= INT_MAX)
            value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string intText(long long value)
{
    return std::to_string(value);
}

std::string fileNamePart(std::string_view path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string folderPart(std::string_view path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string upperAscii(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = foldAscii(c);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

std::size_t findLineEnd(std::string_view text, std::size_t from)
{
    const char *const data = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
    if (i < size && (data[i] == '\r' || data[i] == '\n'))
        return i; // an empty line
#if defined(__SSE2__)
    // Sixteen bytes at a time: records are long lines, and this runs over every byte of a
    // project.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= size; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        const int hits
            = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)));
        if (hits != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(hits)));
    }
    // The rest as the end of the text's last sixteen bytes, those already seen masked off.
    if (i < size && size >= 16) {
        const std::size_t last = size - 16;
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + last));
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(
                              _mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))))
            & (0xFFFFu << (i - last));
        return hits != 0 ? last + static_cast<std::size_t>(__builtin_ctz(hits)) : size;
    }
#endif
    while (i < size && data[i] != '\r' && data[i] != '\n')
        ++i;
    return i < size ? i : size;
}

std::vector<std::string> splitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    lines.reserve(countLines(bytes));
    LineCursor cursor(bytes);
    for (std::string_view line; cursor.next(line);)
        lines.emplace_back(line);
    return lines;
}

std::size_t countLines(std::string_view bytes)
{
    std::size_t count = 0;
    LineCursor cursor(bytes);
    for (std::string_view line; cursor.next(line);)
        ++count;
    return count;
}

std::string joinLines(const std::vector<std::string> &lines)
{
    std::size_t total = 0;
    for (const auto &l : lines)
        total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto &l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string scrambleLine(std::string_view plain)
{
    if (plain.empty())
        return {};
    std::string out(ScrambleMarker);
    out.reserve(plain.size() + 2);
    for (std::size_t p = 1; p <= plain.size(); ++p) {
        const auto c = static_cast<unsigned char>(plain[p - 1]);
        out += (c >= 32 && c <= 126) ? static_cast<char>(c + shiftAt(p)) : static_cast<char>(c);
    }
    return out;
}

std::string unscrambleLine(std::string_view line)
{
    if (line.substr(0, 2) != ScrambleMarker)
        return std::string(line);
    std::string out;
    out.reserve(line.size() - 2);
    for (std::size_t p = 1; p + 2 <= line.size(); ++p) {
        const auto b = static_cast<unsigned char>(line[p + 1]);
        const int k = shiftAt(p);
        out += (b >= k + 32 && b <= k + 126) ? static_cast<char>(b - k) : static_cast<char>(b);
    }
    return out;
}

TextLineReader::TextLineReader(std::string bytes)
    : m_bytes(std::move(bytes))
{
}

std::string TextLineReader::readTextLine()
{
    if (atEnd())
        return {};
    std::size_t end = m_pos;
    while (end < m_bytes.size() && m_bytes[end] != '\r' && m_bytes[end] != '\n')
        ++end;
    std::string line = unscrambleLine(std::string_view(m_bytes).substr(m_pos, end - m_pos));
    if (end < m_bytes.size()) {
        if (m_bytes[end] == '\r' && end + 1 < m_bytes.size() && m_bytes[end + 1] == '\n')
            ++end;
        ++end;
    }
    m_pos = end;
    return line;
}

} // namespace stv
