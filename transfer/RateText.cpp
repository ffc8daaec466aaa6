#include "transfer/RateText.h"

#include "shell/Locale.h"

namespace plu {

std::string RateTextForEdit(std::string_view stored)
{
    const auto value = ParseReal(stored);
    if (!value || *value < 0 || *value >= 99.995)
        return std::string(stored);
    std::string text = FormatFixed(*value, 2);
    if (text.size() == 4) // one digit before the separator
        text.insert(text.begin(), '0');
    return text;
}

} // namespace plu
