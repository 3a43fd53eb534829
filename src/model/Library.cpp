#include "Library.h"

#include <cstddef>

namespace stv
{

namespace
{

// Flags of the rows named, sized to the list; rows out of range are dropped.
std::vector<bool> RowMarks(std::size_t count, const std::vector<int> &rows)
{
    std::vector<bool> marked(count, false);
    for (const int row : rows)
        if (row >= 0 && static_cast<std::size_t>(row) < count)
            marked[static_cast<std::size_t>(row)] = true;
    return marked;
}

} // namespace

FileResult ReadLibraryFile(const std::string &path, std::vector<std::string> &sections)
{
    sections.clear();
    if (!FileExists(path) && !FolderExists(path))
        return { true, {} };
    std::string error;
    if (!ReadLinesFile(path, sections, &error)) {
        sections.clear();
        return { false, error };
    }
    return { true, {} };
}

FileResult WriteLibraryFile(const std::string &path, const std::vector<std::string> &sections)
{
    return WriteLinesFile(path, sections);
}

FileResult AppendToLibrary(
    std::vector<std::string> &sections, const std::string &record, const std::string &path)
{
    sections.push_back(record);
    return WriteLibraryFile(path, sections);
}

FileResult DeleteLibraryRows(
    std::vector<std::string> &sections, const std::vector<int> &rows, const std::string &path)
{
    RemoveRows(sections, rows);
    return WriteLibraryFile(path, sections);
}

std::vector<std::string> RecordsAtRows(
    const std::vector<std::string> &records, const std::vector<int> &rows)
{
    const std::vector<bool> marked = RowMarks(records.size(), rows);
    std::vector<std::string> picked;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (marked[i])
            picked.push_back(records[i]);
    return picked;
}

void RemoveRows(std::vector<std::string> &records, const std::vector<int> &rows)
{
    const std::vector<bool> marked = RowMarks(records.size(), rows);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!marked[i]) {
            if (kept != i)
                records[kept] = std::move(records[i]);
            ++kept;
        }
    records.resize(kept);
}

void InsertRecords(
    std::vector<std::string> &list, int position, const std::vector<std::string> &records)
{
    std::size_t at = list.size();
    if (position < 0)
        at = 0;
    else if (static_cast<std::size_t>(position) < list.size())
        at = static_cast<std::size_t>(position);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), records.begin(), records.end());
}

} // namespace stv
