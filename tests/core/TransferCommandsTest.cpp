// Download and Upload against the simulated register over a pseudo-terminal.
#include "tests/core/TestFiles.h"
#include "TransferFixture.h"

#include "shell/IniFile.h"
#include "shell/Locale.h"
#include "transfer/ItemTableChecks.h"
#include "transfer/TransferCommands.h"

#include <fstream>
#include <sstream>

namespace plu::test {
namespace {

using test::Bytes;
using test::B;
using test::operator+;

Bytes Padded(Bytes b, std::size_t size = 256)
{
    b.resize(size, 0);
    return b;
}
std::string L(std::string text)
{
    for (auto& c : text)
        if (c == '.')
            c = DecimalSeparator();
    return text;
}

void SetPluCells(CellTable& t, int r, const std::string& name, const std::string& dept, const std::string& price,
                 const std::string& barcode, const std::string& flag = "0", const std::string& stocks = "0.000")
{
    t.SetCell(1, r, name);
    t.SetCell(2, r, dept);
    t.SetCell(3, r, L(price));
    t.SetCell(4, r, barcode);
    t.SetCell(5, r, flag);
    t.SetCell(6, r, L(stocks));
}

void SetDeptCells(CellTable& t, int d, const std::string& name, const std::string& limitation, const std::string& tax,
                  const std::string& flag, const std::string& price)
{
    t.SetCell(1, d, name);
    t.SetCell(2, d, limitation);
    t.SetCell(3, d, tax);
    t.SetCell(4, d, flag);
    t.SetCell(5, d, L(price));
}

TransferRequest Kinds(std::uint8_t kinds, int from = 1, int to = 3000) { return {kinds, from, to}; }

class TransferCommands : public TransferFixture {
protected:
    // PLUs 1..3 alike in the register and the table.
    void SeedThreePlus()
    {
        Sim.WithState([](sim::RegisterState& s) {
            sim::SetPlu(s, 1, {"A", 1, 100, 11});
            sim::SetPlu(s, 2, {"B", 2, 200, 22});
            sim::SetPlu(s, 3, {"C", 1, 300, 33});
            return 0;
        });
        SetPluCells(Tables.Plu, 1, "A", "1", "1.00", "11");
        SetPluCells(Tables.Plu, 2, "B", "2", "2.00", "22");
        SetPluCells(Tables.Plu, 3, "C", "1", "3.00", "33");
    }
    std::vector<int> WriteCounts(std::uint8_t opcode, std::uint16_t address)
    {
        std::vector<int> counts;
        for (const auto& m : Messages(opcode, address))
            counts.push_back(m.Message[kPayloadOffset]);
        return counts;
    }
};

TEST_F(TransferCommands, ChangedPluGoesWithItsNote)
{
    for (char separator : {'.', ','}) {
        ScopedDecimalSeparator scoped(separator);
        Sim.ClearReceived();
        SeedThreePlus();
        Tables.Plu.SetCell(3, 3, L("3.50"));
        ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindPlu, 1, 3)));

        const auto fetches = Messages(14, 3);
        ASSERT_EQ(fetches.size(), 1u);
        EXPECT_EQ(PayloadOf(fetches[0]), Padded({3, 0, 0, 1, 0, 2, 0}));
        const auto writes = Messages(14, 5);
        ASSERT_EQ(writes.size(), 1u);
        const Bytes expected = Bytes{1} + Bytes{0x02, 0x00} + B("C           ") + Bytes{0x01, 0x00, 0x00, 0x03, 0x50}
                               + Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x33, 0x00}
                               + B("PC0003---ZMIANA---0001--")
                               + B("C           0") + B(L("     3.00")) + B(" 1") + B("0000000000033")
                               + B("C           0") + B(L("     3.50")) + B(" 1") + B("0000000000033");
        EXPECT_EQ(PayloadOf(writes[0]), Padded(expected));
        EXPECT_EQ(DisconnectModes(), std::vector<int>{2});
        EXPECT_TRUE(HasStatus("Upload PLU..."));
        EXPECT_TRUE(HasStatus("Download PLU..."));
        Sim.WithState([](sim::RegisterState& s) {
            auto record = sim::PluRecord(s, 3);
            EXPECT_EQ(Bytes(record.begin() + 13, record.begin() + 17), (Bytes{0x00, 0x00, 0x03, 0x50}));
            return 0;
        });
    }
}

