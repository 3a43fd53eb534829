#pragma once
// The program's windows, made and wired in start-up order: the main window, the Section
// Library and the Section Manager, then the configuration read, the Section Manager filled
// and the Introduction page shown. The program's entry, the end-to-end tests and the README's
// screenshot tool all start the program through this one sequence.

#include "model/LibUnit.h"
#include "wizard/SMUnit.h"
#include "wizard/SVUnit.h"

namespace stv
{

struct ProgramWindows {
    // Shows the Section Manager; the main window is left for the caller to show.
    ProgramWindows();

    TSV window;
    TLib library;
    TSM sectionManager;
};

} // namespace stv
