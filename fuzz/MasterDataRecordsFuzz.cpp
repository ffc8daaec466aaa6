// Decodes arbitrary bytes as the register's status block and as PLU, department
// and recycling records, as the report views do with archived report files, and
// shows the results in tables.
#include "items/CellTable.h"
#include "transfer/DepartmentRecord.h"
#include "transfer/EcrStatus.h"
#include "transfer/PluRecord.h"
#include "transfer/RecyclingRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace plu;
    const auto status = ParseEcrStatus(std::span<const std::uint8_t>(data, size));
    const int decimals = status ? status->Decimals : (size > 0 ? data[0] : 0);

    static CellTable plu(kPluCols, kPluRows + 1);
    static CellTable dept(kDeptCols, kDeptRows + 1);
    const bool withStock = size > 39 && data[39] == 1;
    const std::size_t pluSize = withStock ? kPluReadSizeWithStock : kPluReadSize;
    for (std::size_t at = 0, r = 1; at + pluSize <= size && r <= kPluRows; at += pluSize, ++r)
        ShowPluRow(DecodePlu(data + at, static_cast<int>(r), withStock), plu, static_cast<int>(r), decimals);
    for (std::size_t at = 0, d = 1; at + kDeptReadSize <= size && d <= kDeptRows; at += kDeptReadSize, ++d)
        ShowDepartmentRow(DecodeDepartment(data + at, static_cast<int>(d)), dept, static_cast<int>(d), decimals);

    std::vector<std::uint8_t> image(kRecyReadImageSize, 0);
    std::copy(data, data + std::min(size, image.size()), image.begin());
    std::vector<TRecy> recy(kRecyEntries);
    ApplyRecyclingImage(image.data(), recy, decimals);
    return 0;
}
