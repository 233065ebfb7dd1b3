#include "clifixture.h"

namespace {
using CliRegFileTest = CCliFixture;

constexpr const char* kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV";

std::string Utf16le(const std::string& ascii) {
    std::string bytes = "\xff\xfe";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}
} // namespace

TEST_F(CliRegFileTest, ExportImportIntoAnEmptyHiveAndExportAgainGiveTheSameBytes) {
    Ok({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x280"});
    Ok({"add-port", "Board000"});
    // The Windows NT board's ports have no Windows 95/98 instance: each close names them.
    EXPECT_EQ(Ctl({"--platform", "9x", "add-board", "BoardType=RX-201"}).status, 1);
    EXPECT_EQ(Ctl({"--platform", "9x", "add-port", "Board001"}).status, 1);
    const std::string file = Folder() + "/all.reg";
    SQserCtlRun exported = Ok({"export", "-o", file});
    EXPECT_EQ(exported.out, "");
    const std::string first = ReadFile(file);
    EXPECT_EQ(first, Export());
    EXPECT_EQ(first.rfind("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n", 0), 0u);

    const std::string copy = Folder() + "/copy.db";
    SQserCtlRun imported = CtlOn(copy, {"import", file});
    EXPECT_EQ(imported.status, 0) << imported.err;
    SQserCtlRun again = CtlOn(copy, {"export"});
    EXPECT_EQ(again.out, first);
    // The copy is a working configuration.
    SQserCtlRun shown = CtlOn(copy, {"show", "--json"});
    EXPECT_EQ(nlohmann::json::parse(shown.out), ShowJson());
}

TEST_F(CliRegFileTest, KeyMayCarryTheRootNameInAnyCase) {
    Ok({"add-board"});
    const std::string bare = Export(kDriverKey);
    EXPECT_EQ(
        bare.rfind("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + std::string(kDriverKey) + "]\r\n", 0),
        0u);
    EXPECT_EQ(Export("HKEY_LOCAL_MACHINE\\" + std::string(kDriverKey)), bare);
    EXPECT_EQ(Export("hkey_local_machine\\system\\currentcontrolset\\services\\qserdrv"), bare);
    EXPECT_EQ(Export("HKEY_LOCAL_MACHINE"), Export());
}

TEST_F(CliRegFileTest, ImportMergesVersion5Utf16FilesWithDeletions) {
    Ok({"add-board"});
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme]\r\n"
                             "@=\"default\"\r\n"
                             "\"n\"=dword:0000001c\r\n"
                             "[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\"
                             "Board000]\r\n";
    Ok({"import", WriteFile("v5.reg", Utf16le(text))});
    EXPECT_EQ(Export("SOFTWARE\\Acme"), "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme]\r\n"
                                        "@=\"default\"\r\n\"n\"=dword:0000001c\r\n\r\n");
    EXPECT_TRUE(ShowJson()["Boards"].empty());
}

namespace {
struct SMalformed {
    const char* name;
    std::string text;
    int line;
};

void PrintTo(const SMalformed& row, std::ostream* os) {
    *os << row.name;
}

class CliMalformedImportTest : public CCliFixture,
                               public ::testing::WithParamInterface<SMalformed> {};

const SMalformed kMalformed[] = {
    {"NoHeader", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\r\n", 1},
    {"EmptyFile", "", 1},
    {"KeyOutsideTheLocalMachine", CCliFixture::Reg({"[HKEY_CURRENT_USER\\Software\\A]"}), 3},
    {"ValueBeforeAnyKey", CCliFixture::Reg({"\"v\"=\"x\""}), 3},
    {"KeyWithoutClosingBracket", CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A"}), 3},
    {"EmptyKeyName", CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\A]"}), 3},
    {"DwordNotHex", CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"v\"=dword:xyz"}), 4},
    {"DwordTooLong",
     CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"v\"=dword:123456789"}), 4},
    {"UnterminatedText", CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"v\"=\"x"}), 4},
    {"HexByteNotHex", CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"v\"=hex:01,zz"}),
     4},
    {"UnknownValueType", CCliFixture::Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"v\"=qword:01"}),
     4},
    {"CharacterAboveLatin1",
     "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\r\n"
     "\"v\"=\"\xe2\x82\xac\"\r\n",
     4},
    // The good changes before the bad line must not be applied either.
    {"BadLineAfterGoodChanges",
     CCliFixture::Reg({"[-HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV]",
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]", "\"good\"=\"x\"", "\"bad\"=dword:"}),
     6},
};
} // namespace

TEST_P(CliMalformedImportTest, IsReportedWithItsLineAndLeavesTheFileByteForByte) {
    Ok({"add-board"});
    Ok({"add-port", "Board000"});
    SSnapshot before = Snapshot();
    std::string file = WriteFile("bad.reg", GetParam().text);
    SQserCtlRun run = Ctl({"import", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("qserctl: " + file + ":" + std::to_string(GetParam().line) + ": ", 0),
              0u)
        << run.err;
    EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CliMalformedImportTest, ::testing::ValuesIn(kMalformed),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(CliRegFileTest, UnreadableFilesFailAndChangeNothing) {
    Ok({"add-board"});
    SSnapshot before = Snapshot();
    SQserCtlRun missing = Ctl({"import", Folder() + "/none.reg"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "qserctl: cannot read " + Folder() + "/none.reg: No such file or directory\n");
    EXPECT_EQ(Ctl({"import", Folder()}).status, 1);
    SQserCtlRun unwritable = Ctl({"export", "-o", Folder() + "/no/such/folder.reg"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliRegFileTest, ExportAndImportDoNotNeedALoadableDriverKey) {
    // A board key name outside Board000..Board009 is one the document cannot take.
    Ok({"import",
        WriteFile("odd.reg", Reg({"[HKEY_LOCAL_MACHINE\\" + std::string(kDriverKey) + "\\Board010]",
                                  "\"BoardName\"=\"Board010\""}))});
    EXPECT_NE(Export(kDriverKey).find("Board010"), std::string::npos);
}
