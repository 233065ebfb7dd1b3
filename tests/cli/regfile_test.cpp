#include "clifixture.h"
#include "hive.h"
#include "sqliteconnection.h"
#include "sqlitestore.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/mount.h>

namespace {
using CliRegFileTest = CCliFixture;

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
    EXPECT_EQ(bare.rfind("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kDriverKey + "]\r\n", 0), 0u);
    EXPECT_EQ(Export("HKEY_LOCAL_MACHINE\\" + kDriverKey), bare);
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
                         SRowName());

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
    Ok({"import", WriteFile("odd.reg", Reg({"[HKEY_LOCAL_MACHINE\\" + kDriverKey + "\\Board010]",
                                            "\"BoardName\"=\"Board010\""}))});
    EXPECT_NE(Export(kDriverKey).find("Board010"), std::string::npos);
}

namespace {
// Runs SQL on the registry file as a hand editor would (after dropping the schema's guards).
void EditByHand(const std::string& registry, const std::string& sql) {
    std::unique_ptr<CHive> hive = CHive::Open(registry, EHiveOpen::MustExist);
    CSqliteStore::ConnectionOf(*hive)->Exec(
        "DROP TRIGGER keys_parent_exists; DROP TRIGGER keys_stay;" + sql);
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}
} // namespace

// One hand-edited key does not lock the export out: everything else is written, each key left
// out is named, and the exit status says that something is missing.
TEST_F(CliRegFileTest, ExportWritesEverythingItCanAndNamesWhatItLeftOut) {
    Ok({"add-board"});
    Ok({"add-port", "Board000"});
    const std::string whole = Export();
    EditByHand(RegistryPath(),
               "INSERT INTO keys(parent, name) SELECT id, 'Bad\\Name' FROM keys WHERE name = "
               "'Board000'; INSERT INTO keys(parent, name) SELECT id, X'00ff' FROM keys WHERE "
               "name = 'QSERDRV'; INSERT INTO keys(parent, name) VALUES(0, 'esc' || char(27) || "
               "'[2J' || char(10))");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"export"},
                                                 {"export", "HKEY_LOCAL_MACHINE\\"},
                                                 {"export", "-o", Folder() + "/out.reg"}}) {
        SQserCtlRun run = Ctl(args);
        EXPECT_EQ(run.status, 1) << args.back();
        const std::string written = args.size() == 3 ? ReadFile(args.back()) : run.out;
        EXPECT_EQ(written, whole) << args.back();
        EXPECT_EQ(run.err.find("there is no key"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
        EXPECT_NE(run.err.find("qserctl: not exported: HKEY_LOCAL_MACHINE\\esc\\x1b[2J\\x0a: its "
                               "name holds a line break\n"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("\\Board000\\Bad\\Name: its name holds a backslash\n"),
                  std::string::npos);
        EXPECT_NE(run.err.find("\\QSERDRV\\\\x00\xff: its name is not stored as text\n"),
                  std::string::npos);
        EXPECT_EQ(Lines(run.err), 3u) << run.err;
    }
}

// Names from a file never reach the terminal with their control characters.
TEST_F(CliRegFileTest, ShowAndImportMessagesEscapeControlCharacters) {
    Ok({"add-board"});
    Ok({"add-port", "Board000"});
    const std::string board = "[HKEY_LOCAL_MACHINE\\" + std::string(kDriverKey) + "\\Board000]";
    Ok({"import", WriteFile("esc.reg", Reg({board, "\"BoardBaseAddress\"=\"2\x1b[2J\x07\x9b\""}))});
    SQserCtlRun shown = Ok({"show"});
    EXPECT_EQ(shown.out.find('\x1b'), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("2\\x1b[2J\\x07\\x9b"), std::string::npos) << shown.out;

    SQserCtlRun refused =
        Ctl({"import", WriteFile("bad.reg", Reg({"[HKEY_CURRENT_USER\x1b]0;owned\x07]"}))});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "qserctl: " + Folder() +
                               "/bad.reg:3: only keys under HKEY_LOCAL_MACHINE can be imported, "
                               "not \"HKEY_CURRENT_USER\\x1b]0;owned\\x07\"\n");
}

// show and export only read: a file that holds no registry stays as it is.
TEST_F(CliRegFileTest, ReadingCommandsLeaveAnEmptyFileEmpty) {
    const std::string empty = WriteFile("empty.db", "");
    EXPECT_EQ(CtlOn(empty, {"export"}).out, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n");
    CtlOn(empty, {"show"});
    EXPECT_EQ(ReadFile(empty), "");
    EXPECT_FALSE(Exists("empty.db-wal"));
    EXPECT_FALSE(Exists("empty.db-shm"));
}

// A dry run lists what the import would change and keeps nothing; the import itself lists the
// same on standard error. What is already so is no change.
TEST_F(CliRegFileTest, DryRunListsTheChangesAndKeepsTheFileByteForByte) {
    Ok({"add-board"});
    const std::string driver = "HKEY_LOCAL_MACHINE\\" + std::string(kDriverKey);
    const std::string file = WriteFile(
        "changes.reg", Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B]", "\"v\"=\"x\"", "@=dword:1",
                            "[" + driver + "]", "\"SystemNumBoards\"=-", "\"Missing\"=-",
                            "[-" + driver + "\\Board000]", "[-HKEY_LOCAL_MACHINE\\NoSuchKey]"}));
    const std::string list = "added key HKEY_LOCAL_MACHINE\\SOFTWARE\n"
                             "added key HKEY_LOCAL_MACHINE\\SOFTWARE\\A\n"
                             "added key HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B\n"
                             "set value \"v\" of HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B\n"
                             "set the default value of HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B\n"
                             "deleted value \"SystemNumBoards\" of " +
                             driver + "\ndeleted key " + driver +
                             "\\Board000 with its sub-keys\n"
                             "3 keys added, 1 key deleted, 2 values set, 1 value deleted\n";
    const SSnapshot before = Snapshot();
    SQserCtlRun dry = Ok({"import", "--dry-run", file});
    EXPECT_EQ(dry.out, list);
    EXPECT_EQ(dry.err, "");
    EXPECT_EQ(Snapshot(), before);

    SQserCtlRun real = Ok({"import", file});
    EXPECT_EQ(real.out, "");
    std::string prefixed;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = list.find('\n', start) + 1;
        prefixed += "qserctl: " + list.substr(start, end - start);
        start = end;
    }
    EXPECT_EQ(real.err, prefixed);
    EXPECT_NE(Snapshot(), before);
    EXPECT_EQ(Ok({"import", "--dry-run", file}).out, "no changes\n");
}

// On a full disk the configuration can still be read and exported. (The disk is a small tmpfs;
// without the right to mount one the test is skipped.)
TEST_F(CliRegFileTest, ShowAndExportReadAFullDisk) {
    const std::string disk = Folder() + "/disk";
    std::filesystem::create_directories(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=512k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs";
    }
    const std::string registry = disk + "/registry.db";
    EXPECT_EQ(CtlOn(registry, {"add-board"}).status, 0);
    const std::string exported = CtlOn(registry, {"export"}).out;
    {
        std::ofstream filler(disk + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    const std::string before = ReadFile(registry);
    SQserCtlRun shown = CtlOn(registry, {"show"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Board000"), std::string::npos);
    SQserCtlRun again = CtlOn(registry, {"export"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, exported);
    EXPECT_EQ(ReadFile(registry), before);
    umount2(disk.c_str(), MNT_DETACH);
}
