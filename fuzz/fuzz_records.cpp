// Record operations on arbitrary bytes: the split, the cursor walk and the field replacement
// agree with each other, and the line-break escapes and the code page conversion round-trip.
#include "model/Cp1252.h"
#include "model/Records.h"
#include "model/StuffUnit.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int index = data[0] % 24;
    const std::string record(reinterpret_cast<const char *>(data + 1), size - 1);

    const int count = stv::FieldCount(record);
    const auto fields = stv::SplitFields(record, count + 1);
    std::size_t cursor = 1;
    for (int i = 0; i < count; ++i)
        if (stv::NextField(record, cursor) != fields[static_cast<std::size_t>(i)])
            std::abort();
    if (stv::NextField(record, cursor) != "{END}")
        std::abort();

    const std::string value = "v{END}";
    const std::string replaced = stv::ReplaceField(record, index, value);
    const int newCount = stv::FieldCount(replaced);
    if (index < count) {
        if (newCount != count || stv::SplitFields(replaced, index)[static_cast<std::size_t>(index)] != value)
            std::abort();
    } else if (index == count) {
        if (newCount != count + 1)
            std::abort();
    } else if (newCount != count) {
        std::abort();
    }

    // A stored memo shows and stores back to itself once it is in canonical form.
    const std::string shown = stv::UnescapeLineBreaks(record);
    const std::string stored = stv::EscapeLineBreaks(shown);
    if (stv::EscapeLineBreaks(stv::UnescapeLineBreaks(stored)) != stored)
        std::abort();

    std::string noSeparator = record;
    for (char &c : noSeparator)
        if (c == '\xA0')
            c = ' ';
    if (stv::Utf8ToCp1252(stv::Cp1252ToUtf8(noSeparator)) != noSeparator)
        std::abort();
    stv::Utf8ToCp1252(record); // arbitrary bytes as UTF-8 input must not crash
    std::string text = record;
    stv::ReplaceAll("{c", "[", text);
    (void)stv::LeadingInt(record);
    return 0;
}
