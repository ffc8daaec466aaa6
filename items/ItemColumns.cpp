#include "items/ItemColumns.h"

#include "shell/Locale.h"

#include <cmath>

namespace plu {
namespace {

ColumnSpec Fixed(int len) { return {ColumnKind::Fixed, len}; }
ColumnSpec Name(int len) { return {ColumnKind::Name, len}; }
ColumnSpec Digits(int len) { return {ColumnKind::Digits, len}; }
ColumnSpec Number(int len, int decimals) { return {ColumnKind::Number, len, decimals}; }
ColumnSpec Bounded(int len, int decimals, double upper, bool absolute)
{
    ColumnSpec spec = Number(len, decimals);
    spec.HasUpperBound = true;
    spec.Upper = upper;
    spec.Absolute = absolute;
    return spec;
}
ColumnSpec Integer(int len) { return {ColumnKind::Integer, len}; }
ColumnSpec Ranged(int len, std::int64_t low, std::int64_t high)
{
    ColumnSpec spec = Integer(len);
    spec.HasRange = true;
    spec.Low = low;
    spec.High = high;
    return spec;
}

// Quantity and Total carry no bound: the register takes every value they can hold.
const std::array<ColumnSpec, kPluCols> kPluColumns{
    Fixed(PluMaxLen[0]),
    Name(PluMaxLen[1]),
    Ranged(PluMaxLen[2], 1, 8),
    Bounded(PluMaxLen[3], 2, 999999.99, false),
    Integer(PluMaxLen[4]),
    Ranged(PluMaxLen[5], 0, 1),
    Bounded(PluMaxLen[6], 3, 79999.999, true),
    Number(PluMaxLen[7], 3),
    Number(PluMaxLen[8], 2),
};

const std::array<ColumnSpec, kDeptCols> kDeptColumns{
    Fixed(DeptMaxLen[0]),
    Name(DeptMaxLen[1]),
    Ranged(DeptMaxLen[2], 0, 7),
    Ranged(DeptMaxLen[3], 1, 9),
    Ranged(DeptMaxLen[4], 0, 1),
    Bounded(DeptMaxLen[5], 2, 999999.99, false),
    Number(DeptMaxLen[6], 3),
    Number(DeptMaxLen[7], 2),
};

const std::array<ColumnSpec, kRecyCols> kRecyColumns{
    Ranged(RecyMaxLen[0], 1, 50),
    Number(RecyMaxLen[1], 2),
    Integer(RecyMaxLen[2]),
    Digits(RecyMaxLen[3]),
    Digits(RecyMaxLen[4]),
    Digits(RecyMaxLen[5]),
    Digits(RecyMaxLen[6]),
};

std::vector<std::string> DefaultsOf(GridKind kind)
{
    std::vector<std::string> defaults;
    for (int col = 0; col < ColumnCount(kind); ++col)
        defaults.push_back(ColumnDefault(kind, col));
    return defaults;
}

} // namespace

int ColumnCount(GridKind kind)
{
    switch (kind) {
    case GridKind::Plu:
        return kPluCols;
    case GridKind::Dept:
        return kDeptCols;
    case GridKind::Recy:
        return kRecyCols;
    }
    return 0;
}

int FirstDataColumn(GridKind kind) { return kind == GridKind::Recy ? 0 : 1; }

ColumnSpec ColumnOf(GridKind kind, int col)
{
    if (col < 0 || col >= ColumnCount(kind))
        return Fixed(0);
    switch (kind) {
    case GridKind::Plu:
        return kPluColumns[static_cast<std::size_t>(col)];
    case GridKind::Dept:
        return kDeptColumns[static_cast<std::size_t>(col)];
    case GridKind::Recy:
        return kRecyColumns[static_cast<std::size_t>(col)];
    }
    return Fixed(0);
}

std::string ColumnDefault(GridKind kind, int col)
{
    // Number columns default to zero in their own format; the rest are fixed texts.
    static constexpr std::array<const char*, kPluCols> kPlu{"", "", "1", nullptr, "0", "0", nullptr, nullptr, nullptr};
    static constexpr std::array<const char*, kDeptCols> kDept{"", "", "0", "", "0", nullptr, nullptr, nullptr};
    static constexpr std::array<const char*, kRecyCols> kRecy{"", nullptr, "0", "", "", "", ""};
    if (col < 0 || col >= ColumnCount(kind))
        return {};
    const auto index = static_cast<std::size_t>(col);
    const char* text = kind == GridKind::Plu ? kPlu[index] : kind == GridKind::Dept ? kDept[index] : kRecy[index];
    return text != nullptr ? std::string(text) : FormatFixed(0.0, ColumnOf(kind, col).Decimals);
}

std::vector<std::string> PluDefaults() { return DefaultsOf(GridKind::Plu); }
std::vector<std::string> DeptDefaults() { return DefaultsOf(GridKind::Dept); }
std::vector<std::string> RecyDefaults() { return DefaultsOf(GridKind::Recy); }

bool IsDigitChar(char ch) { return ch >= '0' && ch <= '9'; }

bool IsNumberChar(std::string_view text, char ch)
{
    const char separator = DecimalSeparator();
    if (ch != '-' && ch != separator && !IsDigitChar(ch))
        return false;
    if ((ch == separator || ch == '-') && text.find(ch) != std::string_view::npos)
        return false;
    return true;
}

bool AcceptKey(GridKind kind, int col, std::string_view text, bool hasSelection, char key)
{
    const ColumnSpec spec = ColumnOf(kind, col);
    if (spec.Kind == ColumnKind::Fixed)
        return false;
    if (static_cast<int>(text.size()) >= spec.MaxLength && !hasSelection)
        return false;
    switch (spec.Kind) {
    case ColumnKind::Name:
        return true;
    case ColumnKind::Number:
        return IsNumberChar(text, key);
    default:
        return IsDigitChar(key);
    }
}

std::optional<std::string> CommittedText(GridKind kind, int col, std::string_view text)
{
    const ColumnSpec spec = ColumnOf(kind, col);
    if (static_cast<int>(text.size()) > spec.MaxLength)
        return std::nullopt;
    if (text.empty())
        return ColumnDefault(kind, col);
    switch (spec.Kind) {
    case ColumnKind::Fixed:
    case ColumnKind::Name:
    case ColumnKind::Digits:
        return std::string(text);
    case ColumnKind::Number: {
        auto value = ParseReal(text);
        if (!value)
            return std::nullopt;
        if (spec.HasUpperBound && (spec.Absolute ? std::fabs(*value) : *value) > spec.Upper)
            return std::nullopt;
        return FormatFixed(*value, spec.Decimals);
    }
    case ColumnKind::Integer: {
        auto value = ParseInt64(text);
        if (!value)
            return std::nullopt;
        if (spec.HasRange && (*value < spec.Low || *value > spec.High))
            return std::nullopt;
        return std::to_string(*value);
    }
    }
    return std::nullopt;
}

bool CommitCell(GridKind kind, CellTable& table, int col, int row)
{
    auto text = CommittedText(kind, col, table.Cell(col, row));
    if (!text)
        return false;
    table.SetCell(col, row, std::move(*text));
    return true;
}

} // namespace plu
