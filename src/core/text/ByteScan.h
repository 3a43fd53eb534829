#pragma once
// Every place of one byte in a text, found sixteen bytes at a time where the processor can:
// page generation looks at every byte of a project for field separators and mark braces.

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace stv
{

// Calls visit(position) for each `byte` in the text from `from` on, in order, until visit
// returns false; false when it did.
template <class Visit>
bool forEachByte(std::string_view text, char byte, std::size_t from, Visit &&visit)
{
    const char *const data = text.data();
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        for (auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
             hits != 0; hits &= hits - 1)
            if (!visit(i + static_cast<std::size_t>(__builtin_ctz(hits))))
                return false;
    }
    // The last few bytes as the end of the text's last sixteen, those already seen masked
    // off: most fields and records are short, and a byte at a time would cost more than all
    // the rest.
    if (i < text.size() && text.size() >= 16) {
        const std::size_t last = text.size() - 16;
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + last));
        auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
        for (hits &= 0xFFFFu << (i - last); hits != 0; hits &= hits - 1)
            if (!visit(last + static_cast<std::size_t>(__builtin_ctz(hits))))
                return false;
        return true;
    }
#endif
    for (; i < text.size(); ++i)
        if (data[i] == byte && !visit(i))
            return false;
    return true;
}

} // namespace stv
