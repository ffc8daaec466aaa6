#include "shell/CodePage.h"

#include <iconv.h>

namespace plu {
namespace {

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one code point at text[i], advancing i; nullopt on malformed input.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size())
        return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

} // namespace

CodePage::CodePage(const std::string& name)
{
    if (!Load(name))
        Load(kDefaultCodePage);
}

bool CodePage::Load(const std::string& name)
{
    iconv_t cd = iconv_open("UTF-32LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    m_toByte.clear();
    std::array<bool, 256> defined{};
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inPtr = &in;
        std::size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        // Exactly one code point from one byte: anything else (undefined bytes,
        // lead bytes of a multi-byte page) stays undefined.
        if (done != static_cast<std::size_t>(-1) && inLeft == 0 && sizeof out - outLeft == 4) {
            m_toUnicode[b] = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
            if (m_toByte.try_emplace(m_toUnicode[b], static_cast<unsigned char>(b)).second)
                defined[b] = true;
        }
    }
    iconv_close(cd);
    for (int b = 0; b < 256; ++b) {
        if (defined[b])
            continue;
        m_toUnicode[b] = static_cast<char32_t>(b);
        m_toByte.try_emplace(static_cast<char32_t>(b), static_cast<unsigned char>(b));
    }
    m_name = name;
    return true;
}

std::string CodePage::ToUtf8(std::string_view bytes) const
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        AppendUtf8(out, m_toUnicode[static_cast<unsigned char>(c)]);
    return out;
}

std::optional<char> CodePage::ByteOf(char32_t codePoint) const
{
    auto it = m_toByte.find(codePoint);
    if (it == m_toByte.end())
        return std::nullopt;
    return static_cast<char>(it->second);
}

std::optional<std::string> CodePage::FromUtf8(std::string_view utf8) const
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto cp = NextCodePoint(utf8, i);
        if (!cp)
            return std::nullopt;
        auto byte = ByteOf(*cp);
        if (!byte)
            return std::nullopt;
        out.push_back(*byte);
    }
    return out;
}

} // namespace plu
