#pragma once
// Reads and writes INI files (SYSTEM.CFG, the language file) by the classic
// profile-string rules: section and key names compare without regard to case,
// blanks around names and values are dropped, one pair of surrounding quotes is
// removed from a value, a value is cut at 2047 characters, and the first match
// wins. Writing keeps every other line as it was, creates the file, the section
// or the key as needed and ends lines with CR LF. Library INI parsers differ on
// these points (case-sensitive keys, escapes), so this one is our own.
//
// The file is opened, read or written and closed on every call; nothing is cached.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plu {

class IniFile {
public:
    static constexpr std::size_t kMaxValueLength = 2047;
    // Larger files are treated as unreadable: defaults on reading, refusal on writing.
    static constexpr std::uintmax_t kMaxFileBytes = 4u << 20;

    explicit IniFile(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path& Path() const { return m_path; }

    // The value, or nullopt when the file, the section or the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // A decimal value, or hexadecimal written 0x.. or $..; a missing key or a
    // value that is not a number gives the default.
    std::int64_t ReadInteger(std::string_view section, std::string_view key, std::int64_t defaultValue) const;

    // Writes key=value, replacing the file as a whole (temporary file, then rename),
    // so a failed write never leaves a damaged file. Returns false and sets
    // LastError() when the file cannot be read or written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, std::int64_t value);

    const std::string& LastError() const { return m_lastError; }

private:
    std::filesystem::path m_path;
    std::string m_lastError;
};

// Parses INI text held in memory; the language file reader uses it too.
class IniText {
public:
    explicit IniText(std::string_view text);
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::size_t section; // index into m_sections
        std::string key;
        std::string value;
    };
    std::vector<std::string> m_sections;
    std::vector<Entry> m_entries;
};

// Loads a file for IniText; a missing, unreadable or oversized file reads as empty.
std::string ReadIniFileText(const std::filesystem::path& path);

} // namespace plu
