#include "clifixture.h"
#include "expectedmessages.h"
#include "testkeypaths.h"
#include "testnames.h"

namespace {
struct SFamily {
    const char* name;
    const char* option;
    bool windowsNT;
    // The operating-system instance names the five ports of the session get, in order.
    std::vector<std::string> instances;
};

void PrintTo(const SFamily& row, std::ostream* os) {
    *os << row.name;
}

const SFamily kFamilies[] = {
    {"WindowsNT", "nt", true, {"Serial002", "Serial003", "Serial004", "Serial005", "Serial006"}},
    {"Windows9x", "9x", false, {"0000", "0001", "0002", "0003", "0004"}},
};

class CliSessionTest : public CCliFixture, public ::testing::WithParamInterface<SFamily> {
protected:
    SQserCtlRun Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--platform", GetParam().option});
        return Ok(args);
    }
    // The key of a port's operating-system instance, where the family keeps the COM name.
    std::string InstanceKey(const std::string& instance) const {
        return GetParam().windowsNT ? kSerialParameters + "\\" + instance
                                    : kEnumRootPorts + "\\" + instance;
    }
    std::string ComNameLine(const std::string& com) const {
        return GetParam().windowsNT ? "\"DosDevices\"=\"" + com + "\"\r\n"
                                    : "\"PORTNAME\"=\"" + com + "\"\r\n";
    }
    bool KeyExists(const std::string& key) const { return Ctl({"export", key}).status == 0; }
};
} // namespace

TEST_P(CliSessionTest, AdministratorSessionReachesTheDriverKeyAndThePortRegistry) {
    const SFamily& family = GetParam();
    SQserCtlRun added =
        Run({"add-board", "BoardType=RX-404", "boardbaseaddress=0x300", "BoardBaseCOMPort=com5",
             "BoardShareIRQEnabled=on", "BoardShareIRQ=5"});
    EXPECT_EQ(added.out, "Board000\n");
    EXPECT_NE(added.err.find(kSetConfigurationNotice.text + "\n"), std::string::npos);
    EXPECT_EQ(added.err.find(kRestartNotice.text) != std::string::npos, !family.windowsNT);
    EXPECT_EQ(Run({"add-board", "BoardType=RX-201"}).out, "Board001\n");
    EXPECT_EQ(Run({"add-port", "Board000"}).out, "Port000\nPort001\nPort002\nPort003\n");
    EXPECT_EQ(Run({"add-port", "board001"}).out, "Port000\n");
    Run({"set", "Board001/Port000", "PortCOMPort=COM12", "PortIRQ=3", "PortAddress=0x2e8"});
    // Already off: no click, which would have turned it on.
    Run({"set", "Board000", "BoardStandardModeEnabled=off"});

    nlohmann::json json = ShowJson();
    EXPECT_EQ(json["SystemNumBoards"], "2");
    EXPECT_EQ(json["SystemNumPorts"], "5");
    const nlohmann::json& block = json["Boards"][0];
    EXPECT_EQ(block["BoardName"], "Board000");
    EXPECT_EQ(block["BoardType"], "RX-404");
    EXPECT_EQ(block["BoardBaseAddress"], "0x300");
    EXPECT_EQ(block["BoardBaseCOMPort"], "COM5");
    EXPECT_EQ(block["BoardShareIRQEnabled"], 1);
    EXPECT_EQ(block["BoardShareIRQ"], "5");
    EXPECT_EQ(block["BoardStandardModeEnabled"], 0);
    const char* addresses[] = {"0x300", "0x308", "0x310", "0x318"};
    ASSERT_EQ(block["Ports"].size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const nlohmann::json& port = block["Ports"][i];
        EXPECT_EQ(port["PortName"], "Port00" + std::to_string(i));
        EXPECT_EQ(port["PortCOMPort"], "COM" + std::to_string(5 + i));
        EXPECT_EQ(port["PortAddress"], addresses[i]);
        EXPECT_EQ(port["PortIRQ"], "5");
        EXPECT_EQ(port["PortIndex"], std::to_string(i + 1));
        EXPECT_EQ(port["PortSerialPort"], family.instances[i]);
    }
    const nlohmann::json& single = json["Boards"][1]["Ports"][0];
    EXPECT_EQ(single, (nlohmann::json{{"PortName", "Port000"},
                                      {"PortCOMPort", "COM12"},
                                      {"PortIRQ", "3"},
                                      {"PortAddress", "0x2e8"},
                                      {"PortIndex", "1"},
                                      {"PortSerialPort", family.instances[4]}}));

    std::string driverKey = Export(kDriverKey);
    EXPECT_NE(driverKey.find("[HKEY_LOCAL_MACHINE\\" + kDriverKey +
                             "\\Board001\\Port000]\r\n\"PortName\"=\"Port000\"\r\n"
                             "\"PortCOMPort\"=\"COM12\"\r\n\"PortIRQ\"=\"3\"\r\n"
                             "\"PortAddress\"=\"0x2e8\"\r\n"),
              std::string::npos)
        << driverKey;
    // Every port was registered with the operating system at the close's save.
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NE(Export(InstanceKey(family.instances[i]))
                      .find(ComNameLine("COM" + std::to_string(5 + i))),
                  std::string::npos);
    }
    EXPECT_NE(Export(InstanceKey(family.instances[4])).find(ComNameLine("COM12")),
              std::string::npos);
    // The close restarted the serial service on Windows NT; Windows 95/98 has none.
    EXPECT_EQ(Ok({"service", "status", "Serial"}).out,
              family.windowsNT
                  ? "Serial: installed, running, refuse-stop=off, marked-for-deletion=off\n"
                  : "Serial: not installed\n");

    // Deleting one port of a block board deletes all four, with their registrations.
    Run({"--yes", "delete", "Board000/Port002"});
    json = ShowJson();
    EXPECT_TRUE(json["Boards"][0]["Ports"].empty());
    EXPECT_EQ(json["SystemNumPorts"], "1");
    EXPECT_FALSE(KeyExists(PortKey("Board000", "Port000")));
    EXPECT_FALSE(KeyExists(InstanceKey(family.instances[0])));
    EXPECT_TRUE(KeyExists(InstanceKey(family.instances[4])));

    Run({"--yes", "delete", "Board001"});
    EXPECT_EQ(ShowJson()["SystemNumBoards"], "1");
    EXPECT_FALSE(KeyExists(BoardKey("Board001")));

    Run({"--yes", "new"});
    json = ShowJson();
    EXPECT_TRUE(json["Boards"].empty());
    EXPECT_EQ(json["SystemNumBoards"], "0");
    EXPECT_FALSE(KeyExists(BoardKey("Board000")));
}

