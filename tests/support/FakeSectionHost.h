#pragma once
// The main window as far as the Section Manager sees it: keeps the section list, the position,
// the library and the favourite lists, and counts page stores, shows and list changes. A page
// store writes what was "typed" on the page into field 2 of the current record; a show puts the
// record on the page and drops whatever was typed.

#include "core/project/Records.h"
#include "core/settings/FavouriteLists.h"
#include "gui/sections/SectionHost.h"

#include <string>
#include <vector>

namespace stv::test
{

class FakeSectionHost : public SectionHost
{
public:
    std::vector<std::string> list;
    int current = IntroductionPosition;
    std::vector<std::string> library;
    FavouriteLists lists;
    SectionView *view = nullptr;

    int stores = 0;
    int shows = 0;
    int changes = 0;
    int focuses = 0; // page focused after a jump
    bool activated = false; // ... and the main window made active
    std::string lastChange; // the step name of the last list change
    std::string typed; // on the page, not yet stored
    std::string onPage; // the record the page shows

    std::vector<std::string> &sectionList() override { return list; }
    int currentSection() const override { return current; }
    void setCurrentSection(int position) override { current = position; }
    void storeCurrentPage() override
    {
        ++stores;
        if (namesRecord() && !typed.empty())
            list[static_cast<std::size_t>(current)]
                = replaceField(list[static_cast<std::size_t>(current)], 2, typed);
        typed.clear();
    }
    void showCurrentSection() override
    {
        ++shows;
        if (view)
            view->selectRow(current + FixedRowsBefore);
        typed.clear();
        onPage = namesRecord() ? list[static_cast<std::size_t>(current)] : std::string();
    }
    void sectionListChanged(const std::string &label) override
    {
        ++changes;
        lastChange = label;
    }
    void focusPage(bool activate) override
    {
        ++focuses;
        activated = activated || activate;
    }
    std::vector<std::string> &librarySections() override { return library; }
    FavouriteLists &favouriteLists() override { return lists; }
    void imageListChanged() override { ++imageListChanges; }
    int imageListChanges = 0;

private:
    bool namesRecord() const { return current >= 0 && current < static_cast<int>(list.size()); }
};

} // namespace stv::test
