#pragma once
// The user's locale's full day and month names for the page's "Site Last Updated" line.

#include "core/page/PageGenerator.h"

namespace stv
{

// Windows-1252 names of the system locale (characters outside the code page as "&#N;").
DateNames localeDateNames();

} // namespace stv
