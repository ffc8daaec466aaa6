#include "shell/Locale.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <langinfo.h>
#include <locale.h>

namespace plu {
namespace {

std::atomic<char> g_separator{'.'};

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

char DecimalSeparator() { return g_separator.load(std::memory_order_relaxed); }

void SetDecimalSeparator(char separator) { g_separator.store(separator, std::memory_order_relaxed); }

void InitDecimalSeparatorFromLocale()
{
    locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (numeric == static_cast<locale_t>(0))
        return;
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    // A multi-byte separator cannot stand in single-byte cell texts; keep '.'.
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0')
        SetDecimalSeparator(radix[0]);
    freelocale(numeric);
}

std::string FormatFixed(double value, int decimals)
{
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return {};
    std::string text(buffer, result.ptr);
    // A tiny negative value rounds to zero; show it as 0.00, not -0.00.
    if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);
    const char separator = DecimalSeparator();
    if (separator != '.') {
        auto dot = text.find('.');
        if (dot != std::string::npos)
            text[dot] = separator;
    }
    return text;
}

std::optional<double> ParseReal(std::string_view text)
{
    text = Trim(text);
    if (text.empty())
        return std::nullopt;
    const char separator = DecimalSeparator();
    std::string normal;
    normal.reserve(text.size());
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-')
        normal.push_back(text[i++]);
    bool digits = false;
    bool seenSeparator = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            normal.push_back(c);
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
            normal.push_back('.');
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            normal.push_back(text[i++]);
        bool expDigits = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            expDigits = true;
            normal.push_back(text[i]);
        }
        if (!expDigits)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const char* first = normal.data();
    if (*first == '+')
        ++first;
    double value = 0;
    auto result = std::from_chars(first, normal.data() + normal.size(), value);
    if (result.ec != std::errc() || result.ptr != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> ParseInt64(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace plu
