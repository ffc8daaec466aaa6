#pragma once
// What each column of the three item grids holds: its maximum length, the keys
// it takes, the value it accepts and the form the value is rewritten in, and its
// default text. Also the key filter and the commit rule built on them.
//
// The grids are addressed like the tables: row 0 is the title row, and in the
// PLU and department grids column 0 is the drawn row number. The recycling
// dialog's grid has no such column, so its column 0 is "PLU #".
#include "items/CellTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plu {

enum class GridKind { Plu, Dept, Recy };

inline constexpr int kRecyCols = 7;

inline constexpr std::array<int, kPluCols> PluMaxLen{4, 12, 1, 9, 13, 1, 9, 7, 11};
inline constexpr std::array<int, kDeptCols> DeptMaxLen{1, 12, 1, 1, 1, 8, 7, 11};
inline constexpr std::array<int, kRecyCols> RecyMaxLen{2, 8, 13, 4, 10, 4, 10};

enum class ColumnKind {
    Fixed,   // the drawn row number, never edited
    Name,    // any character, kept as typed
    Number,  // number characters, parsed and rewritten with Decimals
    Integer, // digits, parsed as a 64-bit integer and rewritten plainly
    Digits,  // digits, kept as typed (the recycling counters)
};

struct ColumnSpec {
    ColumnKind Kind = ColumnKind::Name;
    int MaxLength = 0;
    int Decimals = 0;            // Number columns
    bool HasUpperBound = false;  // Number: value <= Upper (or |value| <= Upper with Absolute)
    bool Absolute = false;
    double Upper = 0;
    bool HasRange = false;       // Integer: Low..High
    std::int64_t Low = 0;
    std::int64_t High = 0;
};

int ColumnCount(GridKind kind);
// The first column the user edits: 1 in the PLU and department grids, 0 in the recycling grid.
int FirstDataColumn(GridKind kind);
ColumnSpec ColumnOf(GridKind kind, int col);

// Column defaults, with the decimal separator in force ("0.00" or "0,00").
std::string ColumnDefault(GridKind kind, int col);
std::vector<std::string> PluDefaults();
std::vector<std::string> DeptDefaults();
std::vector<std::string> RecyDefaults();

// Digits, "-" and the decimal separator, each of the last two at most once in text.
bool IsNumberChar(std::string_view text, char ch);
bool IsDigitChar(char ch);
// Whether a typed character (code 32 or more) may enter a cell whose text is
// text while the editor has (hasSelection) or has not selected part of it.
bool AcceptKey(GridKind kind, int col, std::string_view text, bool hasSelection, char key);

// The text a commit leaves in a cell holding text, or nullopt when the commit
// is refused.
std::optional<std::string> CommittedText(GridKind kind, int col, std::string_view text);
// Commits cell (col, row) of table: on acceptance the cell may be rewritten.
bool CommitCell(GridKind kind, CellTable& table, int col, int row);

} // namespace plu