TEST_F(TransferCommands, ChangedPlusTravelTwoPerBlock)
{
    struct Case {
        std::vector<int> changed;
        std::vector<int> counts;
        std::vector<int> modes;
    };
    const Case cases[] = {
        {{}, {}, {3}},          // nothing differs: no write, the mode says PLUs were chosen
        {{3}, {1}, {2}},        // only the last differs: one block after it
        {{1, 2, 3}, {2, 1}, {2}},
        {{1, 3}, {2}, {2}},
    };
    for (const auto& c : cases) {
        Sim.ClearReceived();
        SeedThreePlus();
        for (int r : c.changed)
            Tables.Plu.SetCell(1, r, "NEW" + std::to_string(r));
        ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindPlu, 1, 3)));
        EXPECT_EQ(WriteCounts(14, 5), c.counts) << c.changed.size();
        EXPECT_EQ(DisconnectModes(), c.modes);
    }
}

TEST_F(TransferCommands, PlusWithStockAreWrittenEightPerBlock)
{
    sim::SimStatus status;
    status.PluHasStock = true;
    SetStatus(status);
    for (int r = 1; r <= 9; ++r)
        SetPluCells(Tables.Plu, r, "P" + std::to_string(r), "3", std::to_string(r) + ".00", std::to_string(100 + r), "0",
                    r == 1 ? "-2.500" : std::to_string(r) + ".000");
    ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindPlu, 1, 9)));
    EXPECT_TRUE(Messages(14, 3).empty());
    EXPECT_EQ(WriteCounts(14, 8), (std::vector<int>{8, 1}));

    Bytes expected{8};
    for (int r = 1; r <= 8; ++r) {
        const auto d = static_cast<std::uint8_t>(r);
        expected = expected + Bytes{static_cast<std::uint8_t>(r - 1), 0x00} + B("P" + std::to_string(r) + "          ")
                   + Bytes{0x03, 0x00, 0x00, d, 0x00} + Bytes{0, 0, 0, 0, 0, 0x01, d} + Bytes{0x00}
                   + (r == 1 ? Bytes{0x80, 0x00, 0x25, 0x00} : Bytes{0x00, 0x00, static_cast<std::uint8_t>(d << 4), 0x00});
    }
    EXPECT_EQ(PayloadOf(Messages(14, 8)[0]), Padded(expected));
    const Bytes second = Bytes{1, 0x08, 0x00} + B("P9          ") + Bytes{0x03, 0x00, 0x00, 0x09, 0x00}
                         + Bytes{0, 0, 0, 0, 0, 0x01, 0x09, 0x00, 0x00, 0x00, 0x90, 0x00};
    EXPECT_EQ(PayloadOf(Messages(14, 8)[1]), Padded(second));
    EXPECT_EQ(DisconnectModes(), std::vector<int>{3});
}

TEST_F(TransferCommands, ChangedDepartmentCarriesItsCounterTwice)
{
    sim::SimStatus status;
    status.DeptCounters[2] = 7;
    SetStatus(status);
    Sim.WithState([](sim::RegisterState& s) {
        for (int d = 1; d <= 8; ++d)
            sim::SetDepartment(s, d, {});
        sim::SetDepartment(s, 3, {"BREAD", 0, 1, 0, 250});
        return 0;
    });
    SetDeptCells(Tables.Dept, 3, "BREAD", "0", "2", "0", "2.50");
    ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindDepartment)));

    const auto writes = Messages(14, 7);
    ASSERT_EQ(writes.size(), 1u);
    Bytes expected = Bytes{1, 0x02} + B("BREAD       ") + Bytes{0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x50}
                     + B("GRUPA 3--ZMIANA---0008--")
                     + B("BREAD                   ") + B("     2.50 0A0           ")
                     + B("BREAD                   ") + B("     2.50 0B0           ");
    expected = Padded(expected);
    expected[141] = 0x08;
    expected[217] = 0x08;
    EXPECT_EQ(PayloadOf(writes[0]), expected);
    EXPECT_EQ(DisconnectModes(), std::vector<int>{2});
    EXPECT_EQ(Sim.WithState([](sim::RegisterState& s) { return sim::DeptCounterOf(s, 3); }), 8);

    // Nothing differs any more: no write, and the mode still tells departments were chosen.
    Sim.ClearReceived();
    ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindDepartment)));
    EXPECT_TRUE(Messages(14, 7).empty());
    EXPECT_EQ(DisconnectModes(), std::vector<int>{3});
}

