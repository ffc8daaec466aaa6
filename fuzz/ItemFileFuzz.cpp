// Item file contents as they may come from disk: any bytes into the PLU,
// department and recycling readers, then written back out.
#include "items/ItemFiles.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    plu::ItemTables tables;
    plu::ParseGridFile(content, tables.Plu);
    plu::ParseGridFile(content, tables.Dept);
    plu::ParseRecyFile(content, tables.RecyTable);
    (void)plu::FormatGridFile(tables.Plu);
    (void)plu::FormatRecyFile(tables.RecyTable);
    return 0;
}
