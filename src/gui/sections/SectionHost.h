#pragma once
// What the Section Manager needs of the wizard, and what the wizard asks of the Section
// Manager. The main window implements SectionHost; the Section Manager implements SectionView.

#include "core/settings/FavouriteLists.h"

#include <string>
#include <vector>

namespace stv
{

// Positions (CurrentSection values) of the three fixed pages before the first section, which
// is at 0. The position one past the last section is the "What`s Next?" selection page.
inline constexpr int IntroductionPosition = -3;
inline constexpr int TitleBarPosition = -2;
inline constexpr int BackgroundPosition = -1;
// Rows of the fixed pages above the first section in the Section Manager: a position's row is
// the position + FixedRowsBefore.
inline constexpr int FixedRowsBefore = -IntroductionPosition;

class SectionHost
{
public:
    virtual ~SectionHost() = default;
    virtual std::vector<std::string> &sectionList() = 0; // SectionList
    virtual int currentSection() const = 0; // CurrentSection
    virtual void setCurrentSection(int position) = 0;
    virtual void storeCurrentPage() = 0; // storeCurrentPage
    virtual void showCurrentSection() = 0; // showCurrentSection
    // The section list was changed outside a page store: counts as an unsaved change, and as
    // one step to undo named `label` ("Delete Paragraph").
    virtual void sectionListChanged(const std::string &label) = 0;
    // After a jump: the page's first field takes the focus, so typing goes there; with
    // `activate` the main window also becomes the active window (a click on a row).
    virtual void focusPage(bool activate) = 0;
    virtual std::vector<std::string> &librarySections() = 0; // LibrarySections
    virtual FavouriteLists &favouriteLists() = 0; // the Image List rows among them
    // An image was added to the Image List: its window shows it, its file keeps it.
    virtual void imageListChanged() = 0;
};

class SectionView
{
public:
    virtual ~SectionView() = default;
    virtual void refreshSectionManager() = 0;
    virtual void selectRow(int row) = 0; // row = CurrentSection + FixedRowsBefore
};

} // namespace stv