TEST_F(TransferCommands, RecyclingAndParametersDisconnectWithModeZero)
{
    Tables.RecyTable[0] = {"2", "0.50", "77"};
    ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindRecycling)));
    const auto writes = Messages(4, 0).size() + Messages(4, 1).size() + Messages(4, 2).size() + Messages(4, 3).size() +
                        Messages(4, 4).size();
    EXPECT_EQ(writes, 5u);
    const Bytes first = Padded(Bytes(23, 0) + Bytes(12, 0) + Bytes{0, 0, 0, 0, 0, 0, 0x77, 0x00, 0x00, 0x00, 0x50});
    EXPECT_EQ(PayloadOf(Messages(4, 0)[0]), first);
    EXPECT_EQ(DisconnectModes(), std::vector<int>{0});

    Sim.ClearReceived();
    IniFile cfg(App.Dirs.SystemCfg());
    cfg.WriteString("Default", "Tax-free", "0");
    cfg.WriteString("Default", "VAT2", "12.50");
    ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindParameters)));
    ASSERT_EQ(Messages(1, 0).size(), 1u);
    EXPECT_EQ(PayloadOf(Messages(1, 0)[0])[177], 1);
    EXPECT_TRUE(HasStatus("Download parameters..."));
    EXPECT_EQ(DisconnectModes(), std::vector<int>{0});
    // The register now reports B at 12.50 in slot 1, A tax-free.
    Sim.WithState([](sim::RegisterState& s) {
        EXPECT_EQ(s.StatusBlock[5], 0x12);
        EXPECT_EQ(s.StatusBlock[6], 0x50);
        EXPECT_EQ(s.StatusBlock[37], 1);
        return 0;
    });
}

TEST_F(TransferCommands, DownloadThenUploadGivesTheSameTables)
{
    for (bool stock : {false, true}) {
        for (char separator : {'.', ','}) {
            ScopedDecimalSeparator scoped(separator);
            sim::SimStatus status;
            status.PluHasStock = stock;
            SetStatus(status);
            ItemTables source;
            for (int r = 1; r <= 40; ++r)
                SetPluCells(source.Plu, r, "ITEM" + std::to_string(r), std::to_string(r % 8 + 1),
                            std::to_string(r) + ".25", std::to_string(5900000000000LL + r), std::to_string(r % 2),
                            stock ? "-" + std::to_string(r) + ".500" : "0.000");
            SetDeptCells(source.Dept, 1, "FOOD", "1", "1", "0", "1.50");
            SetDeptCells(source.Dept, 2, "DRINKS", "0", "3", "1", "0.99");
            source.RecyTable[0] = {"1", L("0.25"), "123"};
            source.RecyTable[1] = {"50", L("1.10"), "9999999999999"};
            Tables = source;
            ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindPlu, 1, 40)));
            ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindDepartment)));
            ASSERT_TRUE(RunDownload(*Ctx, Kinds(kKindRecycling)));

            Tables = ItemTables{};
            ASSERT_TRUE(RunUpload(*Ctx, Kinds(kKindPlu | kKindDepartment | kKindRecycling, 1, 40)));
            for (int r = 1; r <= 40; ++r)
                for (int c = 1; c <= 6; ++c)
                    EXPECT_EQ(Tables.Plu.Cell(c, r), source.Plu.Cell(c, r)) << "PLU " << r << " column " << c;
            EXPECT_EQ(Tables.Plu.Cell(1, 41), "");
            for (int d = 1; d <= 2; ++d)
                for (int c = 1; c <= 5; ++c)
                    EXPECT_EQ(Tables.Dept.Cell(c, d), source.Dept.Cell(c, d)) << "department " << d << " column " << c;
            EXPECT_EQ(Tables.Dept.Cell(1, 3), "");
            EXPECT_EQ(Tables.Dept.Cell(3, 3), "");   // tax 10 shows empty
            EXPECT_EQ(Tables.RecyTable[0].PackagePrice, L("0.25"));
            EXPECT_EQ(Tables.RecyTable[0].Barcode, "123");
            EXPECT_EQ(Tables.RecyTable[49].PackagePrice, L("1.10"));
            EXPECT_EQ(Tables.RecyTable[49].Barcode, "9999999999999");
            EXPECT_EQ(Tables.RecyTable[1].PluNumber, "2");
            EXPECT_EQ(Tables.RecyTable[1].PackagePrice, L("0.00"));
        }
    }
}

