#include "link/DataRangeUpload.h"

#include "link/SessionSteps.h"
#include "shell/AtomicFile.h"

#include <cstdio>
#include <fstream>

namespace plu {
namespace {

constexpr std::uint8_t kPageOpcode = 14;
constexpr std::uint16_t kPageAddress = 16;

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::optional<DataRange> ParseDataRange(const std::string& baseText, const std::string& countText, MemoryKind memory)
{
    const std::string base = Trimmed(baseText);
    const std::string count = Trimmed(countText);
    if (base.empty() || base.size() > static_cast<std::size_t>(kBaseAddressDigits) || count.empty() || count.size() > 6)
        return std::nullopt;
    std::uint32_t baseValue = 0;
    for (char c : base) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            return std::nullopt;
        baseValue = baseValue * 16 + static_cast<std::uint32_t>(digit);
    }
    std::uint32_t countValue = 0;
    for (char c : count) {
        if (c < '0' || c > '9')
            return std::nullopt;
        countValue = countValue * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (baseValue + countValue > kPageCount)
        return std::nullopt;
    return DataRange{static_cast<std::uint16_t>(baseValue), static_cast<int>(countValue), memory};
}

std::array<std::string, kPageBytes / kListingLineBytes> ListingLines(std::uint32_t firstAddress,
                                                                    std::span<const std::uint8_t, kPageBytes> page)
{
    std::array<std::string, kPageBytes / kListingLineBytes> lines;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        char item[16];
        std::snprintf(item, sizeof item, "%8.8x  ", static_cast<unsigned>(firstAddress + row * kListingLineBytes));
        std::string line = item;
        const auto bytes = page.subspan(row * kListingLineBytes, kListingLineBytes);
        for (std::uint8_t byte : bytes) {
            std::snprintf(item, sizeof item, "%2.2x ", static_cast<unsigned>(byte));
            line += item;
        }
        for (std::uint8_t byte : bytes)
            line += byte < 0x20 ? '.' : static_cast<char>(byte);
        lines[row] = std::move(line);
    }
    return lines;
}

std::filesystem::path TempBinPath(const ProgramDirs& dirs) { return dirs.ExeDir / "TEMP.BIN"; }
std::filesystem::path TempLogPath(const ProgramDirs& dirs) { return dirs.ExeDir / "TEMP.LOG"; }

bool UploadDataRange(AppContext& context, TKodoIBusComm& link, UserInterface& ui, const DataRange& range)
{
    const Texts& texts = context.UiTexts;
    switch (StartSession(context, link, ui)) {
    case SessionStart::PortNotOpened:
        return false;
    case SessionStart::ConnectFailed:
        link.Disconnect(kRegisterId, kDisconnectModeAbandon);
        EndWithError(link, ui, Failed(texts.Connect));
        return false;
    case SessionStart::Connected:
        break;
    }

    ui.SetStatus(false, Running(kReceiveDataStep));
    ui.SetTotal(range.PackageCount);
    // A TEMP.BIN that cannot be created does not stop the command: the pages are
    // then only listed.
    std::ofstream bin(TempBinPath(context.Dirs), std::ios::binary | std::ios::trunc);
    std::string listing;
    for (int k = 0; k < range.PackageCount; ++k) {
        ui.SetCurrent(k + 1);
        const std::uint32_t page = range.BaseAddress + static_cast<std::uint32_t>(k);
        link.DataBuffer.fill(0);
        link.DataBuffer[0] = static_cast<std::uint8_t>(page & 0xFF);
        link.DataBuffer[1] = static_cast<std::uint8_t>((page >> 8) & 0xFF);
        link.DataBuffer[2] = MemorySelector(range.Memory);
        if (!link.ReadBlock(kPageOpcode, kPageAddress)) {
            bin.close(); // keeps the pages read so far
            link.Disconnect(kRegisterId, 1);
            EndWithError(link, ui, Failed(kReceiveDataStep));
            return false;
        }
        const std::span<const std::uint8_t, kPageBytes> content(link.DataBuffer.data(), kPageBytes);
        if (bin.is_open()) {
            bin.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
            bin.flush();
        }
        for (const auto& line : ListingLines(page * kPageBytes, content)) {
            listing += line;
            listing += "\r\n";
        }
    }
    bin.close();

    ui.SetStatus(false, Running(texts.Disconnect));
    if (!link.Disconnect(kRegisterId, 0)) {
        EndWithError(link, ui, Failed(texts.Disconnect));
        return false;
    }
    ui.CloseProgress();
    link.ClosePort();
    std::string error;
    if (!WriteFileAtomically(TempLogPath(context.Dirs), listing, error)) {
        ui.ShowMessage(MessageKind::Error, std::string(kTempLogNotWrittenText) + "\n" + error);
        return false;
    }
    return true;
}

} // namespace plu
