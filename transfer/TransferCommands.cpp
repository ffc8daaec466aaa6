#include "transfer/TransferCommands.h"

#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/Texts.h"
#include "shell/UserInterface.h"
#include "transfer/EcrStatus.h"
#include "transfer/KindTransfers.h"
#include "link/SessionSteps.h"
#include "transfer/TransferContext.h"

#include <cassert>

namespace plu {
namespace {

constexpr std::int32_t kCodeItemsChosen = 3;

bool Chosen(const TransferRequest& request, TransferKind kind) { return (request.Kinds & kind) != 0; }

// OpenPort, the progress dialog, Connect and the status read. False when the
// command has to end; every message has been shown and the port is closed.
bool BeginSession(TransferContext& ctx)
{
    switch (StartSession(ctx.App, ctx.Comm, ctx.Ui)) {
    case SessionStart::PortNotOpened:
        return false;
    case SessionStart::ConnectFailed:
        AbortSession(ctx.Comm, ctx.Ui, Failed(ctx.App.UiTexts.Connect));
        return false;
    case SessionStart::Connected:
        break;
    }
    return ReadEcrStatus(ctx.Comm, ctx.Ui, ctx.App.WorkStream, ctx.Status());
}

bool EndSession(TransferContext& ctx)
{
    ctx.Ui.SetStatus(false, Running(ctx.App.UiTexts.Disconnect));
    ctx.Comm.DisconnectCode = ctx.PendingDisconnectCode;
    const bool ok = ctx.Comm.Disconnect(kRegisterId, kDisconnectModeOk);
    ctx.Comm.DisconnectCode = 0;
    if (!ok) {
        EndWithError(ctx.Comm, ctx.Ui, Failed(ctx.App.UiTexts.Disconnect));
        return false;
    }
    ctx.Ui.CloseProgress();
    ctx.Comm.ClosePort();
    return true;
}

bool RefuseRange(TransferContext& ctx, const TransferRequest& request)
{
    if (IsValidPluRange(request.From, request.To))
        return false;
    ctx.Ui.ShowMessage(MessageKind::Information, kInvalidPluRangeText);
    return true;
}

bool RunDownloadKind(TransferContext& ctx, int bit, const TransferRequest& request)
{
    switch (bit) {
    case 0: return DownloadPlu(ctx, request.From, request.To);
    case 1: return DownloadDepartments(ctx);
    case 2: return DownloadRecycling(ctx);
    case 3: return DownloadParameters(ctx);
    }
    return true;
}

bool RunUploadKind(TransferContext& ctx, int bit, const TransferRequest& request)
{
    switch (bit) {
    case 0: return UploadPlu(ctx, request.From, request.To);
    case 1: return UploadDepartments(ctx);
    case 2: return UploadRecycling(ctx);
    }
    return true; // parameters are never read back
}

} // namespace

bool IsValidPluRange(int from, int to) { return from >= kFirstPlu && to <= kLastPlu && from <= to; }

std::string DownloadKindName(const Texts& texts, int bit)
{
    if (bit >= 0 && bit < static_cast<int>(texts.DownloadKindNames.size()))
        return texts.DownloadKindNames[static_cast<std::size_t>(bit)];
    return kParametersKindName;
}

std::string UploadKindName(const Texts& texts, int bit)
{
    if (bit >= 0 && bit < static_cast<int>(texts.UploadKindNames.size()))
        return texts.UploadKindNames[static_cast<std::size_t>(bit)];
    return kParametersKindName;
}

bool RunDownload(TransferContext& ctx, const TransferRequest& request)
{
    if (RefuseRange(ctx, request))
        return false;
    // MakeTransferContext binds the checks; without them nothing may be sent.
    assert(ctx.Checks.CheckPluNames && ctx.Checks.CheckDeptNames && ctx.Checks.CheckDeptTaxes);
    ctx.PendingDisconnectCode = 0;
    if (Chosen(request, kKindPlu)) {
        ctx.PendingDisconnectCode = kCodeItemsChosen;
        if (!ctx.Checks.CheckPluNames || !ctx.Checks.CheckPluNames(request.From, request.To))
            return false;
    }
    if (Chosen(request, kKindDepartment)) {
        ctx.PendingDisconnectCode = kCodeItemsChosen;
        if (!ctx.Checks.CheckDeptNames || !ctx.Checks.CheckDeptNames())
            return false;
    }
    if (!BeginSession(ctx))
        return false;

    const TEcrStatus& status = ctx.Status();
    const Texts& texts = ctx.App.UiTexts;
    if (status.ChangesPending) {
        AbortSession(ctx.Comm, ctx.Ui, texts.ChangesPrinting);
        return false;
    }
    if (!status.ReportCleared) {
        AbortSession(ctx.Comm, ctx.Ui, texts.ReportNotClear);
        return false;
    }
    if (Chosen(request, kKindDepartment) && (!ctx.Checks.CheckDeptTaxes || !ctx.Checks.CheckDeptTaxes())) {
        AbortSession(ctx.Comm, ctx.Ui, kInvalidTaxText);
        return false;
    }

    for (int bit = 0; bit < kTransferKindCount; ++bit) {
        if ((request.Kinds & (1u << bit)) == 0)
            continue;
        const std::string step = texts.Download + DownloadKindName(texts, bit);
        ctx.Ui.SetStatus(false, Running(step));
        if (!RunDownloadKind(ctx, bit, request)) {
            AbortSession(ctx.Comm, ctx.Ui, Failed(step));
            return false;
        }
    }
    return EndSession(ctx);
}

bool RunUpload(TransferContext& ctx, const TransferRequest& request)
{
    if (RefuseRange(ctx, request))
        return false;
    ctx.PendingDisconnectCode = 0;
    if (!BeginSession(ctx))
        return false;
    const Texts& texts = ctx.App.UiTexts;
    for (int bit = 0; bit < kTransferKindCount; ++bit) {
        if ((request.Kinds & (1u << bit)) == 0)
            continue;
        const std::string step = texts.Upload + UploadKindName(texts, bit);
        ctx.Ui.SetStatus(false, Running(step));
        if (!RunUploadKind(ctx, bit, request)) {
            AbortSession(ctx.Comm, ctx.Ui, Failed(step));
            return false;
        }
    }
    return EndSession(ctx);
}

} // namespace plu
