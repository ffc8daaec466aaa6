#include "items/ItemFiles.h"

#include "items/ItemColumns.h"
#include "items/ItemTableOps.h"
#include "shell/AtomicFile.h"
#include "shell/Locale.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <unistd.h>

namespace plu {
namespace {

constexpr char kSeparator = '\t';
constexpr const char* kLineEnd = "\r\n";

// Calls onLine for each line of content (ended by LF or CR LF, the last one
// possibly unended) until it returns false.
template <typename OnLine>
void ForEachLine(std::string_view content, OnLine onLine)
{
    while (!content.empty()) {
        std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!onLine(line))
            return;
        if (end == std::string_view::npos)
            return;
        content.remove_prefix(end + 1);
    }
}

void AppendField(std::string& out, const std::string& text)
{
    for (char c : text)
        out.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
}

std::int32_t Int32Or0(const std::string& text)
{
    auto value = ParseInt64(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(*value);
}

std::string Reason(const std::filesystem::path& path, int err) { return path.string() + ": " + std::strerror(err); }

// The whole file, or nullopt when it does not exist; false with error when it
// exists but cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::optional<std::string>& content, std::string& error)
{
    content.reset();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        error = Reason(path, errno);
        return false;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = Reason(path, errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    content = std::move(text);
    return true;
}

} // namespace

std::vector<std::string> SplitFields(std::string_view line, char separator)
{
    std::vector<std::string> fields;
    for (;;) {
        std::size_t at = line.find(separator);
        fields.emplace_back(line.substr(0, at));
        if (at == std::string_view::npos)
            return fields;
        line.remove_prefix(at + 1);
    }
}

std::filesystem::path DeptFilePath(const std::filesystem::path& pluPath)
{
    return std::filesystem::path(pluPath).replace_extension(".DEP");
}

std::filesystem::path RecyFilePath(const std::filesystem::path& pluPath)
{
    return std::filesystem::path(pluPath).replace_extension(".RCY");
}

std::string FormatGridFile(const CellTable& table)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(table.RowCount()) * 64);
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(1, row).empty())
            continue;
        for (int col = 1; col < table.ColCount(); ++col) {
            if (col > 1)
                out.push_back(kSeparator);
            AppendField(out, table.Cell(col, row));
        }
        out += kLineEnd;
    }
    return out;
}

std::string FormatRecyFile(const std::vector<TRecy>& recyTable)
{
    std::string out;
    for (const TRecy& recy : recyTable) {
        AppendField(out, recy.PluNumber);
        out.push_back(kSeparator);
        AppendField(out, recy.PackagePrice);
        out.push_back(kSeparator);
        AppendField(out, recy.Barcode);
        out.push_back(kSeparator);
        out += std::to_string(recy.SoldQuantity);
        out.push_back(kSeparator);
        out += FormatFixed(recy.SoldTotal, 2);
        out.push_back(kSeparator);
        out += std::to_string(recy.ReturnedQuantity);
        out.push_back(kSeparator);
        out += FormatFixed(recy.ReturnedTotal, 2);
        out += kLineEnd;
    }
    return out;
}

void ParseGridFile(std::string_view content, CellTable& table)
{
    int row = 0;
    const int lastRow = table.RowCount() - 1;
    const int dataCols = table.ColCount() - 1;
    ForEachLine(content, [&](std::string_view line) {
        if (row >= lastRow)
            return false;
        ++row;
        const auto fields = SplitFields(line, kSeparator);
        const int count = std::min<int>(static_cast<int>(fields.size()), dataCols);
        for (int c = 1; c <= count; ++c)
            table.SetCell(c, row, fields[static_cast<std::size_t>(c - 1)]);
        return true;
    });
}

void ParseRecyFile(std::string_view content, std::vector<TRecy>& recyTable)
{
    std::size_t entry = 0;
    ForEachLine(content, [&](std::string_view line) {
        if (entry >= recyTable.size())
            return false;
        const auto fields = SplitFields(line, kSeparator);
        if (fields.size() < 3)
            return true;
        TRecy& recy = recyTable[entry++];
        recy.PluNumber = fields[0];
        recy.PackagePrice = fields[1];
        recy.Barcode = fields[2];
        if (fields.size() >= 7) {
            recy.SoldQuantity = Int32Or0(fields[3]);
            recy.SoldTotal = ParseReal(fields[4]).value_or(0.0);
            recy.ReturnedQuantity = Int32Or0(fields[5]);
            recy.ReturnedTotal = ParseReal(fields[6]).value_or(0.0);
        }
        return true;
    });
}

bool WriteItemFileSet(const ItemTables& tables, const std::filesystem::path& pluPath, std::string& error)
{
    return WriteFileAtomically(pluPath, FormatGridFile(tables.Plu), error)
        && WriteFileAtomically(DeptFilePath(pluPath), FormatGridFile(tables.Dept), error)
        && WriteFileAtomically(RecyFilePath(pluPath), FormatRecyFile(tables.RecyTable), error);
}

bool ReadItemFileSet(ItemTables& tables, const std::filesystem::path& pluPath, std::string& error)
{
    std::optional<std::string> plu, dept, recy;
    if (!ReadWholeFile(pluPath, plu, error))
        return false;
    if (!plu) {
        error = Reason(pluPath, ENOENT);
        return false;
    }
    if (!ReadWholeFile(DeptFilePath(pluPath), dept, error) || !ReadWholeFile(RecyFilePath(pluPath), recy, error))
        return false;
    ParseGridFile(*plu, tables.Plu);
    if (dept)
        ParseGridFile(*dept, tables.Dept);
    if (recy)
        ParseRecyFile(*recy, tables.RecyTable);
    return true;
}

bool LoadItemFileSet(ItemTables& tables, const std::filesystem::path& pluPath, std::string& error)
{
    ItemTables loaded;
    ClearGrid(GridKind::Plu, loaded.Plu);
    ClearGrid(GridKind::Dept, loaded.Dept);
    ResetRecyTable(loaded.RecyTable);
    if (!ReadItemFileSet(loaded, pluPath, error))
        return false;
    // Cell by cell, so the tables keep their change hooks.
    for (CellTable* table : {&tables.Plu, &tables.Dept}) {
        const CellTable& from = table == &tables.Plu ? loaded.Plu : loaded.Dept;
        for (int row = 0; row < from.RowCount() && row < table->RowCount(); ++row)
            for (int col = 0; col < from.ColCount() && col < table->ColCount(); ++col)
                table->SetCell(col, row, from.Cell(col, row));
    }
    tables.RecyTable = std::move(loaded.RecyTable);
    return true;
}

} // namespace plu
