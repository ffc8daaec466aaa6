#pragma once
// Number texts with the user's decimal separator.
//
// Every number the program shows, stores in item files or parses from the user
// uses one decimal separator, read once from LC_NUMERIC at start-up. The
// conversions here never depend on the C library's global locale (Qt changes
// it), so they behave the same in plumanager, plumctl and the tests.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plu {

// The separator in force ('.' until InitDecimalSeparatorFromLocale or a test sets it).
char DecimalSeparator();
void SetDecimalSeparator(char separator);
// Reads the separator of the user's LC_NUMERIC locale without changing the global locale.
void InitDecimalSeparatorFromLocale();

// value formatted like printf("%.<decimals>f") with the separator in force.
std::string FormatFixed(double value, int decimals);

// A real written with the separator in force: optional blanks, an optional sign,
// digits with at most one separator, an optional exponent, optional blanks.
// Empty or anything else gives nullopt.
std::optional<double> ParseReal(std::string_view text);
// A signed decimal 64-bit integer (blanks around it allowed); overflow gives nullopt.
std::optional<std::int64_t> ParseInt64(std::string_view text);

// Restores the previous separator at scope end; for tests that run under both.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(char separator) : m_previous(DecimalSeparator()) { SetDecimalSeparator(separator); }
    ~ScopedDecimalSeparator() { SetDecimalSeparator(m_previous); }
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    char m_previous;
};

} // namespace plu
