#pragma once
// The checks a download runs before it sends PLUs or departments. Each shows
// its message and returns false at the first failure; the tables stay unchanged.
#include "items/CellTable.h"
#include "shell/UserInterface.h"

#include <array>
#include <optional>
#include <utility>

namespace plu {

// The first pair (i, j), first <= i < j <= last, of rows with the same non-empty
// name, taking the smallest i and then the smallest j; nullopt when none repeats.
// One pass over the rows with a map from name to its first row.
std::optional<std::pair<int, int>> FindNameRepeat(const CellTable& table, int nameCol, int first, int last);

// "PLU name repeat: No. %d and No. %d" for the first repeat among PLU rows first..last.
bool CheckPluNames(const CellTable& plu, int first, int last, UserInterface& ui);
// "Dept name repeat: No. %d and No. %d" over department rows 1..8.
bool CheckDeptNames(const CellTable& dept, UserInterface& ui);
// "Invalid tax: %d at No.%d" for the first named department whose tax rate is
// not in use on the register; taxInUse[t] tells whether rate t (1..9) is usable.
bool CheckDeptTaxes(const CellTable& dept, const std::array<bool, 10>& taxInUse, UserInterface& ui);

} // namespace plu
