#include "hivexstore.h"
#include "regfilefixture.h"
#include "regfileimporter.h"
#include "regfilewriter.h"
#include "storetest.h"
#include "testkeypaths.h"

#include <algorithm>

namespace {
class RegFileImporterFixture : public CRegFileFixture {
protected:
    explicit RegFileImporterFixture(ETestStore store) : CRegFileFixture(store) {}

    // A tree with every kind of value the hive holds, odd names included.
    void FillSample() {
        Put(TestKey("Software\\Acme"), "Name", REG_SZ, Text("Acme \"Q\" C:\\x ; not a comment"));
        Put(TestKey("Software\\Acme"), "", REG_SZ, Text("default"));
        Put(TestKey("Software\\Acme"), "@", REG_DWORD, {1, 2, 3, 4});
        Put(TestKey("Software\\Acme"), "Blob", REG_BINARY, std::vector<std::uint8_t>(300, 0xab));
        Put(TestKey("Software\\Acme"), "Lines", REG_SZ, Text("a\r\nb\nc\rd"));
        Put(TestKey("Software\\Acme"), "Path", REG_EXPAND_SZ, Text("%SystemRoot%"));
        Put(TestKey("Software\\Acme"), "Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
        Put(TestKey("Software\\Acme"), "Q", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
        Put(TestKey("Software\\Acme"), "Latin \xe9", REG_SZ, Text("\xff\xa0"));
        Put(TestKey("Software\\Acme"), "Empty", REG_BINARY, {});
        Put(TestKey("Software\\Acme\\b]x"), "v", 0x1234, {9});
        Put(TestKey("Software\\Acme\\A"), "w", REG_NONE, {});
        Put(TestKey("System\\Deep\\er\\and\\deeper"), "z", REG_SZ, Text(""));
    }
    // The hive as an export and as file bytes, to prove a failed import changed nothing.
    struct SSnapshot {
        std::string text;
        std::vector<std::uint8_t> bytes;
        bool operator==(const SSnapshot&) const = default;
    };
    SSnapshot Snapshot() { return {Export(), DatabaseBytes()}; }
};

using RegFileImporterTest = CStoreTest<RegFileImporterFixture>;
} // namespace

TEST_P(RegFileImporterTest, ImportsValuesKeysAndDeletions) {
    Put(TestKey("Old\\Sub"), "keep", REG_SZ, Text("x"));
    Put(TestKey("Keep"), "gone", REG_SZ, Text("x"));
    Put(TestKey("Keep"), "stays", REG_SZ, Text("y"));
    ASSERT_TRUE(Import(
        "REGEDIT4\r\n\r\n"
        "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\Old]\r\n"
        "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\Never\\Was]\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\Keep]\r\n"
        "\"gone\"=-\r\n"
        "\"never\"=-\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\New\\Key]\r\n"
        "@=\"default\"\r\n"
        "\"n\"=dword:0000001c\r\n"
        "\"b\"=hex:01,02,\\\r\n  03\r\n"
        "\"t\"=hex(2):41,00\r\n"))
        << m_error;
    EXPECT_FALSE(HasKey(TestKey("Old")));
    EXPECT_FALSE(HasKey(TestKey("Old\\Sub")));
    EXPECT_EQ(Get(TestKey("Keep"), "gone").type, 0xdeadu);
    EXPECT_EQ(Get(TestKey("Keep"), "stays"), (SHiveValue{"stays", REG_SZ, Text("y")}));
    EXPECT_EQ(Get(TestKey("New\\Key"), ""), (SHiveValue{"", REG_SZ, Text("default")}));
    EXPECT_EQ(Get(TestKey("New\\Key"), "n"), (SHiveValue{"n", REG_DWORD, {0x1c, 0, 0, 0}}));
    EXPECT_EQ(Get(TestKey("New\\Key"), "b"), (SHiveValue{"b", REG_BINARY, {1, 2, 3}}));
    EXPECT_EQ(Get(TestKey("New\\Key"), "t"), (SHiveValue{"t", REG_EXPAND_SZ, Text("A")}));
}

TEST_P(RegFileImporterTest, ExportImportExportGivesTheSameBytes) {
    FillSample();
    const std::string first = Export();
    auto copy = CHive::Open(m_temp.MakeAnother("copy"));
    CRegFileImporter importer(*copy);
    ASSERT_TRUE(importer.Import("first.reg", Bytes(first))) << importer.Error();
    std::string second;
    ASSERT_EQ(CRegFileWriter(*copy).Write("", second), ERROR_SUCCESS);
    EXPECT_EQ(second, first);
    // Importing the export over the original changes nothing either.
    ASSERT_TRUE(Import(first)) << m_error;
    EXPECT_EQ(Export(), first);
}

TEST_P(RegFileImporterTest, LargeHexValueOverHundredsOfLinesSurvivesTheRoundTrip) {
    // A Windows hive file holds values of one cell only (larger ones are lists of blocks that
    // hivex does not write); the lines count in proportion.
    const std::size_t size = GetParam() == ETestStore::Sqlite ? 20000 : CHivexStore::kMaxCellData;
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 31 + 7);
    }
    Put(TestKey("Big"), "data", REG_BINARY, data);
    const std::string file = Export(TestKey("Big"));
    EXPECT_GT(std::count(file.begin(), file.end(), '\n'), static_cast<long>(size / 25) - 10);
    ASSERT_EQ(Hive().DeleteKey(TestKey("Big"), true), ERROR_SUCCESS);
    ASSERT_TRUE(Import(file)) << m_error;
    EXPECT_EQ(Get(TestKey("Big"), "data").data, data);
    EXPECT_EQ(Export(TestKey("Big")), file);
}

