#include "transfer/ParameterBlock.h"

#include "shell/IniFile.h"
#include "shell/Locale.h"
#include "transfer/PackedFields.h"

namespace plu {
namespace {

std::string Key(const char* base, int n) { return base + std::to_string(n); }

// Hundredths with 4 digits; a rate below zero cannot be packed and goes out as 0.
void PackRate(const std::string& text, std::uint8_t* out)
{
    const std::int64_t hundredths = ScaleReal(TextToReal(text, 0), 2);
    PackBcd(hundredths < 0 ? 0 : static_cast<std::uint64_t>(hundredths), 4, out);
}

std::uint8_t Byte(std::int64_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

} // namespace

std::string DefaultRateText() { return std::string("00") + DecimalSeparator() + "00"; }

std::string RateEditMask() { return std::string("!99") + DecimalSeparator() + "99;1;0"; }

ParameterSettings LoadParameters(const IniFile& cfg)
{
    ParameterSettings s;
    const std::string rateDefault = DefaultRateText();
    for (int i = 0; i < kHeaderLines; ++i)
        s.Header[static_cast<std::size_t>(i)] = cfg.ReadString(kParameterSection, Key("Header", i + 1), "");
    for (int i = 0; i < kClerkNames; ++i)
        s.ClerkName[static_cast<std::size_t>(i)] = cfg.ReadString(kParameterSection, Key("ClerkName", i + 1), "");
    s.DecRate = cfg.ReadString(kParameterSection, "-% rate", rateDefault);
    s.IncRate = cfg.ReadString(kParameterSection, "+% rate", rateDefault);
    s.PrintDensity = cfg.ReadInteger(kParameterSection, "Print density", 1);
    s.PaperType = cfg.ReadInteger(kParameterSection, "Paper type", 0);
    for (int i = 0; i < kBarcodePrefixes; ++i)
        s.BCode[static_cast<std::size_t>(i)] = cfg.ReadInteger(kParameterSection, Key("BCode", i + 1), 0);
    for (int i = 0; i < kVatRates; ++i)
        s.Vat[static_cast<std::size_t>(i)] = cfg.ReadString(kParameterSection, Key("VAT", i + 1), rateDefault);
    s.TaxFree = cfg.ReadInteger(kParameterSection, "Tax-free", 8);
    return s;
}

bool SaveParameters(IniFile& cfg, const ParameterSettings& s)
{
    bool ok = true;
    auto text = [&](const std::string& key, const std::string& value) {
        ok = ok && cfg.WriteString(kParameterSection, key, value);
    };
    auto number = [&](const std::string& key, std::int64_t value) {
        ok = ok && cfg.WriteInteger(kParameterSection, key, value);
    };
    for (int i = 0; i < kHeaderLines; ++i)
        text(Key("Header", i + 1), s.Header[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kClerkNames; ++i)
        text(Key("ClerkName", i + 1), s.ClerkName[static_cast<std::size_t>(i)]);
    text("-% rate", s.DecRate);
    text("+% rate", s.IncRate);
    number("Print density", s.PrintDensity);
    number("Paper type", s.PaperType);
    for (int i = 0; i < kBarcodePrefixes; ++i)
        number(Key("BCode", i + 1), s.BCode[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kVatRates; ++i)
        text(Key("VAT", i + 1), s.Vat[static_cast<std::size_t>(i)]);
    number("Tax-free", s.TaxFree);
    return ok;
}

std::array<std::uint8_t, 256> BuildParameterBlock(const ParameterSettings& s)
{
    std::array<std::uint8_t, 256> block{};
    PackRate(s.DecRate, &block[0]);
    PackRate(s.IncRate, &block[2]);
    for (std::size_t i = 0; i < kHeaderLines; ++i)
        PackFixedText(s.Header[i], kHeaderWidth, &block[5 + kHeaderWidth * i]);
    for (std::size_t i = 0; i < kClerkNames; ++i)
        PackFixedText(s.ClerkName[i], kClerkNameWidth, &block[125 + kClerkNameWidth * i]);
    for (std::size_t i = 0; i < kBarcodePrefixes; ++i)
        block[165 + i] = Byte(s.BCode[i]);
    block[175] = Byte(s.PrintDensity);
    block[176] = Byte(s.PaperType);
    const std::int64_t taxFree = s.TaxFree + 1;
    block[177] = Byte(taxFree);
    // Eight slots of rates; a tax-free number outside 1..9 would leave nine
    // candidates, and the ninth must not spill into the reserved bytes.
    std::size_t at = 178;
    for (int i = 1; i <= kVatRates && at < 194; ++i) {
        if (i == taxFree)
            continue;
        PackRate(s.Vat[static_cast<std::size_t>(i - 1)], &block[at]);
        at += 2;
    }
    return block;
}

} // namespace plu
