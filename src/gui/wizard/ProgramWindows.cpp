#include "gui/wizard/ProgramWindows.h"

namespace stv
{

ProgramWindows::ProgramWindows()
    : library(window.librarySections(), &window)
    , sectionManager(window, library, &window)
{
    window.setSectionView(&sectionManager);
    window.setSectionManagerWindow(&sectionManager);
    sectionManager.addEditActions(window.undoAction(), window.redoAction());
    window.loadConfiguration();
    sectionManager.refreshSectionManager();
    window.showCurrentSection();
    sectionManager.show();
}

} // namespace stv
