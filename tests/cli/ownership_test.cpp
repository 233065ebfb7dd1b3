#include "clifixture.h"
#include "rawdatabase.h"

namespace {
using CliOwnershipTest = CCliFixture;

const std::string kDriver = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QSERDRV";
const std::string kParameters = "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters";

// A board of an individually addressed model whose first two ports name no instance of their
// own (none stored, a number instead of a text), beside a foreign instance Serial999 that the
// old fallback name would have reached, and a port with an instance of its own.
std::string PortsWithoutInstances() {
    return CCliFixture::Reg({
        "[" + kDriver + "\\Board000]",
        "\"BoardName\"=\"Board000\"",
        "\"BoardType\"=\"RX-202\"",
        "[" + kDriver + "\\Board000\\Port000]",
        "\"PortName\"=\"Port000\"",
        "\"PortCOMPort\"=\"COM5\"",
        "[" + kDriver + "\\Board000\\Port001]",
        "\"PortName\"=\"Port001\"",
        "\"PortSerialPort\"=dword:00000007",
        "[" + kDriver + "\\Board001]",
        "\"BoardName\"=\"Board001\"",
        "\"BoardType\"=\"RX-202\"",
        "[" + kDriver + "\\Board001\\Port000]",
        "\"PortName\"=\"Port000\"",
        "\"PortCOMPort\"=\"COM7\"",
        "\"PortSerialPort\"=\"Serial002\"",
        "[HKEY_LOCAL_MACHINE\\" + kParameters + "\\Serial999]",
        "\"DosDevices\"=\"COM1\"",
    });
}
} // namespace

TEST_F(CliOwnershipTest, ImportedPortsWithoutAnInstanceAreNamedAndNeverReachAnotherKey) {
    Ok({"import", WriteFile("ports.reg", PortsWithoutInstances())});
    const std::string foreign = Export(kParameters + "\\Serial999");

    nlohmann::json shown = ShowJson();
    EXPECT_EQ(shown["Boards"][0]["Ports"][0]["PortSerialPort"], "");
    EXPECT_EQ(shown["Boards"][0]["Ports"][1]["PortSerialPort"], "");

    SQserCtlRun saved = Ctl({"save"});
    EXPECT_EQ(saved.status, 1);
    EXPECT_EQ(saved.err, "Port000 of Board000 and Port001 of Board000 have no valid serial "
                         "instance name; they were not registered.\n"
                         "Configuration's been saved to registry!\n");
    EXPECT_EQ(Export(kParameters + "\\Serial999"), foreign);
    EXPECT_NE(Export(kParameters + "\\Serial002").find("\"DosDevices\"=\"COM7\""),
              std::string::npos);

    // Delete of one port, of a board and New leave the foreign key; only the instance of the
    // port that has one goes with it. Each close registers again and names what is left.
    SQserCtlRun deleted = Ctl({"--yes", "delete", "Board000/Port001"});
    EXPECT_EQ(deleted.status, 1);
    EXPECT_NE(deleted.err.find("\nPort000 of Board000 has no valid serial instance name; it was "
                               "not registered.\n"),
              std::string::npos);
    EXPECT_EQ(Export(kParameters + "\\Serial999"), foreign);
    Ok({"--yes", "delete", "Board000"});
    EXPECT_EQ(Export(kParameters + "\\Serial999"), foreign);
    Ok({"--yes", "new"});
    EXPECT_EQ(Export(kParameters + "\\Serial999"), foreign);
    EXPECT_EQ(Ctl({"export", kParameters + "\\Serial002"}).status, 2);
}

// A hand-edited key under the driver key whose name the registry cannot use: the rest loads,
// every command works and one notice names the key printably.
TEST_F(CliOwnershipTest, KeyWithAnUnusableNameIsLeftOutWithOneNotice) {
    Ok({"add-board", "BoardType=RX-202"});
    Ok({"add-port", "Board000"});
    {
        CRawDatabase raw(RegistryPath());
        ASSERT_EQ(raw.Exec("INSERT INTO keys(parent, name) SELECT id, 'Bo\\' || char(27) || "
                           "'[2J' FROM keys WHERE name = 'QSERDRV'"),
                  0);
        ASSERT_EQ(raw.Exec("INSERT INTO keys(parent, name) SELECT id, X'426F61726430303031' "
                           "FROM keys WHERE name = 'QSERDRV'"),
                  0);
    }
    const std::string notice = "These keys were left out, since the registry cannot use their "
                               "names: \"Bo\\\\x1b[2J\" under QSERDRV and \"Board0001\" under "
                               "QSERDRV.\n";

    SQserCtlRun shown = Ctl({"show"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.err, notice);
    EXPECT_NE(shown.out.find("Board000\n"), std::string::npos);
    EXPECT_NE(shown.out.find("  Port000\n"), std::string::npos);

    SQserCtlRun added = Ctl({"add-board"});
    EXPECT_EQ(added.status, 0) << added.err;
    ASSERT_EQ(added.out.size(), 9u);
    EXPECT_NE(Ctl({"show"}).out.find("\n" + added.out), std::string::npos);
    SQserCtlRun saved = Ctl({"save"});
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.err, notice + "Configuration's been saved to registry!\n");
}
