#pragma once
// The classic page style: each kind written as the first version of the program wrote it
// (upper-case HTML 3.2 tags, FONT for sizes and colours), byte for byte.

#include "core/page/SectionEmitter.h"

namespace stv
{

// Defined and checked to cover every kind in ClassicEmitters.cpp.
extern const SectionEmitters ClassicEmitters;

} // namespace stv
