// qserctl on the SYSTEM hive file of an offline Windows installation, checked with hivex itself
// after each process has ended: what a session writes, byte for byte; what it must leave alone;
// refusals; the backup; a killed commit; two processes at once.
#include "clifixture.h"
#include "testhivefile.h"
#include "testhivex.h"
#include "testnames.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
using SRaw = CTestHivex::SRaw;
using SValues = std::vector<std::pair<std::string, SRaw>>;
using STree = CTestHivex::STree;

const std::string kDriverName = "Brimholde QSER 32bit Utility Ver. 1.10";
// The test installation's Serial service starts at boot (1), not automatically (2).
const std::string kKeptStart =
    "This installation's Serial service has its own Start: it was left as it is.\n";

SRaw Dw(std::uint32_t value) {
    return {4,
            {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

struct SBoardRow {
    const char* name;
    const char* type;
    const char* base;
    bool share;
    const char* com;
    const char* irq;
    const char* vector;
};

SValues BoardValues(const SBoardRow& b) {
    return {{"BoardName", SRaw::Sz(b.name)},
            {"BoardType", SRaw::Sz(b.type)},
            {"BoardBaseAddress", SRaw::Sz(b.base)},
            {"BoardShareIRQEnabled", Dw(b.share ? 1 : 0)},
            {"BoardBaseCOMPort", SRaw::Sz(b.com)},
            {"BoardShareIRQ", SRaw::Sz(b.irq)},
            {"BoardVectorAddress", SRaw::Sz(b.vector)},
            {"BoardStandardModeEnabled", Dw(0)}};
}

struct SPortRow {
    const char* board;
    const char* name;
    const char* com;
    std::uint32_t irq;
    std::uint32_t address;
    std::uint32_t index;
    const char* instance;
    std::uint32_t vector;
};

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

SValues PortValues(const SPortRow& p) {
    return {{"PortName", SRaw::Sz(p.name)},
            {"PortCOMPort", SRaw::Sz(p.com)},
            {"PortIRQ", SRaw::Sz(std::to_string(p.irq))},
            {"PortAddress", SRaw::Sz(Hex(p.address))},
            {"PortIndex", SRaw::Sz(std::to_string(p.index))},
            {"PortSerialPort", SRaw::Sz(p.instance)}};
}

SValues InstanceValues(const SPortRow& p) {
    return {{"DosDevices", SRaw::Sz(p.com)},
            {"ForceFifoEnable", Dw(1)},
            {"Indexed", Dw(0)},
            {"Interrupt", Dw(p.irq)},
            {"InterruptStatus", Dw(p.vector)},
            {"PortAddress", Dw(p.address)},
            {"PortIndex", Dw(p.index)}};
}

SRaw ValueOf(const SValues& values, const std::string& name) {
    for (const auto& [valueName, raw] : values) {
        if (valueName == name) {
            return raw;
        }
    }
    ADD_FAILURE() << "no value " << name;
    return {};
}

// Compares two whole trees key by key, so a failure names the key.
void ExpectTree(const STree& actual, const STree& expected) {
    for (const auto& [path, values] : expected) {
        auto found = actual.find(path);
        if (found == actual.end()) {
            ADD_FAILURE() << "missing key " << path;
        } else {
            EXPECT_EQ(found->second, values) << path;
        }
    }
    for (const auto& [path, values] : actual) {
        EXPECT_TRUE(expected.count(path) != 0) << "unexpected key " << path;
    }
}

STree Below(const STree& tree, const std::string& prefix) {
    STree part;
    for (const auto& [path, values] : tree) {
        if (path == prefix || path.rfind(prefix + "\\", 0) == 0) {
            part.emplace(path, values);
        }
    }
    return part;
}

class CliHiveFileTest : public CCliFixture {
protected:
    std::string HivePath() const { return Folder() + "/SYSTEM"; }
    std::string BackupPath() const { return HivePath() + ".qser-backup"; }
    void MakeHive(const CTestHiveFile::SOptions& options = {}) {
        CTestHiveFile::WriteSystem(HivePath(), options);
    }
    SQserCtlRun OnHive(std::vector<std::string> args) const {
        return CtlOn(HivePath(), std::move(args));
    }
    SQserCtlRun OkOnHive(std::vector<std::string> args) const {
        SQserCtlRun run = OnHive(args);
        EXPECT_EQ(run.status, 0) << ::testing::PrintToString(args) << "\n" << run.err;
        // The service control manager of an offline installation cannot be reached: the close's
        // stop and start of the serial service fail without a word. (The Save names the
        // service's values it kept.)
        std::string err = run.err;
        if (const std::size_t kept = err.find(kKeptStart); kept != std::string::npos) {
            err.erase(kept, kKeptStart.size());
        }
        EXPECT_EQ(err.find("service"), std::string::npos) << run.err;
        return run;
    }
    STree Tree() const { return CTestHivex(HivePath()).Tree(); }
    std::string Bytes() const { return ReadFile(HivePath()); }
    // Names beside the hive: a backup, temporary files.
    std::vector<std::string> Beside() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("SYSTEM", 0) == 0 && name != "SYSTEM") {
                names.push_back(name);
            }
        }
        return names;
    }
};

