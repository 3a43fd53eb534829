#include "core/project/Records.h"

#include "core/text/ByteScan.h"
#include "core/text/TextTools.h"

namespace stv
{

int kindPosition(std::string_view kind)
{
    for (const SectionKind &row : SectionKinds)
        if (row.name == kind)
            return static_cast<int>(row.position);
    return -1;
}

int kindIcon(std::string_view kind)
{
    if (const int position = kindPosition(kind); position >= 0)
        return SectionKinds[static_cast<std::size_t>(position)].icon;
    struct Entry {
        std::string_view name;
        int icon;
    };
    static constexpr Entry FixedIcons[] = { { IntroductionName, 9 }, { TitleBarName, 3 },
        { BackgroundName, 6 }, { WhatsNextName, 11 } };
    for (const auto &e : FixedIcons)
        if (e.name == kind)
            return e.icon;
    return -1;
}

std::vector<std::string> splitFields(std::string_view record, int lastIndex)
{
    std::vector<std::string> fields(static_cast<std::size_t>(lastIndex < 0 ? 0 : lastIndex + 1));
    std::size_t a = record.find(FieldSep);
    if (a == std::string_view::npos)
        return fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t b = record.find(FieldSep, a + 1);
        if (b == std::string_view::npos)
            break;
        fields[i].assign(record.substr(a + 1, b - a - 1));
        a = b;
    }
    return fields;
}

void splitFieldViews(std::string_view record, std::string_view *fields, std::size_t count)
{
    std::size_t found = 0;
    std::size_t start = !record.empty() && record[0] == FieldSep ? 0 : record.find(FieldSep);
    if (start != std::string_view::npos && count > 0) {
        ++start; // the field after the separator
        forEachByte(record, FieldSep, start, [&](std::size_t at) {
            fields[found++] = std::string_view(record.data() + start, at - start);
            start = at + 1;
            return found < count;
        });
    }
    for (; found < count; ++found)
        fields[found] = {};
}

std::string nextField(std::string_view record, std::size_t &cursor)
{
    const std::size_t from = cursor == 0 ? 0 : cursor - 1;
    const std::size_t b = record.find(FieldSep, from);
    if (b == std::string_view::npos)
        return std::string(EndOfFields);
    const std::size_t c = record.find(FieldSep, b + 1);
    if (c == std::string_view::npos)
        return std::string(EndOfFields);
    cursor = c + 1;
    return std::string(record.substr(b + 1, c - b - 1));
}

int fieldCount(std::string_view record)
{
    std::size_t a = record.find(FieldSep);
    if (a == std::string_view::npos)
        return 0;
    int count = 0;
    for (std::size_t b; (b = record.find(FieldSep, a + 1)) != std::string_view::npos; a = b)
        ++count;
    return count;
}

// Walks the fields by position rather than by the "{END}" sentinel, so a field whose text
// happens to be "{END}" survives the rebuild.
std::string replaceField(std::string_view record, int index, std::string_view value)
{
    std::string result(1, FieldSep);
    result.reserve(record.size() + value.size() + 1);
    std::size_t a = record.find(FieldSep);
    int i = 0;
    if (a != std::string_view::npos) {
        for (std::size_t b; (b = record.find(FieldSep, a + 1)) != std::string_view::npos;
             a = b, ++i) {
            if (i == index)
                result.append(value);
            else
                result.append(record.substr(a + 1, b - a - 1));
            result += FieldSep;
        }
    }
    if (i == index) {
        result.append(value);
        result += FieldSep;
    }
    return result;
}

std::string joinFields(const std::vector<std::string> &fields)
{
    std::size_t total = 1;
    for (const auto &f : fields)
        total += f.size() + 1;
    std::string out;
    out.reserve(total);
    out += FieldSep;
    for (const auto &f : fields) {
        out += f;
        out += FieldSep;
    }
    return out;
}

std::string fixedSectionRecord(std::string_view name)
{
    return joinFields({ std::string(name) });
}

std::string escapeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        if (c == '\r')
            out += "{lf13}";
        else if (c == '\n')
            out += "{lf10}";
        else
            out += c;
    }
    return out;
}

std::string unescapeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendUnescapedLineBreaks(text, out);
    return out;
}

// One pass for both markers: neither can overlap the other or be made by replacing it.
void appendUnescapedLineBreaks(std::string_view text, std::string &out)
{
    std::size_t done = 0;
    for (std::size_t p = text.find('{'); p != std::string_view::npos; p = text.find('{', p + 1)) {
        const std::string_view marker = text.substr(p, 6);
        const bool cr = equalsIgnoreCase(marker, "{lf13}");
        if (!cr && !equalsIgnoreCase(marker, "{lf10}"))
            continue;
        out.append(text, done, p - done);
        out += cr ? '\r' : '\n';
        done = p + 6;
        p += 5;
    }
    out.append(text, done, std::string_view::npos);
}

std::string newSectionRecord(int kindPosition)
{
    if (kindPosition < 0 || kindPosition >= KindCount)
        return {};
    const SectionKind &kind = SectionKinds[static_cast<std::size_t>(kindPosition)];
    std::vector<std::string> fields { std::string(kind.name), "Untitled" };
    fields.insert(fields.end(), kind.templateFields.begin(), kind.templateFields.end());
    return joinFields(fields);
}

bool flagValue(std::string_view field)
{
    return (leadingInt(field) & 0xFF) != 0;
}

} // namespace stv
