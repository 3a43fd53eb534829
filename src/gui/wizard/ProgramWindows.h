#pragma once
// The program's windows, made and wired in start-up order: the main window, the Section
// Library and the Section Manager, then the configuration read, the Section Manager filled
// and the Introduction page shown. The program's entry, the end-to-end tests and the README's
// screenshot tool all start the program through this one sequence.

#include "gui/sections/SectionLibraryWindow.h"
#include "gui/sections/SectionManagerWindow.h"
#include "gui/wizard/WizardWindow.h"

namespace stv
{

struct ProgramWindows {
    // Shows the Section Manager; the main window is left for the caller to show.
    ProgramWindows();

    WizardWindow window;
    SectionLibraryWindow library;
    SectionManagerWindow sectionManager;
};

} // namespace stv
