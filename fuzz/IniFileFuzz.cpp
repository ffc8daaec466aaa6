// Parses arbitrary text as an INI file and looks up the keys the program reads.
#include "shell/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    plu::IniText ini(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const char* key : {"Port", "BaudRate", "CompanyName", "COM1", "Header1"})
        for (const char* section : {"Comm", "Version", "Ports", "Default"})
            (void)ini.Find(section, key);
    return 0;
}