TEST_F(TransferCommands, DownloadRefusals)
{
    struct Case {
        bool pending;
        bool cleared;
        bool taxesPass;
        std::string error;
    };
    const Case cases[] = {
        {true, true, true, "Please print changes report!"},
        {true, false, true, "Please print changes report!"},   // pending is checked first
        {false, false, true, "ECR report don't clear!"},
        {false, true, false, "Invalid tax"},
    };
    for (const auto& c : cases) {
        Sim.ClearReceived();
        Ui.Statuses.clear();
        sim::SimStatus status;
        status.ChangesPending = c.pending;
        status.ReportCleared = c.cleared;
        SetStatus(status);
        Ctx->Checks.CheckDeptTaxes = [&] { return c.taxesPass; };
        EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindPlu | kKindDepartment)));
        EXPECT_EQ(ErrorTexts(), std::vector<std::string>{c.error});
        EXPECT_TRUE(Messages(14, 3).empty());
        EXPECT_TRUE(Messages(14, 6).empty());
        EXPECT_EQ(DisconnectModes(), (std::vector<int>{1, 1, 1, 1}));
        EXPECT_FALSE(Comm->IsActive());
    }

    // An upload looks at neither flag.
    Sim.ClearReceived();
    EXPECT_TRUE(RunUpload(*Ctx, Kinds(kKindDepartment)));
    EXPECT_EQ(DisconnectModes(), std::vector<int>{0});
}

TEST_F(TransferCommands, DownloadWithoutKindsStillChecksTheStatus)
{
    EXPECT_TRUE(RunDownload(*Ctx, Kinds(0)));
    EXPECT_EQ(Messages(0, 0).size(), 1u);
    EXPECT_EQ(DisconnectModes(), std::vector<int>{0});
    EXPECT_EQ(App.WorkStream.size(), 256u);
    EXPECT_EQ(App.EcrStatus.Decimals, 2);
    EXPECT_FALSE(App.EcrStatus.TaxInUse[4]);
    EXPECT_TRUE(App.EcrStatus.TaxInUse[3]);

    sim::SimStatus status;
    status.ChangesPending = true;
    SetStatus(status);
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(0)));
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Please print changes report!"});
}

TEST_F(TransferCommands, NameRepeatNeverOpensThePort)
{
    Ctx->Checks = ItemTableChecks(App, Tables, Ui);
    for (int r = 1; r <= 3000; ++r)
        Tables.Plu.SetCell(1, r, r == 5 || r == 9 ? "TWIN" : "");
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindPlu)));
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"PLU name repeat: No. 5 and No. 9"});
    EXPECT_TRUE(Ui.Statuses.empty());
    EXPECT_TRUE(Sim.Received().empty());
    EXPECT_FALSE(std::filesystem::exists(App.Dirs.DebugLog()));

    // The range is checked before anything else.
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindRecycling, 10, 9)));
    EXPECT_EQ(Ui.Messages.back(), "Invalid PLU range");
    EXPECT_TRUE(Sim.Received().empty());
}