TEST_P(RegFileImporterTest, MalformedFileLeavesTheHiveExactlyAsItWas) {
    FillSample();
    const SSnapshot before = Snapshot();
    const std::string good =
        "REGEDIT4\r\n"
        "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\Software]\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\System\\Deep]\r\n"
        "\"z\"=-\r\n"
        "\"new\"=\"value\"\r\n";
    struct SCase {
        std::string text;
        std::string error;
    } cases[] = {
        {good + "\"x\"=dword:\r\n", "t.reg:6: dword: takes one to eight hex digits"},
        {good + "\r\n; fine\r\n\"y\"=hex:00,zz\r\n", "t.reg:8: hex byte (00 to ff) expected"},
        {good + "[HKEY_CURRENT_USER\\Software]\r\n",
         "t.reg:6: only keys under HKEY_LOCAL_MACHINE can be imported, not "
         "\"HKEY_CURRENT_USER\\Software\""},
        {good + "\"a\"=hex:01,\\\r\n", "t.reg:6: the hex data goes on past the end of the file"},
        {"\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n"
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\k]\r\n\"a\"="
         "\"\xc4\x80\"\r\n",
         "t.reg:3: character U+0100 cannot be stored: the registry holds Latin-1 text only"},
    };
    for (const SCase& test : cases) {
        EXPECT_FALSE(Import(test.text));
        EXPECT_EQ(m_error, test.error);
        EXPECT_EQ(Snapshot(), before) << test.error;
    }
}

TEST_P(RegFileImporterTest, FailureWhileApplyingRollsEverythingBack) {
    FillSample();
    const SSnapshot before = Snapshot();
    Hive().InjectFault(ERegOp::OpenKey, TestKey("New\\Sub"), "", ERROR_WRITE_FAULT);
    EXPECT_FALSE(Import(
        "REGEDIT4\r\n"
        "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\Software]\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\New]\r\n"
        "\"v\"=\"x\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\New\\Sub]\r\n"));
    EXPECT_EQ(m_error,
              "t.reg:5: cannot create key "
              "\"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\New\\Sub\" "
              "(error 29)");
    EXPECT_EQ(Snapshot(), before);

    Hive().InjectFault(ERegOp::WriteValue, TestKey("System\\Deep"), "b", ERROR_WRITE_FAULT);
    EXPECT_FALSE(Import(
        "REGEDIT4\r\n"
        "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\Software\\Acme\\A]"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\System\\Deep]\r\n"
        "\"a\"=\"x\"\r\n"
        "\"b\"=\"y\"\r\n"));
    EXPECT_EQ(m_error,
              "t.reg:5: cannot write value \"b\" of key "
              "\"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QserTest\\System\\Deep\" "
              "(error 29)");
    EXPECT_EQ(Snapshot(), before);
}

QSER_ON_BOTH_STORES(RegFileImporterTest);
