#include "tests/core/TestFiles.h"
#include "shell/IniFile.h"
#include "shell/ProgramDir.h"
#include "shell/SystemConfig.h"

#include "SimulatorFixture.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <csignal>
#include <sys/resource.h>

namespace plu {
namespace {

using test::ReadFile;

TEST(IniText, FollowsTheProfileStringRules)
{
    IniText ini("; comment\n"
                "orphan=before any section\n"
                "  [ Comm ]  \r\n"
                "  PORT =  3  \r\n"
                "Port=4\n"
                "Quoted=\"  keeps blanks  \"\n"
                "Single=' x '\n"
                "Half=\"open\n"
                "Empty=\n"
                "no equals sign\n"
                "=no key\n"
                "Eq=a=b\n"
                "[comm]\n"
                "Port=9\n"
                "Later=only in the second section\r"
                "[Other]\n"
                "Port=5");
    EXPECT_EQ(ini.Find("comm", "port"), "3");           // case-insensitive names, blanks dropped, first match wins
    EXPECT_EQ(ini.Find("COMM", "Quoted"), "  keeps blanks  ");
    EXPECT_EQ(ini.Find("Comm", "Single"), " x ");
    EXPECT_EQ(ini.Find("Comm", "Half"), "\"open");
    EXPECT_EQ(ini.Find("Comm", "Empty"), "");
    EXPECT_EQ(ini.Find("Comm", "Eq"), "a=b");
    EXPECT_EQ(ini.Find("Comm", "Later"), std::nullopt); // only the first section of a name is searched
    EXPECT_EQ(ini.Find("Other", "Port"), "5");          // last line without a newline
    EXPECT_EQ(ini.Find("Comm", "orphan"), std::nullopt);
    EXPECT_EQ(ini.Find("Missing", "Port"), std::nullopt);
}

TEST(IniText, CutsValuesAt2047Characters)
{
    IniText ini("[S]\nLong=" + std::string(5000, 'v') + "\n");
    EXPECT_EQ(ini.Find("S", "Long")->size(), 2047u);
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::FreshDir("ini"); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(IniFileTest, ReadsIntegersWithDefaults)
{
    std::ofstream(dir / "a.ini") << "[N]\nDec=42\nNeg=-7\nHex=0x1F\nDollar=$10\nText=abc\nBlank=\n";
    IniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("N", "Dec", 1), 42);
    EXPECT_EQ(ini.ReadInteger("N", "Neg", 1), -7);
    EXPECT_EQ(ini.ReadInteger("N", "Hex", 1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "Dollar", 1), 16);
    EXPECT_EQ(ini.ReadInteger("N", "Text", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "Blank", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "Missing", 6), 6);
    EXPECT_EQ(IniFile(dir / "none.ini").ReadString("N", "Dec", "dflt"), "dflt");
}

TEST_F(IniFileTest, WritingCreatesFileSectionAndKeyAndKeepsTheRest)
{
    IniFile ini(dir / "SYSTEM.CFG");
    ASSERT_TRUE(ini.WriteString("Comm", "Port", "3"));
    EXPECT_EQ(ReadFile(dir / "SYSTEM.CFG"), "[Comm]\r\nPort=3\r\n");
    ASSERT_TRUE(ini.WriteString("comm", "BaudRate", "2"));
    ASSERT_TRUE(ini.WriteString("Version", "CompanyName", "Shop"));
    ASSERT_TRUE(ini.WriteString("COMM", "PORT", "4"));
    EXPECT_EQ(ReadFile(dir / "SYSTEM.CFG"), "[Comm]\r\nPORT=4\r\nBaudRate=2\r\n[Version]\r\nCompanyName=Shop\r\n");

    // Hand-edited lines, comments and unknown keys survive a write.
    std::ofstream(dir / "SYSTEM.CFG", std::ios::trunc) << "; mine\n[Comm]\nPort=1\n\n[Default]\nHeader1=Hello\n";
    ASSERT_TRUE(ini.WriteInteger("Comm", "BaudRate", 4));
    EXPECT_EQ(ReadFile(dir / "SYSTEM.CFG"), "; mine\r\n[Comm]\r\nPort=1\r\nBaudRate=4\r\n\r\n[Default]\r\nHeader1=Hello\r\n");
}

TEST_F(IniFileTest, HostileFilesGiveDefaultsAndAreNeverOverwritten)
{
    std::mt19937 random(7);
    std::string garbage(100000, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random());
    std::ofstream(dir / "garbage.cfg", std::ios::binary) << garbage;
    EXPECT_EQ(ReadCommSettings(IniFile(dir / "garbage.cfg")).PortNumber, kDefaultPortNumber);

    std::ofstream(dir / "oneline.cfg", std::ios::binary) << std::string(3000000, 'x');
    EXPECT_EQ(ReadCommSettings(IniFile(dir / "oneline.cfg")).BaudRateIndex, 0);

    {
        std::ofstream huge(dir / "huge.cfg", std::ios::binary);
        huge << "[Comm]\nPort=4\n";
        huge << std::string(IniFile::kMaxFileBytes, '\n');
    }
    const auto size = std::filesystem::file_size(dir / "huge.cfg");
    IniFile hugeIni(dir / "huge.cfg");
    EXPECT_EQ(ReadCommSettings(hugeIni).PortNumber, kDefaultPortNumber);
    EXPECT_FALSE(hugeIni.WriteString("Comm", "Port", "1"));
    EXPECT_NE(hugeIni.LastError().find("too large"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(dir / "huge.cfg"), size);
}

TEST_F(IniFileTest, AFailedWriteLeavesTheOldFile)
{
    std::ofstream(dir / "SYSTEM.CFG") << "[Comm]\r\nPort=1\r\n";
    IniFile ini(dir / "SYSTEM.CFG");
    // A file-size limit makes the write fail part-way, as a full disk would
    // (and it holds for root too, unlike a read-only directory).
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ini.WriteString("Default", "Header1", std::string(2000, 'h'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_NE(ini.LastError().find("SYSTEM.CFG: File too large"), std::string::npos) << ini.LastError();
    EXPECT_EQ(ReadFile(dir / "SYSTEM.CFG"), "[Comm]\r\nPort=1\r\n");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

TEST_F(IniFileTest, CommSettingsClampTheSpeedIndex)
{
    const std::pair<const char*, CommSettings> cases[] = {
        {"", {2, 0}},
        {"[Comm]\nPort=4\nBaudRate=3\n", {4, 3}},
        {"[Comm]\nPort=0\nBaudRate=7\n", {0, 0}},
        {"[Comm]\nBaudRate=-1\n", {2, 0}},
        {"[Comm]\nPort=9\n", {9, 0}}, // kept: the next open reports it
        {"[Version]\nCompanyName=Some Shop\n", {2, 0}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        std::ofstream(dir / "SYSTEM.CFG", std::ios::trunc) << text;
        auto settings = ReadCommSettings(IniFile(dir / "SYSTEM.CFG"));
        EXPECT_EQ(settings.PortNumber, expected.PortNumber);
        EXPECT_EQ(settings.BaudRateIndex, expected.BaudRateIndex);
    }
    EXPECT_EQ(ReadCompanyName(IniFile(dir / "SYSTEM.CFG")), "Some Shop");
    EXPECT_EQ(PortDevicePath(IniFile(dir / "SYSTEM.CFG"), 3), "/dev/ttyS2");
    std::ofstream(dir / "SYSTEM.CFG", std::ios::trunc) << "[ports]\ncom3 = /dev/ttyUSB0\n";
    EXPECT_EQ(PortDevicePath(IniFile(dir / "SYSTEM.CFG"), 3), "/dev/ttyUSB0");
    EXPECT_EQ(PortDevicePath(IniFile(dir / "SYSTEM.CFG"), 5), "");
}

TEST_F(IniFileTest, CreateWorkDirsStopsAtTheFirstFailure)
{
    ProgramDirs dirs = ProgramDirsAt(dir);
    std::ofstream(dir / "duFile") << "a file where the folder should be";
    EXPECT_FALSE(CreateWorkDirs(dirs));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Data"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Temp")); // not attempted
    std::filesystem::remove(dir / "duFile");
    EXPECT_TRUE(CreateWorkDirs(dirs));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Temp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "SYSTEM.CFG"));
}

} // namespace
} // namespace plu
