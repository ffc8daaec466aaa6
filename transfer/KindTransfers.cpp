#include "transfer/KindTransfers.h"

#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/IniFile.h"
#include "shell/Texts.h"
#include "shell/UserInterface.h"
#include "transfer/DepartmentRecord.h"
#include "transfer/TEcrStatus.h"
#include "transfer/PackedFields.h"
#include "transfer/ParameterBlock.h"
#include "transfer/PluRecord.h"
#include "transfer/RecyclingRecord.h"
#include "transfer/TransferContext.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace plu {
namespace {

constexpr std::uint8_t kItemOpcode = 14;
constexpr std::uint16_t kPluFetchAddress = 3;
constexpr std::uint16_t kPluChangeAddress = 5;
constexpr std::uint16_t kPluPlainAddress = 8;
constexpr std::uint16_t kDeptFetchAddress = 6;
constexpr std::uint16_t kDeptChangeAddress = 7;
constexpr std::uint8_t kRecyWriteOpcode = 4;
constexpr std::uint8_t kRecyReadOpcode = 3;
constexpr std::uint8_t kParameterOpcode = 1;

constexpr int kPlainPerBlock = 8;
constexpr int kFetchPerRequest = 7;
constexpr int kFetchPerRequestWithStock = 6;
constexpr int kChangesPerBlock = 2;
constexpr std::size_t kChangeEntrySize = kPluWriteSize + kPluNoteSize;  // 125

constexpr std::int32_t kCodeChangesWritten = 2;

void ClearPayload(TKodoIBusComm& comm) { comm.DataBuffer.fill(0); }

// The fetch request for PLUs first..last: the count, then each number - 1, low byte first.
void PutPluNumbers(TKodoIBusComm& comm, int first, int last)
{
    ClearPayload(comm);
    const int count = last - first + 1;
    comm.DataBuffer[0] = static_cast<std::uint8_t>(count);
    for (int i = 0; i < count; ++i) {
        const auto number = static_cast<std::uint16_t>(first + i - 1);
        comm.DataBuffer[1 + 2 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(number & 0xFF);
        comm.DataBuffer[2 + 2 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(number >> 8);
    }
}

bool DownloadPluPlain(TransferContext& ctx, int from, int to)
{
    TKodoIBusComm& comm = ctx.Comm;
    const int decimals = ctx.Status().Decimals;
    const int blocks = BlockCount(to - from + 1, kPlainPerBlock);
    ctx.Ui.SetTotal(blocks);
    for (int b = 0; b < blocks; ++b) {
        ctx.Ui.SetCurrent(b + 1);
        ClearPayload(comm);
        const int first = from + kPlainPerBlock * b;
        const int last = std::min(to, first + kPlainPerBlock - 1);
        for (int f = first; f <= last; ++f) {
            const auto i = static_cast<std::size_t>(f - first);
            EncodePlu(ReadPluRow(ctx.Tables.Plu, f, decimals), true, &comm.DataBuffer[1 + kPluWriteSizeWithStock * i]);
        }
        comm.DataBuffer[0] = static_cast<std::uint8_t>(last - first + 1);
        if (!comm.WriteBlock(kItemOpcode, kPluPlainAddress))
            return false;
    }
    return true;
}

bool DownloadPluChanges(TransferContext& ctx, int from, int to)
{
    TKodoIBusComm& comm = ctx.Comm;
    UserInterface& ui = ctx.Ui;
    const int decimals = ctx.Status().Decimals;
    const std::string& kindName = ctx.App.UiTexts.DownloadKindNames[0];
    const int n = to - from + 1;

    ui.SetStatus(false, Running(ctx.App.UiTexts.Upload + kindName));
    const int groups = BlockCount(n, kFetchPerRequest);
    ui.SetTotal(groups);
    std::vector<PluRow> old(static_cast<std::size_t>(n));
    for (int g = 0; g < groups; ++g) {
        ui.SetCurrent(g + 1);
        const int first = from + kFetchPerRequest * g;
        const int last = std::min(to, first + kFetchPerRequest - 1);
        PutPluNumbers(comm, first, last);
        if (!comm.ReadBlock(kItemOpcode, kPluFetchAddress))
            return false;
        for (int f = first; f <= last; ++f) {
            const auto i = static_cast<std::size_t>(f - first);
            old[static_cast<std::size_t>(f - from)] = DecodePlu(&comm.DataBuffer[kPluReadSize * i], f, false);
        }
    }

    ui.SetStatus(false, Running(ctx.App.UiTexts.Download + kindName));
    ui.SetTotal(n);
    int k = 0;
    ClearPayload(comm);
    for (int f = from; f <= to; ++f) {
        ui.SetCurrent(f - from + 1);
        const PluRow row = ReadPluRow(ctx.Tables.Plu, f, decimals);
        const PluRow& registerRow = old[static_cast<std::size_t>(f - from)];
        if (!SamePlu(row, registerRow)) {
            std::uint8_t* entry = &comm.DataBuffer[1 + kChangeEntrySize * static_cast<std::size_t>(k)];
            EncodePlu(row, false, entry);
            PluChangeNote(row, registerRow, decimals, entry + kPluWriteSize);
            ++k;
            comm.DataBuffer[0] = static_cast<std::uint8_t>(k);
        }
        if (k == kChangesPerBlock || (k > 0 && f == to)) {
            if (!comm.WriteBlock(kItemOpcode, kPluChangeAddress))
                return false;
            k = 0;
            ClearPayload(comm);
            ctx.PendingDisconnectCode = kCodeChangesWritten;
        }
    }
    return true;
}

} // namespace

bool DownloadPlu(TransferContext& ctx, int from, int to)
{
    if (ctx.Status().PluHasStock)
        return DownloadPluPlain(ctx, from, to);
    return DownloadPluChanges(ctx, from, to);
}

bool UploadPlu(TransferContext& ctx, int from, int to)
{
    TKodoIBusComm& comm = ctx.Comm;
    const bool withStock = ctx.Status().PluHasStock;
    const int decimals = ctx.Status().Decimals;
    const int per = withStock ? kFetchPerRequestWithStock : kFetchPerRequest;
    const std::size_t stride = withStock ? kPluReadSizeWithStock : kPluReadSize;
    const int groups = BlockCount(to - from + 1, per);
    ctx.Ui.SetTotal(groups);
    for (int g = 0; g < groups; ++g) {
        ctx.Ui.SetCurrent(g + 1);
        const int first = from + per * g;
        const int last = std::min(to, first + per - 1);
        PutPluNumbers(comm, first, last);
        if (!comm.ReadBlock(kItemOpcode, kPluFetchAddress))
            return false;
        for (int f = first; f <= last; ++f) {
            const auto i = static_cast<std::size_t>(f - first);
            ShowPluRow(DecodePlu(&comm.DataBuffer[stride * i], f, withStock), ctx.Tables.Plu, f, decimals);
        }
    }
    return true;
}

bool DownloadDepartments(TransferContext& ctx)
{
    TKodoIBusComm& comm = ctx.Comm;
    const TEcrStatus& status = ctx.Status();
    ClearPayload(comm);
    if (!comm.ReadBlock(kItemOpcode, kDeptFetchAddress))
        return false;
    std::array<DepartmentRow, kDeptRows + 1> old{};
    for (int d = 1; d <= kDeptRows; ++d)
        old[static_cast<std::size_t>(d)] = DecodeDepartment(&comm.DataBuffer[kDeptReadSize * static_cast<std::size_t>(d - 1)], d);

    ctx.Ui.SetTotal(kDeptRows);
    for (int d = 1; d <= kDeptRows; ++d) {
        ctx.Ui.SetCurrent(d);
        const DepartmentRow row = ReadDepartmentRow(ctx.Tables.Dept, d, status.Decimals);
        const DepartmentRow& registerRow = old[static_cast<std::size_t>(d)];
        if (SameDepartment(row, registerRow))
            continue;
        ClearPayload(comm);
        comm.DataBuffer[0] = 1;
        EncodeDepartment(row, &comm.DataBuffer[1]);
        const int counter = DepartmentChangeCounter(row, registerRow, status);
        PackCounter(static_cast<std::uint32_t>(counter), &comm.DataBuffer[141]);
        PackCounter(static_cast<std::uint32_t>(counter), &comm.DataBuffer[217]);
        DepartmentChangeNote(row, registerRow, counter, status.Decimals, &comm.DataBuffer[21]);
        if (!comm.WriteBlock(kItemOpcode, kDeptChangeAddress))
            return false;
        ctx.PendingDisconnectCode = kCodeChangesWritten;
    }
    return true;
}

bool UploadDepartments(TransferContext& ctx)
{
    TKodoIBusComm& comm = ctx.Comm;
    ClearPayload(comm);
    if (!comm.ReadBlock(kItemOpcode, kDeptFetchAddress))
        return false;
    for (int d = 1; d <= kDeptRows; ++d) {
        ShowDepartmentRow(DecodeDepartment(&comm.DataBuffer[kDeptReadSize * static_cast<std::size_t>(d - 1)], d),
                          ctx.Tables.Dept, d, ctx.Status().Decimals);
    }
    return true;
}

bool DownloadRecycling(TransferContext& ctx)
{
    TKodoIBusComm& comm = ctx.Comm;
    const RecyclingWriteImage image = BuildRecyclingImage(ctx.Tables.RecyTable, ctx.Status().Decimals);
    ctx.Ui.SetTotal(static_cast<int>(kRecyWriteBlocks));
    for (std::size_t b = 0; b < kRecyWriteBlocks; ++b) {
        ctx.Ui.SetCurrent(static_cast<int>(b + 1));
        ClearPayload(comm);
        MoveBytes(comm.DataBuffer.data(), image.data() + kRecyBlockBytes * b, kRecyBlockBytes);
        if (!comm.WriteBlock(kRecyWriteOpcode, static_cast<std::uint16_t>(b)))
            return false;
    }
    return true;
}

bool UploadRecycling(TransferContext& ctx)
{
    TKodoIBusComm& comm = ctx.Comm;
    std::vector<std::uint8_t> image;
    image.reserve(kRecyReadImageSize);
    ctx.Ui.SetTotal(static_cast<int>(kRecyReadBlocks));
    for (std::size_t b = 0; b < kRecyReadBlocks; ++b) {
        ctx.Ui.SetCurrent(static_cast<int>(b + 1));
        ClearPayload(comm);
        if (!comm.ReadBlock(kRecyReadOpcode, static_cast<std::uint16_t>(b)))
            return false;
        image.insert(image.end(), comm.DataBuffer.begin(), comm.DataBuffer.begin() + kPayloadSize);
    }
    ApplyRecyclingImage(image.data(), ctx.Tables.RecyTable, ctx.Status().Decimals);
    return true;
}

bool DownloadParameters(TransferContext& ctx)
{
    const IniFile cfg(ctx.App.Dirs.SystemCfg());
    const auto block = BuildParameterBlock(LoadParameters(cfg));
    ClearPayload(ctx.Comm);
    MoveBytes(ctx.Comm.DataBuffer.data(), block.data(), block.size());
    return ctx.Comm.WriteBlock(kParameterOpcode, 0);
}

} // namespace plu
