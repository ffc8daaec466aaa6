#pragma once
// Rate texts of the parameter dialog. Its edits hold exactly two digits, the
// decimal separator and two digits; a text put into them is taken character by
// character, so "5.5" written by hand into SYSTEM.CFG would read as 50.50 and be
// saved back that way. Rates are therefore brought into that form first.
#include <string>
#include <string_view>

namespace plu {

// A number from 0 up to (not including) 100 as "dd" + separator + "dd" (5.5 ->
// "05.50"); any other text is returned as it is.
std::string RateTextForEdit(std::string_view stored);

} // namespace plu