struct SSessionCase {
    const char* name;
    unsigned current;
};

void PrintTo(const SSessionCase& row, std::ostream* os) {
    *os << row.name;
}

class CliHiveSessionTest : public CliHiveFileTest,
                           public ::testing::WithParamInterface<SSessionCase> {};

const SSessionCase kSessionCases[] = {{"ControlSet001", 1}, {"ControlSet002", 2}};
} // namespace

// Two boards of different models, ports added to both, picks on a port, one port deleted, Save:
// afterwards the file holds exactly the expected keys and values (names, types, bytes, order) in
// the current control set, and every other key of the file is as it was. The machine's own
// instance keys Serial002 and Serial003 are passed over by the names the ports get.
TEST_P(CliHiveSessionTest, AdministratorSessionIsStoredKeyByKeyAndValueByValue) {
    CTestHiveFile::SOptions options;
    options.current = GetParam().current;
    options.bSecondSet = true;
    options.extraInstances = {{"Serial002", u"COM20"}, {"Serial003", u"COM21"}};
    MakeHive(options);
    const STree before = Tree();
    const std::string original = Bytes();

    EXPECT_EQ(OkOnHive({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300",
                        "BoardBaseCOMPort=COM5", "BoardShareIRQEnabled=on", "BoardShareIRQ=5"})
                  .out,
              "Board000\n");
    EXPECT_EQ(OkOnHive({"add-board", "BoardType=RX-201"}).out, "Board001\n");
    EXPECT_EQ(OkOnHive({"add-port", "Board000"}).out, "Port000\nPort001\nPort002\nPort003\n");
    EXPECT_EQ(OkOnHive({"add-port", "Board001"}).out, "Port000\n");
    EXPECT_EQ(OkOnHive({"add-port", "Board001"}).out, "Port001\n");
    OkOnHive({"set", "Board001/Port000", "PortCOMPort=COM12", "PortIRQ=3", "PortAddress=0x2e8"});
    OkOnHive({"--yes", "delete", "Board001/Port001"});
    OkOnHive({"save"});

    const std::string set = "ControlSet00" + std::to_string(GetParam().current);
    const std::string services = set + "\\Services\\";
    const std::string parameters = services + "Serial\\Parameters\\";
    STree expected = before;
    expected[services + "QSERDRV"] = {{"SystemDriverName", SRaw::Sz(kDriverName)},
                                      {"SystemNumBoards", SRaw::Sz("2")},
                                      {"SystemNumPorts", SRaw::Sz("5")}};
    const SBoardRow boards[] = {{"Board000", "RX-404", "0x300", true, "COM5", "5", "0x2d0"},
                                {"Board001", "RX-201", "0x200", false, "COM3", "NONE", "NONE"}};
    for (const SBoardRow& board : boards) {
        expected[services + "QSERDRV\\" + board.name] = BoardValues(board);
    }
    const SPortRow ports[] = {
        {"Board000", "Port000", "COM5", 5, 0x300, 1, "Serial004", 0x2d0},
        {"Board000", "Port001", "COM6", 5, 0x308, 2, "Serial005", 0x2d0},
        {"Board000", "Port002", "COM7", 5, 0x310, 3, "Serial006", 0x2d0},
        {"Board000", "Port003", "COM8", 5, 0x318, 4, "Serial007", 0x2d0},
        {"Board001", "Port000", "COM12", 3, 0x2e8, 1, "Serial008", 0},
    };
    for (const SPortRow& port : ports) {
        expected[services + "QSERDRV\\" + port.board + "\\" + port.name] = PortValues(port);
        expected[parameters + port.instance] = InstanceValues(port);
    }
    // The service's values keep their places; the registration's new ones follow them.
    const SValues& serial = before.at(services + "Serial");
    const SRaw imagePath = ValueOf(serial, "ImagePath");
    const SRaw dependOn = ValueOf(serial, "DependOnService");
    EXPECT_EQ(imagePath.type, 2u);
    EXPECT_EQ(dependOn.type, 7u);
    expected[services + "Serial"] = {{"Type", Dw(1)},
                                     {"Start", Dw(1)},
                                     {"ImagePath", imagePath},
                                     {"Group", SRaw::Sz("Extended base")},
                                     {"DependOnService", dependOn},
                                     {"ErrorControl", Dw(0)},
                                     {"ForceFifoEnable", Dw(1)},
                                     {"Rxfifo", Dw(8)},
                                     {"Tag", Dw(1)},
                                     {"Txfifo", Dw(1)}};
    ExpectTree(Tree(), expected);

    // The backup is the file as it was before the first change.
    EXPECT_EQ(ReadFile(BackupPath()), original);
    EXPECT_EQ(Beside(), std::vector<std::string>{"SYSTEM.qser-backup"});
}

