#pragma once
// What the Section Manager needs of the wizard, and what the wizard asks of the Section
// Manager. The main window implements SectionHost; the Section Manager implements SectionView.

#include "core/settings/FavouriteLists.h"

#include <string>
#include <vector>

namespace stv
{

class SectionHost
{
public:
    virtual ~SectionHost() = default;
    virtual std::vector<std::string> &sectionList() = 0; // SectionList
    virtual int currentSection() const = 0; // CurrentSection
    virtual void setCurrentSection(int position) = 0;
    virtual void storeCurrentPage() = 0; // storeCurrentPage
    virtual void showCurrentSection() = 0; // showCurrentSection
    // The section list was changed outside a page store: counts as an unsaved change.
    virtual void sectionListChanged() = 0;
    virtual std::vector<std::string> &librarySections() = 0; // LibrarySections
    virtual FavouriteLists &favouriteLists() = 0; // the Image List rows among them
};

class SectionView
{
public:
    virtual ~SectionView() = default;
    virtual void refreshSectionManager() = 0;
    virtual void selectRow(int row) = 0; // row = CurrentSection + 3
};

} // namespace stv
