// plumctl download and upload: the Download and Upload commands of the window,
// on the item file set named by --items.
#include "app/ctl/Ctl.h"
#include "items/ItemColumns.h"
#include "items/ItemFiles.h"
#include "items/ItemTableOps.h"
#include "transfer/ItemTableChecks.h"
#include "transfer/TransferCommands.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace plu::ctl {
namespace {

struct KindName {
    const char* Name;
    TransferKind Kind;
};
constexpr KindName kKindNames[] = {
    {"plu", kKindPlu}, {"department", kKindDepartment}, {"recycling", kKindRecycling}, {"parameters", kKindParameters}};

bool ParseKind(const std::string& text, bool allowParameters, std::uint8_t& kinds)
{
    for (const auto& k : kKindNames) {
        if (text == k.Name && (allowParameters || k.Kind != kKindParameters)) {
            kinds |= k.Kind;
            return true;
        }
    }
    return false;
}

// --from and --to, 1..3000 with from <= to.
bool TakeRange(Env& env, TransferRequest& request, int& usage)
{
    std::string text;
    long long value = 0;
    if (TakeOption(env.Args, "--from", text)) {
        if (!ParseIntArg(text, kFirstPlu, kLastPlu, value)) {
            usage = UsageError(kInvalidPluRangeText);
            return false;
        }
        request.From = static_cast<int>(value);
    }
    if (TakeOption(env.Args, "--to", text)) {
        if (!ParseIntArg(text, kFirstPlu, kLastPlu, value)) {
            usage = UsageError(kInvalidPluRangeText);
            return false;
        }
        request.To = static_cast<int>(value);
    }
    if (!IsValidPluRange(request.From, request.To)) {
        usage = UsageError(kInvalidPluRangeText);
        return false;
    }
    return true;
}

// The tables as the window starts them, then the set read as Open reads it.
bool LoadTables(ItemTables& tables, const std::string& file)
{
    ClearGrid(GridKind::Plu, tables.Plu);
    ClearGrid(GridKind::Dept, tables.Dept);
    ResetRecyTable(tables.RecyTable);
    if (file.empty())
        return true;
    std::string error;
    if (!ReadItemFileSet(tables, std::filesystem::absolute(file), error)) {
        std::fprintf(stderr, "Cannot read %s\n", error.c_str());
        return false;
    }
    tables.CurrentFileName = std::filesystem::absolute(file).string();
    tables.Modified = false;
    return true;
}

int RunDownloadCommand(Env& env)
{
    std::string file;
    TakeOption(env.Args, "--items", file);
    TransferRequest request;
    int usage = 0;
    if (!TakeRange(env, request, usage))
        return usage;
    if (env.Args.size() != 1 || !ParseKind(env.Args[0], true, request.Kinds))
        return UsageError("download takes one kind: plu, department, recycling or parameters");
    ItemTables tables;
    if (!LoadTables(tables, file))
        return kExitFailed;
    TransferContext ctx = MakeTransferContext(env.Context, env.Ui, env.Link(), tables);
    return env.Result(RunDownload(ctx, request));
}

int RunUploadCommand(Env& env)
{
    std::string file;
    if (!TakeOption(env.Args, "--items", file))
        return UsageError("upload needs --items FILE");
    TransferRequest request;
    int usage = 0;
    if (!TakeRange(env, request, usage))
        return usage;
    if (env.Args.size() != 1)
        return UsageError("upload takes a comma list of kinds: plu, department, recycling");
    std::stringstream list(env.Args[0]);
    std::string item;
    while (std::getline(list, item, ',')) {
        if (!ParseKind(item, false, request.Kinds))
            return UsageError("unknown kind '" + item + "': upload moves plu, department and recycling");
    }
    if (request.Kinds == 0)
        return UsageError("upload takes a comma list of kinds: plu, department, recycling");

    ItemTables tables;
    const bool exists = std::filesystem::exists(file);
    if (!LoadTables(tables, exists ? file : std::string()))
        return kExitFailed;
    TransferContext ctx = MakeTransferContext(env.Context, env.Ui, env.Link(), tables);
    if (!RunUpload(ctx, request))
        return env.Result(false);
    std::string error;
    if (!WriteItemFileSet(tables, std::filesystem::absolute(file), error)) {
        std::fprintf(stderr, "Cannot write %s\n", error.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

PLUMCTL_COMMAND("download", "plu|department|recycling|parameters [--items FILE] [--from N] [--to M]",
                RunDownloadCommand);
PLUMCTL_COMMAND("upload", "KINDS --items FILE [--from N] [--to M]   (KINDS: comma list of plu,department,recycling)",
                RunUploadCommand);

} // namespace plu::ctl
