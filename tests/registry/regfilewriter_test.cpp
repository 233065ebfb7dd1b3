#include "regfilefixture.h"
#include "regfileimporter.h"
#include "regfilewriter.h"
#include "sqliteconnection.h"
#include "sqlitestore.h"

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

namespace {
// Rows as a hand editor may leave them, under the key Soft.
void PlantHostileRows(CHive& hive, HiveKeyId soft, HiveKeyId good) {
    const std::string parent = std::to_string(soft);
    CSqliteStore::ConnectionOf(hive)->Exec(
        "INSERT INTO keys(parent, name) VALUES(" + parent + ", 'a\\b'), (" + parent +
        ", X'426c6f62'), (" + parent + ", ''), (" + parent + ", '" + std::string(256, 'L') +
        "'), (" + parent + ", 'line' || char(10) || 'break'), (" + parent +
        ", 'esc' || char(27));"
        "INSERT INTO keys(parent, name) SELECT id, 'Below' FROM keys WHERE name = X'426c6f62';"
        "INSERT INTO vals(key, name, type, data, seq) VALUES(" +
        std::to_string(good) + ", 'texttyped', 'x', 'y', 10), (" + std::to_string(good) +
        ", 'two' || char(13) || 'lines', 1, X'6100', 11), (" + std::to_string(good) + ", '" +
        std::string(16384, 'n') + "', 4, X'01000000', 12)");
}
} // namespace

// One bad row must not cost the rest of the export; each is named, printably.
TEST_F(RegFileWriterTest, LeavesOutWhatTheFormatCannotCarryAndWritesEverythingElse) {
    Put("Soft\\Good", "v", REG_SZ, Text("1"));
    Put("Soft\\Later\\Sub", "w", REG_DWORD, {2, 0, 0, 0});
    PlantHostileRows(Hive(), Key("Soft"), Key("Soft\\Good"));

    CRegFileWriter writer(Hive());
    std::string text;
    ASSERT_EQ(writer.Write("", text), ERROR_SUCCESS);
    EXPECT_EQ(
        text,
        CrlfLines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE]", "", "[HKEY_LOCAL_MACHINE\\Soft]", "",
                   "[HKEY_LOCAL_MACHINE\\Soft\\esc\x1b]", "", "[HKEY_LOCAL_MACHINE\\Soft\\Good]",
                   "\"v\"=\"1\"", "", "[HKEY_LOCAL_MACHINE\\Soft\\Later]", "",
                   "[HKEY_LOCAL_MACHINE\\Soft\\Later\\Sub]", "\"w\"=dword:00000002", ""}));
    const std::string soft = "HKEY_LOCAL_MACHINE\\Soft\\";
    EXPECT_EQ(writer.LeftOut(),
              (std::vector<std::string>{
                  soft + ": its name is empty",
                  soft + "a\\b: its name holds a backslash",
                  soft + "line\\x0abreak: its name holds a line break",
                  soft + std::string(256, 'L') + ": its name is longer than 255 characters",
                  soft + "Blob: its name is not stored as text",
                  "value \"texttyped\" of " + soft + "Good: it holds no registry value",
                  "value \"two\\x0dlines\" of " + soft + "Good: its name holds a line break",
                  "value \"" + std::string(16384, 'n') + "\" of " + soft +
                      "Good: its name is longer than 16383 characters",
              }));

    // What was written reads back here: the same bytes again.
    auto copy = CHive::Open(m_temp.Folder() + "/copy.db");
    CRegFileImporter importer(*copy);
    ASSERT_TRUE(importer.Import("t.reg", Bytes(text))) << importer.Error();
    std::string again;
    ASSERT_EQ(CRegFileWriter(*copy).Write("", again), ERROR_SUCCESS);
    EXPECT_EQ(again, text);
}

// A chain of 10,000 keys: the export ends, writes the 512 levels a registry holds and names
// the first key below them.
TEST_F(RegFileWriterTest, KeysDeeperThan512LevelsAreLeftOut) {
    CSqliteStore::ConnectionOf(Hive())->Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
        "INSERT INTO keys(id, parent, name) SELECT 1000 + i, CASE i WHEN 1 THEN 0 ELSE 999 + i "
        "END, 'k' FROM n");
    CRegFileWriter writer(Hive());
    std::string text;
    ASSERT_EQ(writer.Write("", text), ERROR_SUCCESS);
    std::size_t keys = 0;
    for (std::size_t at = text.find("\r\n["); at != std::string::npos;
         at = text.find("\r\n[", at + 1)) {
        ++keys;
    }
    EXPECT_EQ(keys, 513u); // the root and 512 levels
    std::string deepest = "HKEY_LOCAL_MACHINE";
    for (int level = 0; level < 513; ++level) {
        deepest += "\\k";
    }
    EXPECT_EQ(writer.LeftOut(),
              std::vector<std::string>{deepest + ": it lies deeper than 512 levels"});
}
