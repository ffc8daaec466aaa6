#pragma once
// Names are single bytes in the tables, the item files and on the link; the
// windows show and take them as Unicode through one single-byte code page
// (SYSTEM.CFG [Display] CodePage, default WINDOWS-1252).
//
// The 256 byte values are converted once through iconv at construction. A byte
// the code page leaves undefined is shown as the control character of the same
// number, so every byte survives being shown and edited back.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace plu {

inline constexpr const char* kDefaultCodePage = "WINDOWS-1252";

class CodePage {
public:
    // An unknown name falls back to WINDOWS-1252 (Name() tells which is in force).
    explicit CodePage(const std::string& name = kDefaultCodePage);

    const std::string& Name() const { return m_name; }

    // Single-byte text to UTF-8.
    std::string ToUtf8(std::string_view bytes) const;
    // UTF-8 to single bytes; nullopt when a character has no byte in the code
    // page (or the text is not valid UTF-8).
    std::optional<std::string> FromUtf8(std::string_view utf8) const;
    // One code point, nullopt when the code page cannot hold it.
    std::optional<char> ByteOf(char32_t codePoint) const;
    char32_t CodePointOf(unsigned char byte) const { return m_toUnicode[byte]; }

private:
    bool Load(const std::string& name);

    std::string m_name;
    std::array<char32_t, 256> m_toUnicode{};
    std::unordered_map<char32_t, unsigned char> m_toByte;
};

} // namespace plu
