#include "ProgramWindows.h"

namespace stv
{

ProgramWindows::ProgramWindows()
    : library(window.librarySections(), &window)
    , sectionManager(window, library, &window)
{
    window.setSectionView(&sectionManager);
    window.setSectionManagerWindow(&sectionManager);
    window.LoadConfiguration();
    sectionManager.RefreshSectionManager();
    window.ShowCurrentSection();
    sectionManager.show();
}

} // namespace stv
