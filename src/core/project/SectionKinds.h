#pragma once
// The one table of section kinds: what the program knows of each kind apart from its wizard
// page class (gui/wizard/pages) and its emitters (one per page style, core/page). A new kind
// is a value of KindPos and a row of SectionKinds; the compiler refuses a row left out.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace stv
{

// Kind positions, the order of the Select page and of the insert menu.
enum class KindPos {
    Heading = 0,
    Paragraph,
    Image,
    Divider,
    Anchor,
    List,
    Index,
    HTML,
    PlaySound,
    Count
};
inline constexpr int KindCount = static_cast<int>(KindPos::Count);

struct SectionKind {
    KindPos position = KindPos::Count; // must equal the row's place in the table
    std::string_view name; // field 0 of its records, and its wizard page's object name
    std::string_view caption; // on the Select page
    std::string_view insertCaption; // in the Section Manager's "&Insert" submenu
    std::string_view insertName; // that menu item's object name
    int icon = -1; // in the shared icon strip
    int helpTopic = -1; // the manual's chapter for its wizard page
    std::span<const std::string_view> templateFields; // a new section's fields from field 2 on
};

namespace kind_template
{
using F = std::string_view;
inline constexpr F Heading[] = { "Insert Your Heading Here!", "2" };
inline constexpr F Paragraph[] = { "Insert Your Paragraph Here!", "2" };
inline constexpr F Image[] = { "", "", "", "", "", "", "", "", "", "-1", "-1" };
inline constexpr F Divider[] = { "0", "1", "100", "-1" };
inline constexpr F Anchor[] = { "Insert Your Anchor Here", "Insert Some Descriptive Text Here" };
inline constexpr F List[]
    = { "", "", "", "", "", "", "", "", "", "", "", "", "", "", "0", "2", "0" };
inline constexpr F Index[] = { "", "2" };
inline constexpr F PlaySound[] = { "", "-1", "-1", "-1", "-1" };
} // namespace kind_template

// Row k is the kind at position k. An HTML section starts with no fields beyond its label.
inline constexpr std::array<SectionKind, KindCount> SectionKinds = { {
    { KindPos::Heading, "Heading", "Heading", "&Heading", "Heading1", 5, 8,
        kind_template::Heading },
    { KindPos::Paragraph, "Paragraph", "Paragraph", "&Paragraph", "Paragraph1", 1, 9,
        kind_template::Paragraph },
    { KindPos::Image, "Image", "Image", "&Image", "Image1", 4, 10, kind_template::Image },
    { KindPos::Divider, "Divider", "Divider", "&Divider", "Divider1", 8, 11,
        kind_template::Divider },
    { KindPos::Anchor, "Anchor", "Anchor", "&Anchor", "Anchor1", 2, 12, kind_template::Anchor },
    { KindPos::List, "List", "List", "&Bullet/Numbered List", "BulletNumberedList1", 7, 13,
        kind_template::List },
    { KindPos::Index, "Index", "Line Index", "&Line Index", "LineIndex1", 10, 14,
        kind_template::Index },
    { KindPos::HTML, "HTML", "Insert HTML", "&HTML", "HTML1", 0, 15, {} },
    { KindPos::PlaySound, "PlaySound", "PlaySound", "Play&Sound", "PlaySound1", 14, 27,
        kind_template::PlaySound },
} };

// The first row that is out of its place, lacks an entry, or repeats an earlier row's name or
// menu item name; -1 when every row is complete. Checked at compile time for SectionKinds, and
// by the tests for scratch tables.
constexpr int firstIncompleteKind(std::span<const SectionKind> rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SectionKind &row = rows[i];
        if (static_cast<std::size_t>(row.position) != i || row.name.empty() || row.caption.empty()
            || row.insertCaption.empty() || row.insertName.empty() || row.icon < 0
            || row.helpTopic < 0)
            return static_cast<int>(i);
        for (std::size_t j = 0; j < i; ++j)
            if (rows[j].name == row.name || rows[j].insertName == row.insertName)
                return static_cast<int>(i);
    }
    return -1;
}
static_assert(firstIncompleteKind(SectionKinds) < 0,
    "every kind of KindPos needs a complete row of SectionKinds, in KindPos order");

constexpr const SectionKind &sectionKind(KindPos kind)
{
    return SectionKinds[static_cast<std::size_t>(kind)];
}

// Other tables indexed by kind (a page style's emitters, the wizard's page classes) are built
// from (kind, entry) pairs in any order and checked at compile time with coversEveryKind.
template <class T>
using KindTable = std::array<T, KindCount>;
template <class T>
struct KindEntry {
    KindPos kind;
    T entry;
};

// Each entry lands at its kind's place; a second entry for a kind is ignored, leaving some
// other kind without one.
template <class T, std::size_t N>
constexpr KindTable<T> tableByKind(const KindEntry<T> (&entries)[N])
{
    KindTable<T> table {};
    for (const KindEntry<T> &pair : entries)
        if (pair.kind != KindPos::Count && table[static_cast<std::size_t>(pair.kind)] == T {})
            table[static_cast<std::size_t>(pair.kind)] = pair.entry;
    return table;
}

// True when each kind has exactly one of `entries`. Only the kinds are compared: a compiler
// with sanitizers cannot compare the addresses of functions while it compiles.
template <class T, std::size_t N>
constexpr bool coversEveryKind(const KindEntry<T> (&entries)[N])
{
    std::array<int, KindCount> seen {};
    for (const KindEntry<T> &pair : entries) {
        if (pair.kind == KindPos::Count)
            return false;
        ++seen[static_cast<std::size_t>(pair.kind)];
    }
    for (const int count : seen)
        if (count != 1)
            return false;
    return true;
}

// True when no kind's entry is left empty.
template <class T>
constexpr bool coversEveryKind(const KindTable<T> &table)
{
    for (const T &entry : table)
        if (entry == T {})
            return false;
    return true;
}

} // namespace stv
