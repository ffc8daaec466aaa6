#include "transfer/RecyclingRecord.h"

#include "shell/Locale.h"
#include "transfer/PackedFields.h"

#include <string>

namespace plu {

RecyclingWriteImage BuildRecyclingImage(const std::vector<TRecy>& table, int decimals)
{
    RecyclingWriteImage image{};
    for (const TRecy& entry : table) {
        const std::int64_t slot = TextToInt(entry.PluNumber, 0);
        if (slot < 1 || slot > kRecyEntries)
            continue;
        std::uint8_t* record = image.data() + kRecyWriteSize * static_cast<std::size_t>(slot - 1);
        const std::int64_t barcode = TextToInt(entry.Barcode, 0);
        PackBcd(barcode < 0 ? 0 : static_cast<std::uint64_t>(barcode), 13, record + 12);
        PackMoney(ToScaled(TextToReal(entry.PackagePrice, 0), decimals), record + 19);
    }
    return image;
}

void ApplyRecyclingImage(const std::uint8_t* image, std::vector<TRecy>& table, int decimals)
{
    if (table.size() < kRecyEntries)
        table.resize(kRecyEntries);
    for (int s = 1; s <= kRecyEntries; ++s) {
        const std::uint8_t* record = image + kRecyReadSize * static_cast<std::size_t>(s - 1);
        TRecy& entry = table[static_cast<std::size_t>(s - 1)];
        const double price = FromScaled(static_cast<std::int64_t>(UnpackBcd(record + 19, 8)), decimals);
        entry.PluNumber = std::to_string(s);
        entry.Barcode = std::to_string(UnpackBcd(record + 12, 13));
        entry.PackagePrice = FormatFixed(price, 2);
        entry.SoldQuantity = static_cast<std::int32_t>(UnpackBcd(record + 23, 4));
        entry.SoldTotal = entry.SoldQuantity * price;
        entry.ReturnedQuantity = static_cast<std::int32_t>(UnpackBcd(record + 25, 4));
        entry.ReturnedTotal = entry.ReturnedQuantity * price;
    }
}

} // namespace plu
