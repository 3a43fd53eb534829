#pragma once
// The section library: finished section records kept for reuse in any project, stored in the
// file "Library" in the program folder, one record per line, CR LF. The list lives in the main
// window; these functions read it, change it and write it back whole after every change.

#include "core/files/FileIO.h"

#include <string>
#include <vector>

namespace stv
{

inline constexpr const char *LibraryFileName = "Library";

// Reads the library file. A missing file is an empty library and no error; a file that cannot
// be read gives an empty list and an error, and is kept: writes to it are refused.
Result<> readLibraryFile(const std::string &path, std::vector<std::string> &sections);
// Writes every record, one per line, through an atomic write.
Result<> writeLibraryFile(const std::string &path, const std::vector<std::string> &sections);

// Appends the record and writes the file. The record stays in the list even when the write
// fails, so the next write carries it.
Result<> appendToLibrary(
    std::vector<std::string> &sections, const std::string &record, const std::string &path);
// Removes the given rows (any order; rows out of range are ignored) and writes the file.
Result<> deleteLibraryRows(
    std::vector<std::string> &sections, const std::vector<int> &rows, const std::string &path);

// The records at the given rows, in list order whatever order the rows come in; a row named
// twice is taken once.
std::vector<std::string> recordsAtRows(
    const std::vector<std::string> &records, const std::vector<int> &rows);
// Removes the given rows in one pass, keeping the others in order.
void removeRows(std::vector<std::string> &records, const std::vector<int> &rows);
// Inserts records in their order before index position; a position past the end appends.
void insertRecords(
    std::vector<std::string> &list, int position, const std::vector<std::string> &records);

} // namespace stv
