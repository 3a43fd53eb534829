#pragma once
// An emitter writes one section record of its kind into the page. A page style is one
// emitter per kind, gathered into a SectionEmitters table indexed by kind position; the
// compiler refuses a style's table that leaves a kind out (coversEveryKind, SectionKinds.h).

#include "core/project/SectionKinds.h"

#include <string>
#include <string_view>

namespace stv
{

class PageGenerator;

// Appends the lines of `record` (each followed by CR LF) to `out`. `page` gives the shared
// work of the run: marks (appendMarks, appendParagraphText), copies (importFile), the heading
// number. `importFiles` says whether the record's own stored files are copied beside the page.
using SectionEmitter
    = void (*)(PageGenerator &page, std::string_view record, std::string &out, bool importFiles);

using SectionEmitters = KindTable<SectionEmitter>;

} // namespace stv