// show, show --json and check read the hive through the same loading code.
TEST_P(CliHiveSessionTest, ShowAndCheckSeeTheCurrentSetAndTheMachinesOwnPorts) {
    CTestHiveFile::SOptions options;
    options.current = GetParam().current;
    options.bSecondSet = true;
    options.extraInstances = {{"Serial002", u"COM7"}};
    MakeHive(options);
    OkOnHive({"add-board", "BoardType=RX-201"});
    OkOnHive({"add-port", "Board000"});
    OkOnHive({"set", "Board000/Port000", "PortCOMPort=COM7"});

    const nlohmann::json json = nlohmann::json::parse(OkOnHive({"show", "--json"}).out);
    EXPECT_EQ(json["SystemNumBoards"], "1");
    EXPECT_EQ(json["Boards"][0]["Ports"][0]["PortSerialPort"], "Serial003");
    EXPECT_EQ(json["Boards"][0]["Ports"][0]["PortCOMPort"], "COM7");
    EXPECT_NE(OkOnHive({"show"}).out.find("    PortSerialPort: Serial003\n"), std::string::npos);

    const SQserCtlRun check = OnHive({"check", "--json"});
    EXPECT_EQ(check.status, 4) << check.err;
    const nlohmann::json report = nlohmann::json::parse(check.out);
    bool taken = false;
    for (const auto& finding : report["findings"]) {
        if (finding["code"] == "com-taken") {
            taken = true;
            EXPECT_EQ(finding["items"],
                      (nlohmann::json{
                          "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Board000\\Port000",
                          "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Serial002"}));
        }
    }
    EXPECT_TRUE(taken) << check.out;
}

