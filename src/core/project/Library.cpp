#include "core/project/Library.h"

#include "core/text/TextTools.h"

#include <cstddef>

namespace stv
{

namespace
{

// Flags of the rows named, sized to the list; rows out of range are dropped.
std::vector<bool> rowMarks(std::size_t count, const std::vector<int> &rows)
{
    std::vector<bool> marked(count, false);
    for (const int row : rows)
        if (row >= 0 && static_cast<std::size_t>(row) < count)
            marked[static_cast<std::size_t>(row)] = true;
    return marked;
}

} // namespace

Result<> readLibraryFile(const std::string &path, std::vector<std::string> &sections)
{
    Result<std::vector<std::string>> read = readKeptLinesFile(path, ListFileLimit);
    sections = read ? std::move(read.value()) : std::vector<std::string>();
    return read ? Result<>() : read.failure();
}

Result<> writeLibraryFile(const std::string &path, const std::vector<std::string> &sections)
{
    return writeLinesFile(path, sections);
}

Result<> appendToLibrary(
    std::vector<std::string> &sections, const std::string &record, const std::string &path)
{
    sections.push_back(record);
    return writeLibraryFile(path, sections);
}

Result<> deleteLibraryRows(
    std::vector<std::string> &sections, const std::vector<int> &rows, const std::string &path)
{
    removeRows(sections, rows);
    return writeLibraryFile(path, sections);
}

std::vector<std::string> recordsAtRows(
    const std::vector<std::string> &records, const std::vector<int> &rows)
{
    const std::vector<bool> marked = rowMarks(records.size(), rows);
    std::vector<std::string> picked;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (marked[i])
            picked.push_back(records[i]);
    return picked;
}

void removeRows(std::vector<std::string> &records, const std::vector<int> &rows)
{
    const std::vector<bool> marked = rowMarks(records.size(), rows);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (!marked[i]) {
            if (kept != i)
                records[kept] = std::move(records[i]);
            ++kept;
        }
    records.resize(kept);
}

void insertRecords(
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
