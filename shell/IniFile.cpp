#include "shell/IniFile.h"

#include "shell/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace plu {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// Splits text into lines at LF, CR LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A section line: "[name]" with blanks allowed around it; returns the trimmed name.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line)
{
    auto trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    auto key = Trim(line.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, line.substr(eq + 1)};
}

std::string CleanValue(std::string_view raw)
{
    auto value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > IniFile::kMaxValueLength)
        value = value.substr(0, IniFile::kMaxValueLength);
    return std::string(value);
}

std::optional<std::int64_t> ParseProfileInteger(std::string_view text)
{
    text = Trim(text);
    int base = 10;
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f')
            digit = Lower(c) - 'a' + 10;
        else
            return std::nullopt;
        if (value > (INT64_MAX - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

enum class LoadResult { Loaded, Missing, Failed };

LoadResult LoadFile(const std::filesystem::path& path, std::string& text, std::string& error)
{
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return LoadResult::Missing;
    if (!std::filesystem::is_regular_file(status)) {
        error = path.string() + ": not a regular file";
        return LoadResult::Failed;
    }
    auto size = std::filesystem::file_size(path, ec);
    if (ec || size > IniFile::kMaxFileBytes) {
        error = path.string() + ": file too large";
        return LoadResult::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path.string() + ": " + std::strerror(errno);
        return LoadResult::Failed;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = path.string() + ": read error";
        return LoadResult::Failed;
    }
    return LoadResult::Loaded;
}

} // namespace

IniText::IniText(std::string_view text)
{
    for (auto line : SplitLines(text)) {
        if (auto name = SectionName(line)) {
            m_sections.emplace_back(*name);
            continue;
        }
        if (m_sections.empty())
            continue; // keys before the first section belong to no section
        if (auto keyLine = ParseKeyLine(line))
            m_entries.push_back({m_sections.size() - 1, std::string(keyLine->key), CleanValue(keyLine->value)});
    }
}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const
{
    section = Trim(section);
    key = Trim(key);
    // Only the first section of that name is searched, as the profile functions do.
    auto found = std::find_if(m_sections.begin(), m_sections.end(),
                              [&](const std::string& name) { return SameName(name, section); });
    if (found == m_sections.end())
        return std::nullopt;
    const std::size_t index = static_cast<std::size_t>(found - m_sections.begin());
    for (const auto& entry : m_entries)
        if (entry.section == index && SameName(entry.key, key))
            return entry.value;
    return std::nullopt;
}

std::string ReadIniFileText(const std::filesystem::path& path)
{
    std::string text;
    std::string error;
    if (LoadFile(path, text, error) != LoadResult::Loaded)
        return {};
    return text;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const
{
    return IniText(ReadIniFileText(m_path)).Find(section, key);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    if (auto value = Find(section, key))
        return *value;
    return std::string(defaultValue);
}

std::int64_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int64_t defaultValue) const
{
    auto value = Find(section, key);
    if (!value)
        return defaultValue;
    return ParseProfileInteger(*value).value_or(defaultValue);
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    m_lastError.clear();
    std::string text;
    if (LoadFile(m_path, text, m_lastError) == LoadResult::Failed)
        return false;

    section = Trim(section);
    key = Trim(key);
    std::string newLine = std::string(key) + "=" + std::string(value);
    std::vector<std::string> lines;
    for (auto line : SplitLines(text))
        lines.emplace_back(line);

    // Find the first section of that name, its key, and the last key line in it.
    std::optional<std::size_t> sectionLine;
    std::optional<std::size_t> keyLine;
    std::size_t insertAt = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i]);
        if (name) {
            if (sectionLine)
                break;
            if (SameName(*name, section)) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (auto parsed = ParseKeyLine(lines[i])) {
            if (SameName(parsed->key, key)) {
                keyLine = i;
                break;
            }
            insertAt = i + 1;
        }
    }
    if (keyLine) {
        lines[*keyLine] = newLine;
    } else if (sectionLine) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
    } else {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(newLine);
    }

    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return WriteFileAtomically(m_path, out, m_lastError);
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value)
{
    return WriteString(section, key, std::to_string(value));
}

} // namespace plu