// An installation of Windows 2000 or later with its built-in COM1 and COM2 under Enum and a COM
// name database marking them and the foreign COM12 and COM256 (with a USB adapter on COM7 that
// is unplugged now): ports of ours reserve their numbers at Save, give them back when renamed or
// removed unless a port of the machine still has them, and no other bit, key or value moves.
TEST_P(CliHiveSessionTest, OurPortsReserveTheirComNumbersAndLeaveTheMachinesAlone) {
    CTestHiveFile::SOptions options;
    options.current = GetParam().current;
    options.bMachinePorts = true;
    MakeHive(options);
    const std::string set = "ControlSet00" + std::to_string(GetParam().current);
    const std::string usb = set + "\\Enum\\USB\\VID_0403&PID_6001\\A1B2";
    {
        CTestHivex hive(HivePath(), true);
        hive.SetText(usb + "\\Device Parameters", "PortName", 1, u"COM7");
        hive.Commit();
    }
    const STree before = Tree();
    const std::string arbiter = set + "\\Control\\COM Name Arbiter";
    auto comDB = [&](std::uint8_t first, std::uint8_t second) {
        std::vector<std::uint8_t> bits(32, 0);
        bits[0] = first;
        bits[1] = second;
        bits[31] = 0x80;
        return STree::mapped_type{{"ComDB", SRaw{3, bits}}};
    };
    // Everything but what is ours is as it was, and the database holds exactly these bits.
    auto expectMachineKept = [&](std::uint8_t first, std::uint8_t second) {
        STree expected = before;
        expected[arbiter] = comDB(first, second);
        STree actual = Tree();
        for (const std::string& ours : {set + "\\Services\\QSERDRV", set + "\\Services\\Serial"}) {
            for (const auto& [path, values] : Below(actual, ours)) {
                expected[path] = values;
            }
        }
        ExpectTree(actual, expected);
    };

    OkOnHive({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300", "BoardBaseCOMPort=COM3",
              "BoardShareIRQEnabled=on", "BoardShareIRQ=5"});
    OkOnHive({"add-port", "Board000"});
    EXPECT_EQ(OkOnHive({"save"}).err, kKeptStart + "Configuration's been saved to registry!\n");
    expectMachineKept(0x3f, 0x08);
    // The serial service's own values stay; only those it lacked were added.
    const SValues serial = Tree().at(set + "\\Services\\Serial");
    EXPECT_EQ(ValueOf(serial, "Start"), Dw(1));
    EXPECT_EQ(ValueOf(serial, "Txfifo"), Dw(1));

    // COM3-COM6 renamed COM5-COM8: 3 and 4 go back. Renamed back: 8 goes back, 7 stays with the
    // USB adapter that has it.
    OkOnHive({"set", "Board000", "BoardBaseCOMPort=COM5"});
    OkOnHive({"save"});
    expectMachineKept(0xf3, 0x08);
    OkOnHive({"set", "Board000", "BoardBaseCOMPort=COM3"});
    OkOnHive({"save"});
    expectMachineKept(0x7f, 0x08);

    // A removed port gives its number back, unless another port has it too.
    OkOnHive({"add-board", "BoardType=RX-201"});
    OkOnHive({"add-port", "Board001"});
    OkOnHive({"set", "Board001/Port000", "PortCOMPort=COM6"});
    OkOnHive({"save"});
    OkOnHive({"--yes", "delete", "Board001/Port000"});
    expectMachineKept(0x7f, 0x08);
    OkOnHive({"add-port", "Board001"});
    OkOnHive({"set", "Board001/Port000", "PortCOMPort=COM10"});
    OkOnHive({"save"});
    expectMachineKept(0x7f, 0x0a);
    OkOnHive({"--yes", "delete", "Board001/Port000"});
    expectMachineKept(0x7f, 0x08);
}

INSTANTIATE_TEST_SUITE_P(Sets, CliHiveSessionTest, ::testing::ValuesIn(kSessionCases), SRowName());

// Export of the driver key gives the Latin-1 text the SQLite file would give; New removes it and
// our instance keys only; import brings the configuration back; text types the import writes
// are UTF-16LE in the file and keep their type.
TEST_F(CliHiveFileTest, RegFilesCarryTheConfigurationOutAndBackIn) {
    MakeHive();
    OkOnHive({"add-board", "BoardType=RX-201"});
    OkOnHive({"add-port", "Board000"});
    OkOnHive({"set", "Board000/Port000", "PortAddress=0x2e8"});
    const std::string driverKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV";
    const std::string exported = OkOnHive({"export", driverKey}).out;
    EXPECT_NE(exported.find("[HKEY_LOCAL_MACHINE\\" + driverKey +
                            "\\Board000\\Port000]\r\n\"PortName\"=\"Port000\"\r\n"
                            "\"PortCOMPort\"=\"COM3\"\r\n\"PortIRQ\"=\"7\"\r\n"
                            "\"PortAddress\"=\"0x2e8\"\r\n"),
              std::string::npos)
        << exported;
    const nlohmann::json shown = nlohmann::json::parse(OkOnHive({"show", "--json"}).out);

    OkOnHive({"--yes", "new"});
    EXPECT_EQ(CTestHivex(HivePath()).Find("ControlSet001\\Services\\QSERDRV\\Board000"), 0u);
    EXPECT_EQ(CTestHivex(HivePath()).Find("ControlSet001\\Services\\Serial\\Parameters\\Serial002"),
              0u);
    EXPECT_NE(
        CTestHivex(HivePath()).Find("ControlSet001\\Services\\Serial\\Parameters\\Serial10000"),
        0u);

    OkOnHive({"import", WriteFile("config.reg", exported)});
    EXPECT_EQ(nlohmann::json::parse(OkOnHive({"show", "--json"}).out), shown);

    OkOnHive({"import", WriteFile("types.reg",
                                  Reg({"[HKEY_LOCAL_MACHINE\\" + driverKey + "\\Extra]",
                                       "\"Plain\"=\"Caf\xe9\"", "\"Expand\"=hex(2):25,41,25,00",
                                       "\"Multi\"=hex(7):61,00,62,00,00",
                                       "\"Number\"=dword:00000102", "\"Bytes\"=hex:01,02,03"}))});
    CTestHivex raw(HivePath());
    const std::string extra = "ControlSet001\\Services\\QSERDRV\\Extra";
    EXPECT_EQ(raw.Values(extra), (SValues{{"Plain", SRaw::Sz("Caf\xe9")},
                                          {"Expand", {2, {'%', 0, 'A', 0, '%', 0, 0, 0}}},
                                          {"Multi", {7, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}}},
                                          {"Number", Dw(0x102)},
                                          {"Bytes", {3, {1, 2, 3}}}}));
}

