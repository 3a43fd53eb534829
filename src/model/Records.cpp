#include "Records.h"

#include "StuffUnit.h"

namespace stv {

int KindPosition(std::string_view kind)
{
    for (int i = 0; i < KindCount; ++i)
        if (KindNames[i] == kind)
            return i;
    return -1;
}

int KindIcon(std::string_view kind)
{
    struct Entry {
        std::string_view name;
        int icon;
    };
    static constexpr Entry Icons[] = {
        {"HTML", 0},  {"Paragraph", 1},      {"Anchor", 2},        {"Create Title Bar", 3},
        {"Image", 4}, {"Heading", 5},        {"Select Background", 6},
        {"List", 7},  {"Divider", 8},        {"Introduction", 9},  {"Index", 10},
        {"What`s Next?", 11},                {"PlaySound", 14}};
    for (const auto &e : Icons)
        if (e.name == kind)
            return e.icon;
    return -1;
}

std::vector<std::string> SplitFields(std::string_view record, int lastIndex)
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

std::string NextField(std::string_view record, std::size_t &cursor)
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

int FieldCount(std::string_view record)
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
std::string ReplaceField(std::string_view record, int index, std::string_view value)
{
    std::string result(1, FieldSep);
    result.reserve(record.size() + value.size() + 1);
    std::size_t a = record.find(FieldSep);
    int i = 0;
    if (a != std::string_view::npos) {
        for (std::size_t b; (b = record.find(FieldSep, a + 1)) != std::string_view::npos; a = b, ++i) {
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

std::string JoinFields(const std::vector<std::string> &fields)
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

std::string FixedSectionRecord(std::string_view name)
{
    return JoinFields({std::string(name)});
}

std::string EscapeLineBreaks(std::string_view text)
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

std::string UnescapeLineBreaks(std::string_view text)
{
    std::string out(text);
    ReplaceAll("{lf10}", "\n", out);
    ReplaceAll("{lf13}", "\r", out);
    return out;
}

std::string NewSectionRecord(int kindPosition)
{
    const std::string U = "Untitled";
    switch (kindPosition) {
    case 0:
        return JoinFields({"Heading", U, "Insert Your Heading Here!", "2"});
    case 1:
        return JoinFields({"Paragraph", U, "Insert Your Paragraph Here!", "2"});
    case 2: {
        std::vector<std::string> f{"Image", U};
        f.resize(11);
        f.push_back("-1");
        f.push_back("-1");
        return JoinFields(f);
    }
    case 3:
        return JoinFields({"Divider", U, "0", "1", "100", "-1"});
    case 4:
        return JoinFields({"Anchor", U, "Insert Your Anchor Here", "Insert Some Descriptive Text Here"});
    case 5: {
        std::vector<std::string> f{"List", U};
        f.resize(16);
        f.push_back("0");
        f.push_back("2");
        f.push_back("0");
        return JoinFields(f);
    }
    case 6:
        return JoinFields({"Index", U, "", "2"});
    case 7:
        return JoinFields({"HTML", U});
    case 8:
        return JoinFields({"PlaySound", U, "", "-1", "-1", "-1", "-1"});
    default:
        return {};
    }
}

bool FlagValue(std::string_view field)
{
    return (LeadingInt(field) & 0xFF) != 0;
}

} // namespace stv