TEST_F(TransferCommands, DepartmentTaxNotInUseIsRefused)
{
    Ctx->Checks = ItemTableChecks(App, Tables, Ui);
    SetDeptCells(Tables.Dept, 3, "SWEETS", "0", "4", "0", "1.00"); // D is not in use on the register
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindDepartment)));
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"Invalid tax: 4 at No.3"});
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Invalid tax"});
    EXPECT_TRUE(Messages(14, 6).empty());
    EXPECT_EQ(DisconnectModes(), (std::vector<int>{1, 1, 1, 1}));

    Sim.ClearReceived();
    Tables.Dept.SetCell(3, 3, "3");
    EXPECT_TRUE(RunDownload(*Ctx, Kinds(kKindDepartment)));
    EXPECT_EQ(Messages(14, 7).size(), 8u); // the register's departments were blank
}

TEST_F(TransferCommands, FailingPluStepStopsTheRecyclingStep)
{
    Impatient();
    Sim.SetHandler(14, 3, [](sim::RegisterState&, const LinkMessage&) { return sim::Reply::Nak(); });
    Tables.RecyTable[0].PluNumber = "untouched";
    EXPECT_FALSE(RunUpload(*Ctx, Kinds(kKindPlu | kKindRecycling, 1, 10)));
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Upload PLU...Error!"});
    EXPECT_FALSE(HasStatus("Upload recycling..."));
    EXPECT_TRUE(Messages(3, 0).empty());
    EXPECT_EQ(Tables.RecyTable[0].PluNumber, "untouched");
    EXPECT_EQ(DisconnectModes(), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_FALSE(Comm->IsActive());
}

TEST_F(TransferCommands, CancelEndsTheTransferSilently)
{
    for (int r = 1; r <= 100; ++r)
        SetPluCells(Tables.Plu, r, "X" + std::to_string(r), "1", "1.00", "1");
    CancelAt(5, "Download PLU...");
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindPlu, 1, 100)));
    EXPECT_TRUE(ErrorTexts().empty());
    EXPECT_EQ(Messages(14, 3).size(), 15u);   // every fetch went out first
    EXPECT_LE(Messages(14, 5).size(), 3u);
    EXPECT_EQ(DisconnectModes(), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_FALSE(Comm->IsActive());

    // Cancel in the fetch of an upload leaves the later rows as they were.
    Sim.ClearReceived();
    CancelAt(2, "Upload PLU...");
    Tables.Plu.SetCell(1, 100, "KEEP");
    EXPECT_FALSE(RunUpload(*Ctx, Kinds(kKindPlu, 1, 100)));
    EXPECT_TRUE(ErrorTexts().empty());
    EXPECT_EQ(Tables.Plu.Cell(1, 100), "KEEP");
    EXPECT_FALSE(Comm->IsActive());
}

TEST_F(TransferCommands, SilentRegisterMidTransfer)
{
    Impatient();
    for (int r = 1; r <= 30; ++r)
        SetPluCells(Tables.Plu, r, "X" + std::to_string(r), "1", "1.00", "1");
    sim::Faults faults;
    faults.SilentAfter = 8; // connect, identification, status, 5 fetches
    Sim.SetFaults(faults);
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindPlu, 1, 30)));
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Download PLU...Error!"});
    EXPECT_FALSE(Comm->IsActive());
    std::ifstream log(App.Dirs.DebugLog());
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find("Retry:1"), std::string::npos);
}

TEST_F(TransferCommands, FailedStatusReadClosesThePort)
{
    Impatient();
    sim::Faults faults;
    faults.SilentAfter = 2; // connect and identification only
    Sim.SetFaults(faults);
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindRecycling)));
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Check ecr status...Error!"});
    EXPECT_FALSE(Comm->IsActive());
    EXPECT_TRUE(App.WorkStream.empty());
    std::ifstream log(App.Dirs.DebugLog());
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find(">>>>>>Send data<<<<<<<<"), std::string::npos);
}

TEST_F(TransferCommands, FailedFinalDisconnect)
{
    Sim.SetHandler(14, 2, [](sim::RegisterState&, const LinkMessage&) { return sim::Reply::None(); });
    EXPECT_FALSE(RunDownload(*Ctx, Kinds(kKindRecycling)));
    EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Disconnect...Error!"});
    EXPECT_EQ(DisconnectModes(), (std::vector<int>{0, 0, 0}));   // no four-fold abort here
    EXPECT_EQ(Comm->DisconnectCode, 0);
    EXPECT_FALSE(Comm->IsActive());
}

} // namespace
} // namespace plu::test
