#include "regfilefixture.h"
#include "regfilewriter.h"

using RegFileWriterTest = CRegFileFixture;

TEST_F(RegFileWriterTest, WritesEveryValueKindAndTheSubtreeInRegistryOrder) {
    const std::string acme = "Software\\Acme";
    Put(acme, "Name", REG_SZ, Text("Acme \"Q\" C:\\x"));
    Put(acme, "", REG_SZ, Text("default"));
    Put(acme, "@", REG_SZ, Text("at"));
    Put(acme, "Count", REG_DWORD, {0x1c, 0, 0, 0});
    Put(acme, "Big", REG_DWORD, {0x78, 0x56, 0x34, 0xf2});
    Put(acme, "Blob", REG_BINARY, {0x1c, 0x00, 0xff});
    Put(acme, "Empty", REG_BINARY, {});
    Put(acme, "Path", REG_EXPAND_SZ, Text("%x%"));
    Put(acme, "Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0});
    Put(acme, "Q", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0x80});
    Put(acme, "None", REG_NONE, {});
    Put(acme, "Odd", 0x1234, {0xab});
    Put(acme, "Lines", REG_SZ, Text("a\r\nb"));
    Put(acme, "Zero", REG_SZ, {'a', 0, 'b', 0});
    Put(acme, "Unterminated", REG_SZ, {'a'});
    Put(acme, "Short", REG_DWORD, {1, 2});
    Put(acme, "Latin", REG_SZ, Text("caf\xe9 \xff"));
    Put(acme + "\\b", "x", REG_SZ, Text(""));
    Key(acme + "\\A\\Deep");
    Key(acme + "\\c");
    Key("Software\\Other");

    EXPECT_EQ(Export(acme), CrlfLines({
                                "REGEDIT4",
                                "",
                                "[HKEY_LOCAL_MACHINE\\Software\\Acme]",
                                "\"Name\"=\"Acme \\\"Q\\\" C:\\\\x\"",
                                "@=\"default\"",
                                "\"@\"=\"at\"",
                                "\"Count\"=dword:0000001c",
                                "\"Big\"=dword:f2345678",
                                "\"Blob\"=hex:1c,00,ff",
                                "\"Empty\"=hex:",
                                "\"Path\"=hex(2):25,78,25,00",
                                "\"Multi\"=hex(7):61,00,62,00,00",
                                "\"Q\"=hex(b):01,00,00,00,00,00,00,80",
                                "\"None\"=hex(0):",
                                "\"Odd\"=hex(1234):ab",
                                "\"Lines\"=hex(1):61,0d,0a,62,00",
                                "\"Zero\"=hex(1):61,00,62,00",
                                "\"Unterminated\"=hex(1):61",
                                "\"Short\"=hex(4):01,02",
                                "\"Latin\"=\"caf\xe9 \xff\"",
                                "",
                                "[HKEY_LOCAL_MACHINE\\Software\\Acme\\A]",
                                "",
                                "[HKEY_LOCAL_MACHINE\\Software\\Acme\\A\\Deep]",
                                "",
                                "[HKEY_LOCAL_MACHINE\\Software\\Acme\\b]",
                                "\"x\"=\"\"",
                                "",
                                "[HKEY_LOCAL_MACHINE\\Software\\Acme\\c]",
                                "",
                            }));
}

TEST_F(RegFileWriterTest, RootExportStartsWithTheRootKey) {
    EXPECT_EQ(Export(), CrlfLines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE]", ""}));
    Put("k", "v", REG_DWORD, {1, 0, 0, 0});
    EXPECT_EQ(Export(), CrlfLines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE]", "",
                                   "[HKEY_LOCAL_MACHINE\\k]", "\"v\"=dword:00000001", ""}));
}

TEST_F(RegFileWriterTest, KeysAreWrittenAsCreatedWhateverCaseThePathWasGivenIn) {
    Key("Software\\MixedCase\\Sub");
    EXPECT_EQ(Export("SOFTWARE\\mixedcase"),
              CrlfLines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\MixedCase]", "",
                         "[HKEY_LOCAL_MACHINE\\Software\\MixedCase\\Sub]", ""}));
}

TEST_F(RegFileWriterTest, MissingOrInvalidKeyIsReportedAndWritesNothing) {
    Key("Software");
    const struct {
        const char* path;
        Win32Status status;
    } cases[] = {{"No\\Such", ERROR_FILE_NOT_FOUND},
                 {"Software\\No", ERROR_FILE_NOT_FOUND},
                 {"Software\\", ERROR_INVALID_PARAMETER}};
    for (const auto& test : cases) {
        std::string out;
        EXPECT_EQ(CRegFileWriter(Hive()).Write(test.path, out), test.status) << test.path;
        EXPECT_EQ(out, "");
    }
}

// "Data"=hex: is 11 characters, so the 22nd "xx," brings the first line to 77; continuation
// lines hold 25 bytes after their two blanks.
static std::vector<std::uint8_t> Counting(std::size_t count) {
    std::vector<std::uint8_t> data(count);
    for (std::size_t i = 0; i < count; ++i) {
        data[i] = static_cast<std::uint8_t>(i);
    }
    return data;
}

TEST_F(RegFileWriterTest, HexDataBreaksAfterTheByteThatReachesColumn77) {
    const std::string first = "\"Data\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,"
                              "12,13,14,15";
    ASSERT_EQ(first.size(), 76u);
    struct SCase {
        std::size_t count;
        std::vector<std::string> lines;
    } cases[] = {
        {22, {first}},
        {23, {first + ",\\", "  16"}},
        {60,
         {first + ",\\",
          "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\",
          "  2f,30,31,32,33,34,35,36,37,38,39,3a,3b"}},
    };
    for (const SCase& test : cases) {
        Put("k", "Data", REG_BINARY, Counting(test.count));
        std::string expected = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\k]\r\n";
        for (const std::string& line : test.lines) {
            expected += line + "\r\n";
        }
        EXPECT_EQ(Export("k"), expected + "\r\n") << test.count;
    }
}

TEST_F(RegFileWriterTest, LongValueNameBreaksAfterTheFirstByte) {
    const std::string name(80, 'n');
    Put("k", name, REG_BINARY, {1, 2});
    EXPECT_EQ(Export("k"), CrlfLines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\k]",
                                      "\"" + name + "\"=hex:01,\\", "  02", ""}));
}
