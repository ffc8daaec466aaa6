#include "shell/CodePage.h"

#include <gtest/gtest.h>

namespace plu {
namespace {

TEST(CodePage, Windows1252BothWays)
{
    CodePage cp;
    EXPECT_EQ(cp.Name(), "WINDOWS-1252");
    EXPECT_EQ(cp.ToUtf8("Caf\xE9 \x80"), "Caf\u00e9 \u20ac");
    EXPECT_EQ(cp.FromUtf8("Caf\u00e9 \u20ac"), std::optional<std::string>("Caf\xE9 \x80"));
    EXPECT_FALSE(cp.FromUtf8("\u0416")) << "Cyrillic has no byte in 1252";
    EXPECT_FALSE(cp.FromUtf8("\xC3")) << "broken UTF-8";
    // Every byte, defined or not, survives being shown and taken back.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(cp.FromUtf8(cp.ToUtf8(all)), std::optional<std::string>(all));
}

TEST(CodePage, OtherPageAndUnknownName)
{
    CodePage cyrillic("WINDOWS-1251");
    EXPECT_EQ(cyrillic.FromUtf8("\u0416"), std::optional<std::string>("\xC6"));
    EXPECT_FALSE(cyrillic.FromUtf8("\u00e9"));
    CodePage unknown("NO-SUCH-PAGE");
    EXPECT_EQ(unknown.Name(), "WINDOWS-1252");
}

} // namespace
} // namespace plu
