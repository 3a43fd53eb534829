// The table of section kinds and the tables indexed by kind: a scratch kind added to copies of
// them shows that a missing entry is caught before the program runs.
#include "core/project/SectionKinds.h"
#include "core/page/ClassicEmitters.h"
#include "core/project/Records.h"

#include <gtest/gtest.h>

#include <vector>

using namespace stv;

namespace
{

constexpr KindPos ScratchKind = KindPos::Count; // the place a new kind would take

// The table as it would be with one more kind, whose row is `scratch`.
std::vector<SectionKind> withScratchKind(const SectionKind &scratch)
{
    std::vector<SectionKind> rows(SectionKinds.begin(), SectionKinds.end());
    rows.push_back(scratch);
    return rows;
}

const SectionKind CompleteScratch { ScratchKind, "Marquee", "Marquee", "&Marquee", "Marquee1", 15,
    28, {} };

void emitNothing(PageGenerator &, std::string_view, std::string &, bool)
{
}

} // namespace

TEST(SectionKinds, EveryRowIsCompleteAndInPlace)
{
    EXPECT_EQ(firstIncompleteKind(SectionKinds), -1);
    for (int k = 0; k < KindCount; ++k) {
        const SectionKind &kind = SectionKinds[static_cast<std::size_t>(k)];
        EXPECT_EQ(kindPosition(kind.name), k);
        EXPECT_EQ(kindIcon(kind.name), kind.icon);
        EXPECT_EQ(
            fieldCount(newSectionRecord(k)), 2 + static_cast<int>(kind.templateFields.size()));
    }
}

TEST(SectionKinds, AScratchKindWithAMissingEntryIsCaught)
{
    EXPECT_EQ(firstIncompleteKind(withScratchKind(CompleteScratch)), -1);

    // Each entry left out in turn.
    std::vector<SectionKind> missing(7, CompleteScratch);
    missing[0].name = {};
    missing[1].caption = {};
    missing[2].insertCaption = {};
    missing[3].insertName = {};
    missing[4].icon = -1;
    missing[5].helpTopic = -1;
    missing[6].position = KindPos::Heading; // a row copied and not renumbered
    for (const SectionKind &row : missing)
        EXPECT_EQ(firstIncompleteKind(withScratchKind(row)), KindCount) << row.name;

    // A name or menu item name that another kind already has.
    SectionKind sameName = CompleteScratch;
    sameName.name = "Paragraph";
    EXPECT_EQ(firstIncompleteKind(withScratchKind(sameName)), KindCount);
    SectionKind sameItem = CompleteScratch;
    sameItem.insertName = "HTML1";
    EXPECT_EQ(firstIncompleteKind(withScratchKind(sameItem)), KindCount);

    // A row forgotten in the middle moves every later row out of its place; a row forgotten
    // at the end of a fixed-size table leaves an empty one.
    std::vector<SectionKind> gap(SectionKinds.begin(), SectionKinds.end());
    gap.erase(gap.begin() + 3);
    EXPECT_EQ(firstIncompleteKind(gap), 3);
    std::array<SectionKind, 3> shortTable = { { SectionKinds[0], SectionKinds[1] } };
    EXPECT_EQ(firstIncompleteKind(shortTable), 2);
}

TEST(SectionKinds, TablesByKindCoverEveryKind)
{
    EXPECT_TRUE(coversEveryKind(ClassicEmitters));

    // A style that forgot a kind, or gave one kind two emitters and another none.
    const SectionEmitters forgot = tableByKind<SectionEmitter>(
        { { KindPos::Heading, &emitNothing }, { KindPos::Paragraph, &emitNothing } });
    EXPECT_FALSE(coversEveryKind(forgot));
    KindEntry<SectionEmitter> twice[KindCount];
    for (int k = 0; k < KindCount; ++k)
        twice[k] = { static_cast<KindPos>(k), &emitNothing };
    twice[KindCount - 1].kind = KindPos::Heading;
    EXPECT_FALSE(coversEveryKind(tableByKind(twice)));
    twice[KindCount - 1].kind = KindPos::PlaySound;
    EXPECT_TRUE(coversEveryKind(tableByKind(twice)));
}
