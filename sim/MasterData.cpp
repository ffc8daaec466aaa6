#include "sim/MasterData.h"

#include <algorithm>
#include <cstring>

namespace plu::sim {
namespace {

constexpr std::uint8_t kItemOpcode = 14;

using Payload = std::array<std::uint8_t, kPayloadSize>;

// The simulator packs with its own small routines, so its answers do not share
// the program's encoders they are meant to check.
void Bcd(std::uint64_t value, std::size_t bytes, std::uint8_t* out)
{
    for (std::size_t i = bytes; i-- > 0;) {
        out[i] = static_cast<std::uint8_t>(((value / 10) % 10) << 4 | (value % 10));
        value /= 100;
    }
}

std::span<const std::uint8_t> PayloadOf(const LinkMessage& message)
{
    return {message.data() + kPayloadOffset, kPayloadSize};
}

std::vector<std::uint8_t>& Blob(RegisterState& state, const char* name, std::size_t size)
{
    auto& blob = state.Blobs[name];
    if (blob.size() != size)
        blob.resize(size, 0);
    return blob;
}

bool HasStock(const RegisterState& state) { return state.StatusBlock[39] == 1; }

Reply FetchPlus(RegisterState& state, const LinkMessage& message)
{
    const auto request = PayloadOf(message);
    const bool stock = HasStock(state);
    const std::size_t stride = stock ? 38 : 34;
    const int count = request[0];
    if (count < 1 || count > (stock ? 6 : 7))
        return Reply::Nak();
    Payload answer{};
    for (int i = 0; i < count; ++i) {
        const int number = request[1 + 2 * i] | (request[2 + 2 * i] << 8);
        if (number >= kSimPlus)
            return Reply::Nak();
        auto record = PluRecord(state, number + 1);
        std::uint8_t* out = answer.data() + stride * static_cast<std::size_t>(i);
        std::memcpy(out, record.data(), 25);                 // name .. flag
        if (stock)
            std::memcpy(out + 25, record.data() + 25, 13);   // stock, quantity, total
        else
            std::memcpy(out + 25, record.data() + 29, 9);    // quantity, total
    }
    return Reply::Frame(answer);
}

// A write-form record (27 bytes, 31 with stock) into the stored PLU.
bool StorePlu(RegisterState& state, const std::uint8_t* in, bool withStock)
{
    const int number = in[0] | (in[1] << 8);
    if (number >= kSimPlus)
        return false;
    auto record = PluRecord(state, number + 1);
    std::memcpy(record.data(), in + 2, 25); // name, department, price, barcode, flag
    if (withStock)
        std::memcpy(record.data() + 25, in + 27, 4);
    return true;
}

Reply WritePlusPlain(RegisterState& state, const LinkMessage& message)
{
    const auto payload = PayloadOf(message);
    const int count = payload[0];
    if (!HasStock(state) || count < 1 || count > 8)
        return Reply::Nak();
    for (int i = 0; i < count; ++i) {
        if (!StorePlu(state, payload.data() + 1 + 31 * i, true))
            return Reply::Nak();
    }
    return Reply::Ack();
}

Reply WritePlusChanged(RegisterState& state, const LinkMessage& message)
{
    const auto payload = PayloadOf(message);
    const int count = payload[0];
    if (HasStock(state) || count < 1 || count > 2)
        return Reply::Nak();
    for (int i = 0; i < count; ++i) {
        if (!StorePlu(state, payload.data() + 1 + 125 * i, false))
            return Reply::Nak();
    }
    return Reply::Ack();
}

Reply FetchDepartments(RegisterState& state, const LinkMessage&)
{
    Payload answer{};
    for (int d = 1; d <= kSimDepartments; ++d) {
        auto record = DeptRecord(state, d);
        std::memcpy(answer.data() + kSimDeptRecord * static_cast<std::size_t>(d - 1), record.data(), kSimDeptRecord);
    }
    return Reply::Frame(answer);
}

Reply WriteDepartment(RegisterState& state, const LinkMessage& message)
{
    const auto payload = PayloadOf(message);
    const int number = payload[1] + 1;
    if (payload[0] != 1 || number > kSimDepartments)
        return Reply::Nak();
    auto record = DeptRecord(state, number);
    std::memcpy(record.data(), payload.data() + 2, 19); // name, limitation, tax, flag, price
    // The change counter (low digit pair first) becomes the department's counter.
    std::memcpy(&state.StatusBlock[21 + 2 * static_cast<std::size_t>(number - 1)], payload.data() + 141, 2);
    return Reply::Ack();
}

Reply WriteRecycling(RegisterState& state, const LinkMessage& message)
{
    const int block = message[kAddressLowOffset] | (message[kAddressHighOffset] << 8);
    if (block > 4)
        return Reply::Nak();
    const auto payload = PayloadOf(message);
    for (int i = 0; i < 10; ++i) {
        auto record = RecyRecord(state, 10 * block + i + 1);
        std::memcpy(record.data() + 12, payload.data() + 23 * i + 12, 11); // barcode, price
    }
    return Reply::Ack();
}

Reply ReadRecycling(RegisterState& state, const LinkMessage& message)
{
    const int block = message[kAddressLowOffset] | (message[kAddressHighOffset] << 8);
    if (block > 6)
        return Reply::Nak();
    std::vector<std::uint8_t> image(256 * 7, 0);
    for (int s = 1; s <= kSimRecyclingSlots; ++s) {
        auto record = RecyRecord(state, s);
        std::memcpy(image.data() + kSimRecyRecord * static_cast<std::size_t>(s - 1), record.data(), kSimRecyRecord);
    }
    Payload answer{};
    std::memcpy(answer.data(), image.data() + 256 * static_cast<std::size_t>(block), 256);
    return Reply::Frame(answer);
}

Reply WriteParameters(RegisterState& state, const LinkMessage& message)
{
    const auto payload = PayloadOf(message);
    auto block = ParameterBlock(state);
    std::memcpy(block.data(), payload.data(), 256);
    // The register keeps its VAT layout in the status block as well.
    std::memcpy(&state.StatusBlock[5], payload.data() + 178, 16);
    state.StatusBlock[37] = payload[177];
    return Reply::Ack();
}

} // namespace

std::span<std::uint8_t, kSimPluRecord> PluRecord(RegisterState& state, int number)
{
    auto& blob = Blob(state, kPluBlob, kSimPluRecord * kSimPlus);
    return std::span<std::uint8_t, kSimPluRecord>(blob.data() + kSimPluRecord * static_cast<std::size_t>(number - 1), kSimPluRecord);
}

std::span<std::uint8_t, kSimDeptRecord> DeptRecord(RegisterState& state, int number)
{
    auto& blob = Blob(state, kDeptBlob, kSimDeptRecord * kSimDepartments);
    return std::span<std::uint8_t, kSimDeptRecord>(blob.data() + kSimDeptRecord * static_cast<std::size_t>(number - 1), kSimDeptRecord);
}

std::span<std::uint8_t, kSimRecyRecord> RecyRecord(RegisterState& state, int slot)
{
    auto& blob = Blob(state, kRecyBlob, kSimRecyRecord * kSimRecyclingSlots);
    return std::span<std::uint8_t, kSimRecyRecord>(blob.data() + kSimRecyRecord * static_cast<std::size_t>(slot - 1), kSimRecyRecord);
}

std::span<std::uint8_t, 256> ParameterBlock(RegisterState& state)
{
    return std::span<std::uint8_t, 256>(Blob(state, kParameterBlob, 256).data(), 256);
}

void SetPlu(RegisterState& state, int number, const SimPlu& plu)
{
    auto r = PluRecord(state, number);
    std::fill(r.begin(), r.end(), 0);
    std::memset(r.data(), ' ', 12);
    std::memcpy(r.data(), plu.Name.data(), std::min<std::size_t>(plu.Name.size(), 12));
    r[12] = static_cast<std::uint8_t>(plu.Department);
    Bcd(plu.Price, 4, r.data() + 13);
    Bcd(plu.Barcode, 7, r.data() + 17);
    r[24] = static_cast<std::uint8_t>(plu.Flag);
    const std::uint32_t magnitude = static_cast<std::uint32_t>(plu.Stock < 0 ? -plu.Stock : plu.Stock);
    Bcd(magnitude, 4, r.data() + 25);
    if (plu.Stock < 0)
        r[25] |= 0x80;
    Bcd(plu.Quantity, 4, r.data() + 29);
    Bcd(plu.Total, 5, r.data() + 33);
}

void SetDepartment(RegisterState& state, int number, const SimDepartment& dept)
{
    auto r = DeptRecord(state, number);
    std::fill(r.begin(), r.end(), 0);
    if (!dept.Name.empty()) {
        std::memset(r.data(), ' ', 12);
        std::memcpy(r.data(), dept.Name.data(), std::min<std::size_t>(dept.Name.size(), 12));
    }
    r[12] = static_cast<std::uint8_t>(dept.Limitation);
    r[13] = static_cast<std::uint8_t>(dept.Tax);
    r[14] = static_cast<std::uint8_t>(dept.Flag);
    Bcd(dept.Price, 4, r.data() + 15);
    Bcd(dept.Quantity, 4, r.data() + 19);
    Bcd(dept.Total, 5, r.data() + 23);
}

void SetRecycling(RegisterState& state, int slot, std::uint64_t barcode, std::uint32_t price, int sold, int returned)
{
    auto r = RecyRecord(state, slot);
    std::fill(r.begin(), r.end(), 0);
    Bcd(barcode, 7, r.data() + 12);
    Bcd(price, 4, r.data() + 19);
    Bcd(static_cast<std::uint64_t>(sold), 2, r.data() + 23);
    Bcd(static_cast<std::uint64_t>(returned), 2, r.data() + 25);
}

void ApplyStatus(std::array<std::uint8_t, kStatusBlockSize>& block, const SimStatus& status)
{
    block[0] = static_cast<std::uint8_t>(status.Decimals);
    block[1] = status.ReportCleared ? 0 : 1;
    block[38] = status.ChangesPending ? 1 : 0;
    block[39] = status.PluHasStock ? 1 : 0;
    block[37] = static_cast<std::uint8_t>(status.TaxFreeGroup);
    for (std::size_t i = 0; i < 8; ++i) {
        Bcd(static_cast<std::uint64_t>(status.Rates[i]), 2, &block[5 + 2 * i]);
        std::uint8_t counter[2];
        Bcd(static_cast<std::uint64_t>(status.DeptCounters[i]), 2, counter);
        block[21 + 2 * i] = counter[1];
        block[22 + 2 * i] = counter[0];
    }
}

int DeptCounterOf(const RegisterState& state, int number)
{
    const std::uint8_t low = state.StatusBlock[21 + 2 * static_cast<std::size_t>(number - 1)];
    const std::uint8_t high = state.StatusBlock[22 + 2 * static_cast<std::size_t>(number - 1)];
    return ((high >> 4) * 10 + (high & 0x0F)) * 100 + (low >> 4) * 10 + (low & 0x0F);
}

void SeedSampleItems(RegisterState& state)
{
    for (int i = 1; i <= kSimPlus; ++i)
        SetPlu(state, i, {"ITEM " + std::to_string(i), (i - 1) % 8 + 1, static_cast<std::uint32_t>(i * 5), 5900000000000ull + i, 0, 0, 0, 0});
    const char* names[] = {"FOOD", "DRINKS", "BAKERY", "DAIRY", "FRUIT", "HOUSEHOLD", "TOBACCO", "OTHER"};
    for (int d = 1; d <= kSimDepartments; ++d)
        SetDepartment(state, d, {names[d - 1], 0, d <= 3 ? d : 1, 0, 0, 0, 0});
}

void InstallMasterData(RegisterSimulator& simulator)
{
    simulator.SetHandler(kItemOpcode, 3, FetchPlus);
    simulator.SetHandler(kItemOpcode, 5, WritePlusChanged);
    simulator.SetHandler(kItemOpcode, 8, WritePlusPlain);
    simulator.SetHandler(kItemOpcode, 6, FetchDepartments);
    simulator.SetHandler(kItemOpcode, 7, WriteDepartment);
    simulator.SetOpcodeHandler(4, WriteRecycling);
    simulator.SetOpcodeHandler(3, ReadRecycling);
    simulator.SetHandler(1, 0, WriteParameters);
}

} // namespace plu::sim
