// The FTP listing parser on arbitrary server replies, as MLSD and as LIST; every entry's row is
// made as the upload window makes it, and the MS-DOS date fields round-trip for every time
// they accept.
#include "core/upload/FtpListing.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const stv::CivilTime today { 1990 + data[0] % 120, 1 + data[0] % 12, 1 + data[0] % 28, 12, 0,
        0 };
    const std::string_view body(reinterpret_cast<const char *>(data + 1), size - 1);
    for (const bool mlsd : { true, false }) {
        for (const stv::FtpEntry &entry : stv::parseListing(body, mlsd, today)) {
            if (entry.name.empty() || entry.name == "." || entry.name == "..")
                std::abort();
            const stv::ListingRow row = stv::makeListingRow(entry);
            if (row.name != entry.name)
                std::abort();
            if (entry.modified) {
                if (const auto packed = stv::toDosDateTime(*entry.modified)) {
                    const stv::CivilTime back = stv::fromDosDateTime(*packed);
                    const auto again = stv::toDosDateTime(back);
                    if (!again || again->date != packed->date || again->time != packed->time)
                        std::abort();
                }
            }
        }
    }
    return 0;
}