TEST_P(CliSessionTest, SaveRegistersEvenWhenNothingChanged) {
    Run({"add-board", "BoardType=RX-201"});
    Run({"add-port", "Board000"});
    const std::string instanceKey = InstanceKey(GetParam().instances[0]);
    Ok({"import", WriteFile("drop.reg", Reg({"[-HKEY_LOCAL_MACHINE\\" + instanceKey + "]"}))});
    ASSERT_FALSE(KeyExists(instanceKey));
    SQserCtlRun saved = Run({"save"});
    EXPECT_EQ(saved.err, kSavedNotice.text + "\n");
    EXPECT_TRUE(KeyExists(instanceKey));
}

INSTANTIATE_TEST_SUITE_P(Families, CliSessionTest, ::testing::ValuesIn(kFamilies), SRowName());

using CliShowTest = CCliFixture;

TEST_F(CliShowTest, ShowPrintsTheLoadedConfigurationAsAnIndentedTree) {
    Ok({"add-board", "BoardType=RX-201"});
    Ok({"add-port", "Board000"});
    EXPECT_EQ(Ok({"show"}).out, "SystemDriverName: Brimholde QSER 32bit Utility Ver. 1.10\n"
                                "SystemNumBoards: 1\n"
                                "SystemNumPorts: 1\n"
                                "Board000\n"
                                "  BoardType: RX-201\n"
                                "  BoardBaseAddress: 0x200\n"
                                "  BoardBaseCOMPort: COM3\n"
                                "  BoardShareIRQEnabled: 0\n"
                                "  BoardShareIRQ: NONE\n"
                                "  BoardVectorAddress: NONE\n"
                                "  BoardStandardModeEnabled: 0\n"
                                "  Port000\n"
                                "    PortCOMPort: COM3\n"
                                "    PortIRQ: 7\n"
                                "    PortAddress: 0x200\n"
                                "    PortIndex: 1\n"
                                "    PortSerialPort: Serial002\n");
}

TEST_F(CliShowTest, ShowGivesLatin1TextsAsUtf8AndChangesNothing) {
    Ok({"add-board"});
    Ok({"import", WriteFile("name.reg", Reg({"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\"
                                             "Services\\QSERDRV\\Board000]",
                                             "\"BoardVectorAddress\"=\"Caf\xe9\""}))});
    SSnapshot before = Snapshot();
    EXPECT_EQ(ShowJson()["Boards"][0]["BoardVectorAddress"], "Caf\xc3\xa9");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliShowTest, ShowOnAHiveWithoutTheDriverKeyLeavesItWithout) {
    Ok({"import", WriteFile("other.reg", Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]"}))});
    SSnapshot before = Snapshot();
    nlohmann::json json = ShowJson();
    EXPECT_EQ(json["SystemNumBoards"], "0");
    EXPECT_TRUE(json["Boards"].empty());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(Ctl({"export", "SYSTEM"}).status, 2);
}

TEST_F(CliShowTest, EnvironmentChoosesTheRegistryFileAndThePlatform) {
    // No --registry: QSER_REGISTRY names the file, and QSER_PLATFORM the family.
    CQserCtlRunner runner(Folder());
    std::map<std::string, std::string> environment = {{"QSER_REGISTRY", RegistryPath()},
                                                      {"QSER_PLATFORM", "9x"}};
    SQserCtlRun run = runner.Run({"add-board"}, {}, environment);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(kRestartNotice.text), std::string::npos);
    EXPECT_EQ(ShowJson()["SystemNumBoards"], "1");
    // The option wins over the variable.
    run = runner.Run({"--platform", "nt", "add-board"}, {}, environment);
    EXPECT_EQ(run.err.find(kRestartNotice.text), std::string::npos);
}
