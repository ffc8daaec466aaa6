#pragma once
// The item file set: the PLU file the user names, and beside it the department
// file (".DEP") and the recycling file (".RCY"). All three are single-byte text,
// one record per line, fields separated by TAB, lines ended by CR LF.
//
// The grid files hold one line per row with a name, so a save and a reload
// close the gaps: the k-th line becomes item k. The recycling file always
// holds 50 lines.
#include "items/CellTable.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plu {

// The pieces between separators: "a\t\tb" gives three fields, "a\t" two, "" one.
std::vector<std::string> SplitFields(std::string_view line, char separator);

// The department and recycling files of the set whose PLU file is pluPath:
// its extension replaced by ".DEP" or ".RCY", or appended when it has none.
std::filesystem::path DeptFilePath(const std::filesystem::path& pluPath);
std::filesystem::path RecyFilePath(const std::filesystem::path& pluPath);

// File contents. A grid file writes columns 1 to the last of every row whose
// name is not empty; a TAB, CR or LF inside a text is written as a blank so it
// cannot split the record.
std::string FormatGridFile(const CellTable& table);
std::string FormatRecyFile(const std::vector<TRecy>& recyTable);
// Reading puts the fields of line k into row k as they stand (nothing is
// committed); columns beyond a line's last field keep their text, fields
// beyond the last column and lines beyond the last row are ignored.
void ParseGridFile(std::string_view content, CellTable& table);
// Lines with fewer than 3 fields are skipped; lines with 3 to 6 fields set only
// the three texts; unparsable numbers become 0.
void ParseRecyFile(std::string_view content, std::vector<TRecy>& recyTable);

// Writes the PLU, department and recycling files in that order, each one
// replaced atomically. Stops at the first failure with error naming the file
// and the system's reason; files already written stay written.
bool WriteItemFileSet(const ItemTables& tables, const std::filesystem::path& pluPath, std::string& error);
// Reads the set into tables (which should hold the defaults). A missing
// department or recycling file leaves that table as it is; a PLU file or any
// file that cannot be read gives false with error.
bool ReadItemFileSet(ItemTables& tables, const std::filesystem::path& pluPath, std::string& error);
// What Open does to the tables: all three at their defaults, then the set read
// into them. The set is read aside first, so when it cannot be read the tables
// stay as they were (false with error). CurrentFileName and Modified are the
// caller's.
bool LoadItemFileSet(ItemTables& tables, const std::filesystem::path& pluPath, std::string& error);

} // namespace plu