// Commands that only read leave the file as it was and make no backup; commands that cannot be
// carried out on such a file say why and leave it too.
struct SUntouchedCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* says; // a part of standard error; empty: nothing at all
    std::map<std::string, std::string> environment;
};

void PrintTo(const SUntouchedCase& row, std::ostream* os) {
    *os << row.name;
}

const std::string kOffline = "is the SYSTEM hive of an offline Windows installation: no service "
                             "runs there and no service control manager can be asked";
const std::string kNot9x = "Windows 95/98 keep their registry in another format";

const SUntouchedCase kUntouched[] = {
    {"Show", {"show"}, 0, "", {}},
    {"ShowJson", {"show", "--json"}, 0, "", {}},
    {"Export", {"export"}, 0, "", {}},
    {"Check", {"check"}, 0, "", {}},
    {"ServiceStatus", {"service", "status", "Serial"}, 1, kOffline.c_str(), {}},
    {"ServiceStop", {"service", "stop", "Serial"}, 1, kOffline.c_str(), {}},
    {"ServiceStart", {"service", "start", "Serial"}, 1, kOffline.c_str(), {}},
    {"ServiceSet", {"service", "set", "Serial", "refuse-stop=on"}, 1, kOffline.c_str(), {}},
    {"Platform9xShow", {"--platform", "9x", "show"}, 1, kNot9x.c_str(), {}},
    {"Platform9xAddBoard", {"--platform", "9x", "add-board"}, 1, kNot9x.c_str(), {}},
    {"Environment9xAddBoard", {"add-board"}, 1, kNot9x.c_str(), {{"QSER_PLATFORM", "9x"}}},
};

class CliHiveUntouchedTest : public CliHiveFileTest,
                             public ::testing::WithParamInterface<SUntouchedCase> {};

TEST_P(CliHiveUntouchedTest, LeavesTheFileByteForByte) {
    MakeHive();
    const std::string before = Bytes();
    std::vector<std::string> args = {"--registry", HivePath()};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const SQserCtlRun run = CQserCtlRunner(Folder()).Run(args, {}, GetParam().environment);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    if (*GetParam().says == '\0') {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(HivePath()), std::string::npos) << run.err;
    }
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Beside(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Commands, CliHiveUntouchedTest, ::testing::ValuesIn(kUntouched),
                         SRowName());

// Files that cannot be used are refused by every command with the file and the reason, and left
// byte for byte.
struct SRefusedCase {
    const char* name;
    void (*damage)(const std::string& path);
    const char* reason;
};

void PrintTo(const SRefusedCase& row, std::ostream* os) {
    *os << row.name;
}

const SRefusedCase kRefused[] = {
    {"NotASystemHive", nullptr, "it is not the SYSTEM hive of a Windows installation"},
    {"Dirty", CTestHiveFile::MakeDirty,
     "it was not shut down cleanly: its changes are still in the transaction logs"},
    {"BadChecksum", CTestHiveFile::BreakChecksum,
     "its header is damaged (the checksum does not match)"},
    {"TruncatedHeader", [](const std::string& path) { CTestHiveFile::Truncate(path, 2000); },
     "it is truncated (it ends inside its 4096-byte header)"},
    {"TruncatedBins", [](const std::string& path) { CTestHiveFile::Truncate(path, 4096 + 4096); },
     "it is truncated (its header announces"},
};

