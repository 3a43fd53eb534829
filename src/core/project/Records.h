#pragma once
// Section records: one string per section, fields separated by the byte 0xA0 with a leading
// and a trailing separator. Field 0 is the kind, field 1 the user's label.

#include "core/project/SectionKinds.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stv
{

inline constexpr char FieldSep = '\xA0';
inline constexpr std::string_view EndOfFields = "{END}";

// Field numbers of every kind. Field 0 (Kind) and 1 (UserLabel) are common to all.
namespace field
{
inline constexpr int Kind = 0;
inline constexpr int UserLabel = 1;

inline constexpr int HeadingText = 2, HeadingSize = 3, HeadingBold = 4, HeadingItalic = 5,
                     HeadingUnderline = 6, HeadingStrikeOut = 7, HeadingAlign = 8,
                     HeadingColour = 9;

inline constexpr int ParaText = 2, ParaSize = 3, ParaBold = 4, ParaItalic = 5, ParaUnderline = 6,
                     ParaStrikeOut = 7, ParaAlign = 8, ParaColour = 9, ParaFollowOn = 10,
                     ParaLink = 11;

inline constexpr int ImageFile = 2, ImagePosition = 3, ImageWidth = 4, ImageHeight = 5,
                     ImageAltText = 6, ImageLinkType = 7, ImageLink = 8, ImageFollowOn = 9,
                     ImageJustify = 10, ImageImport = 11, ImageLinkBorder = 12;

inline constexpr int DividerColour = 2, DividerThickness = 3, DividerWidth = 4, Divider3D = 5;

inline constexpr int AnchorName = 2, AnchorText = 3, AnchorFollowOn = 4;

// Row k (1 to 7) of a list: text at listText(k), link at listLink(k).
constexpr int listText(int k)
{
    return 2 * k;
}
constexpr int listLink(int k)
{
    return 2 * k + 1;
}
inline constexpr int ListRows = 7;
inline constexpr int ListType = 16, ListSize = 17, ListColour = 18;

inline constexpr int IndexLines = 2, IndexSize = 3, IndexBold = 4, IndexItalic = 5,
                     IndexUnderline = 6, IndexStrikeOut = 7, IndexAlign = 8, IndexFollowOn = 9;

inline constexpr int HTMLCode = 2;

inline constexpr int SoundFile = 2, SoundAutoStart = 3, SoundHidden = 4, SoundImport = 5,
                     SoundFollowOn = 6, SoundAlign = 7;
} // namespace field

// The four fixed sections, which are never records of the section list.
inline constexpr std::string_view IntroductionName = "Introduction";
inline constexpr std::string_view TitleBarName = "Create Title Bar";
inline constexpr std::string_view BackgroundName = "Select Background";
inline constexpr std::string_view WhatsNextName = "What`s Next?";

// Kind position of a record kind name (exact match), -1 for an unknown kind.
int kindPosition(std::string_view kind);
// Icon of the shared strip for a kind or fixed-section name, -1 for none.
int kindIcon(std::string_view kind);

// lastIndex + 1 fields; fields the record lacks are empty.
std::vector<std::string> splitFields(std::string_view record, int lastIndex);
// The first `count` fields as views into the record; fields the record lacks are empty.
void splitFieldViews(std::string_view record, std::string_view *fields, std::size_t count);
template <std::size_t Count>
std::array<std::string_view, Count> fieldViews(std::string_view record)
{
    std::array<std::string_view, Count> fields {};
    splitFieldViews(record, fields.data(), Count);
    return fields;
}
// The field after the separator at or after cursor (1-based); advances the cursor, or gives
// "{END}" and leaves the cursor when no field follows.
std::string nextField(std::string_view record, std::size_t &cursor);
// The record with field index replaced; index == field count appends, larger changes nothing.
std::string replaceField(std::string_view record, int index, std::string_view value);
// Number of complete fields of the record.
int fieldCount(std::string_view record);

// Builds a record from its fields: 0xA0, then each field followed by 0xA0.
std::string joinFields(const std::vector<std::string> &fields);
// The one-field record that stands for a fixed section in lists of records.
std::string fixedSectionRecord(std::string_view name);

std::string escapeLineBreaks(std::string_view text); // CR -> {lf13}, LF -> {lf10}
std::string unescapeLineBreaks(std::string_view text); // both markers back, case ignored
// Appends the text with both markers turned back into CR and LF.
void appendUnescapedLineBreaks(std::string_view text, std::string &out);

// Template of a new section of the given kind position (0 to KindCount - 1); empty when out
// of range.
std::string newSectionRecord(int kindPosition);

// A stored flag: true when the low 8 bits of its number are not all zero.
bool flagValue(std::string_view field);
inline std::string flagText(bool on)
{
    return on ? "1" : "0";
}

} // namespace stv
