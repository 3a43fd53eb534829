// Record operations on arbitrary bytes: the split, the cursor walk and the field replacement
// agree with each other, and the line-break escapes and the code page conversion round-trip.
#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int index = data[0] % 24;
    const std::string record(reinterpret_cast<const char *>(data + 1), size - 1);

    const int count = stv::fieldCount(record);
    const auto fields = stv::splitFields(record, count + 1);
    std::size_t cursor = 1;
    for (int i = 0; i < count; ++i)
        if (stv::nextField(record, cursor) != fields[static_cast<std::size_t>(i)])
            std::abort();
    if (stv::nextField(record, cursor) != "{END}")
        std::abort();

    const std::string value = "v{END}";
    const std::string replaced = stv::replaceField(record, index, value);
    const int newCount = stv::fieldCount(replaced);
    if (index < count) {
        if (newCount != count
            || stv::splitFields(replaced, index)[static_cast<std::size_t>(index)] != value)
            std::abort();
    } else if (index == count) {
        if (newCount != count + 1)
            std::abort();
    } else if (newCount != count) {
        std::abort();
    }

    // A stored memo shows and stores back to itself once it is in canonical form.
    const std::string shown = stv::unescapeLineBreaks(record);
    const std::string stored = stv::escapeLineBreaks(shown);
    if (stv::escapeLineBreaks(stv::unescapeLineBreaks(stored)) != stored)
        std::abort();

    std::string noSeparator = record;
    for (char &c : noSeparator)
        if (c == '\xA0')
            c = ' ';
    if (stv::utf8ToCp1252(stv::cp1252ToUtf8(noSeparator)) != noSeparator)
        std::abort();
    stv::utf8ToCp1252(record); // arbitrary bytes as UTF-8 input must not crash
    std::string text = record;
    stv::replaceAll("{c", "[", text);
    (void)stv::leadingInt(record);
    return 0;
}