class CliHiveRefusedTest : public CliHiveFileTest,
                           public ::testing::WithParamInterface<SRefusedCase> {};

TEST_P(CliHiveRefusedTest, EveryCommandSaysWhyAndLeavesTheFile) {
    CTestHiveFile::SOptions options;
    options.bSelect = GetParam().damage != nullptr;
    MakeHive(options);
    if (GetParam().damage != nullptr) {
        GetParam().damage(HivePath());
    }
    const std::string before = Bytes();
    const std::vector<std::vector<std::string>> commands = {
        {"show"},
        {"add-board"},
        {"save"},
        {"--yes", "new"},
        {"export"},
        {"check"},
        {"import", WriteFile("empty.reg", Reg({}))},
        {"service", "status", "Serial"}};
    for (const auto& command : commands) {
        const SQserCtlRun run = OnHive(command);
        EXPECT_EQ(run.status, 1) << command[0];
        EXPECT_NE(run.err.find("qserctl: Cannot use registry file '" + HivePath() + "': "),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(GetParam().reason), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << command[0];
    }
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Beside(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Files, CliHiveRefusedTest, ::testing::ValuesIn(kRefused), SRowName());

// The backup is made once, by the first change; later processes never replace it.
TEST_F(CliHiveFileTest, BackupIsTheOriginalMadeAtTheFirstChangeOnly) {
    MakeHive();
    const std::string original = Bytes();
    OkOnHive({"show"});
    OkOnHive({"export"});
    EXPECT_EQ(Beside(), std::vector<std::string>{});
    OkOnHive({"add-board", "BoardType=RX-201"});
    EXPECT_EQ(ReadFile(BackupPath()), original);
    const std::string afterFirst = Bytes();
    EXPECT_NE(afterFirst, original);
    OkOnHive({"add-port", "Board000"});
    OkOnHive({"--yes", "delete", "Board000"});
    EXPECT_EQ(ReadFile(BackupPath()), original);
    EXPECT_EQ(Beside(), std::vector<std::string>{"SYSTEM.qser-backup"});
}

namespace {
// Starts the built qserctl without waiting for it; its output goes nowhere.
pid_t StartQserctl(std::vector<std::string> args) {
    args.insert(args.begin(), QSERCTL_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, QSERCTL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return started == 0 ? child : -1;
}

std::size_t BoardKeys(const STree& tree) {
    std::size_t boards = 0;
    for (const auto& [path, values] : tree) {
        boards += path.rfind("ControlSet001\\Services\\QSERDRV\\Board", 0) == 0 &&
                  path.find('\\', 31) == std::string::npos;
    }
    return boards;
}
} // namespace

// A qserctl killed at random moments of add-board on a large hive leaves the state before or
// after that command, whole: hivex opens the file, the board count the session saved matches
// the board keys, and the rest of the file is as it was.
TEST_F(CliHiveFileTest, KilledCommitLeavesTheOldOrTheNewStateWhole) {
    CTestHiveFile::SOptions options;
    options.bulkServices = 1500;
    MakeHive(options);
    const STree original = Tree();
    const std::vector<std::string> add = {"--registry", HivePath(), "add-board",
                                          "BoardType=RX-201"};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(CQserCtlRunner(Folder()).Run(add).status, 0);
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    std::mt19937 random(20240607);
    std::size_t boards = BoardKeys(Tree());
    std::size_t completed = 0;
    for (int round = 0; round < 16 && boards < 10; ++round) {
        const pid_t child = StartQserctl(add);
        ASSERT_GT(child, 0);
        // The commit is the end of the run: most kills land in its second half.
        std::this_thread::sleep_for(std::chrono::microseconds(
            runTime.count() / 2 + static_cast<long>(random() % (runTime.count() / 2 + 1))));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        const STree tree = Tree();
        const std::size_t now = BoardKeys(tree);
        ASSERT_TRUE(now == boards || now == boards + 1) << round << ": " << now;
        completed += now - boards;
        boards = now;
        const SValues& driver = tree.at("ControlSet001\\Services\\QSERDRV");
        EXPECT_EQ(ValueOf(driver, "SystemNumBoards"), SRaw::Sz(std::to_string(boards))) << round;
        for (const auto& [path, values] : tree) {
            if (path.rfind("ControlSet001\\Services\\QSERDRV\\Board", 0) == 0) {
                EXPECT_EQ(values.size(), 8u) << path;
            }
        }
        EXPECT_EQ(Below(tree, "ControlSet001\\Services\\Tcpip"),
                  Below(original, "ControlSet001\\Services\\Tcpip"));
        EXPECT_EQ(tree.size(), original.size() + 1 + boards) << round;
        // The next process reads what this one left.
        EXPECT_EQ(OkOnHive({"show", "--json"}).status, 0);
    }
    RecordProperty("commands_completed", static_cast<int>(completed));
}

// Two qserctl processes, each adding ports to its own board and choosing their COM names, lose
// nothing: every port is there with its pick, and the instance names they reserved at the same
// time are all different.
TEST_F(CliHiveFileTest, TwoProcessesOnOneFileLoseNothing) {
    MakeHive();
    OkOnHive({"add-board", "BoardType=RX-209"});
    OkOnHive({"add-board", "BoardType=RX-209"});
    constexpr int kPorts = 4;
    std::vector<std::string> failures[2];
    std::vector<std::thread> workers;
    for (int w = 0; w < 2; ++w) {
        workers.emplace_back([&, w] {
            const std::string folder = Folder() + "/worker" + std::to_string(w);
            std::filesystem::create_directory(folder);
            CQserCtlRunner runner(folder);
            const std::string board = "Board00" + std::to_string(w);
            for (int p = 0; p < kPorts; ++p) {
                const std::string port = board + "/Port00" + std::to_string(p);
                for (const std::vector<std::string>& args :
                     {std::vector<std::string>{"add-port", board},
                      {"set", port, "PortCOMPort=COM" + std::to_string(10 + w * kPorts + p)}}) {
                    std::vector<std::string> full = {"--registry", HivePath()};
                    full.insert(full.end(), args.begin(), args.end());
                    const SQserCtlRun run = runner.Run(full);
                    if (run.status != 0) {
                        failures[w].push_back(args[0] + ": " + run.err);
                    }
                }
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(failures[0], std::vector<std::string>{});
    EXPECT_EQ(failures[1], std::vector<std::string>{});

    OkOnHive({"save"});
    const nlohmann::json json = nlohmann::json::parse(OkOnHive({"show", "--json"}).out);
    EXPECT_EQ(json["SystemNumPorts"], std::to_string(2 * kPorts));
    CTestHivex raw(HivePath());
    std::set<std::string> instances;
    for (int w = 0; w < 2; ++w) {
        const nlohmann::json& ports = json["Boards"][w]["Ports"];
        ASSERT_EQ(ports.size(), static_cast<std::size_t>(kPorts)) << w;
        for (int p = 0; p < kPorts; ++p) {
            const std::string com = "COM" + std::to_string(10 + w * kPorts + p);
            EXPECT_EQ(ports[p]["PortCOMPort"], com);
            const std::string instance = ports[p]["PortSerialPort"];
            instances.insert(instance);
            EXPECT_EQ(
                raw.Get("ControlSet001\\Services\\Serial\\Parameters\\" + instance, "DosDevices"),
                SRaw::Sz(com));
        }
    }
    EXPECT_EQ(instances.size(), static_cast<std::size_t>(2 * kPorts));
}

// A .reg file reaching beyond SYSTEM cannot be merged into the hive file: nothing of it is kept,
// and the reason is the file's, not a bare error number.
TEST_F(CliHiveFileTest, ImportBeyondSystemSaysWhyAndKeepsNothing) {
    MakeHive();
    const std::string before = Bytes();
    const SQserCtlRun run = OnHive(
        {"import", WriteFile("beyond.reg",
                             Reg({"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\New]",
                                  "\"Type\"=dword:00000001", "",
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]", "\"A\"=\"b\""}))});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("beyond.reg:6: cannot create key \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\" "
                     "(a Windows SYSTEM hive file holds HKEY_LOCAL_MACHINE\\SYSTEM only)\n"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Beside(), std::vector<std::string>{});
}
