// Any file that loads as a project saves to bytes that load to the same project and save to
// the same bytes again.
#include "core/project/Project.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    stv::Project p;
    if (!stv::parseProject(bytes, "fuzz.stv", p).ok())
        return 0;
    const std::string saved = stv::serializeProject(p);
    stv::Project again;
    if (!stv::parseProject(saved, "fuzz.stv", again).ok())
        std::abort();
    if (!(again == p))
        std::abort();
    if (stv::serializeProject(again) != saved)
        std::abort();
    return 0;
}
