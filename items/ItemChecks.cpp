#include "items/ItemChecks.h"

#include "shell/Locale.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace plu {
namespace {

std::string RepeatText(const char* what, int i, int j)
{
    return std::string(what) + " name repeat: No. " + std::to_string(i) + " and No. " + std::to_string(j);
}

} // namespace

std::optional<std::pair<int, int>> FindNameRepeat(const CellTable& table, int nameCol, int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, table.RowCount() - 1);
    if (first >= last)
        return std::nullopt;
    // The pair a comparison of every row with every later row finds first is the
    // name whose first row is smallest among the repeated names, with its second row.
    std::unordered_map<std::string_view, int> firstRow;
    firstRow.reserve(static_cast<std::size_t>(last - first + 1));
    std::optional<std::pair<int, int>> best;
    for (int row = first; row <= last; ++row) {
        const std::string& name = table.Cell(nameCol, row);
        if (name.empty())
            continue;
        auto [it, inserted] = firstRow.try_emplace(name, row);
        if (!inserted && (!best || it->second < best->first))
            best = std::pair{it->second, row};
    }
    return best;
}

bool CheckPluNames(const CellTable& plu, int first, int last, UserInterface& ui)
{
    ui.SetBusy(true);
    auto repeat = FindNameRepeat(plu, 1, first, last);
    ui.SetBusy(false);
    if (!repeat)
        return true;
    ui.ShowMessage(MessageKind::Information, RepeatText("PLU", repeat->first, repeat->second));
    return false;
}

bool CheckDeptNames(const CellTable& dept, UserInterface& ui)
{
    auto repeat = FindNameRepeat(dept, 1, 1, dept.RowCount() - 1);
    if (!repeat)
        return true;
    ui.ShowMessage(MessageKind::Information, RepeatText("Dept", repeat->first, repeat->second));
    return false;
}

bool CheckDeptTaxes(const CellTable& dept, const std::array<bool, 10>& taxInUse, UserInterface& ui)
{
    for (int row = 1; row < dept.RowCount(); ++row) {
        const std::string& tax = dept.Cell(3, row);
        if (dept.Cell(1, row).empty() || tax.empty())
            continue;
        // A rate outside 1..9, or a text that is no number at all (a file can
        // hold anything), is as unusable as a rate the register lacks.
        auto rate = ParseInt64(tax);
        if (rate && *rate >= 1 && *rate <= 9 && taxInUse[static_cast<std::size_t>(*rate)])
            continue;
        const std::string shown = rate ? std::to_string(*rate) : tax;
        ui.ShowMessage(MessageKind::Information, "Invalid tax: " + shown + " at No." + std::to_string(row));
        return false;
    }
    return true;
}

} // namespace plu
