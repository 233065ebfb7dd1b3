#include "clifixture.h"

namespace {
using CliCheckTest = CCliFixture;

const std::string kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV";

std::vector<std::string> Codes(const nlohmann::json& report) {
    std::vector<std::string> codes;
    for (const auto& finding : report["findings"]) {
        codes.push_back(finding["code"]);
    }
    return codes;
}

} // namespace

TEST_F(CliCheckTest, CleanConfigurationExitsZero) {
    Ok({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300", "BoardShareIRQEnabled=on",
        "BoardShareIRQ=5"});
    Ok({"add-port", "Board000"});
    SQserCtlRun run = Ctl({"check"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0 errors, 0 warnings\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliCheckTest, ConflictsExitFourWithFindingsInJson) {
    Ok({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300", "BoardShareIRQEnabled=on",
        "BoardShareIRQ=5"});
    Ok({"add-port", "Board000"});
    // An individually addressed port on the third address of the first board, on its interrupt,
    // named as its first port, and above COM9.
    Ok({"add-board", "BoardType=RX-201"});
    Ok({"add-port", "Board001"});
    Ok({"set", "Board001/Port000", "PortAddress=0x310", "PortIRQ=5", "PortCOMPort=COM12"});
    Ok({"set", "Board000", "BoardBaseCOMPort=COM12"});

    SQserCtlRun run = Ctl({"check", "--json"});
    EXPECT_EQ(run.status, 4) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(Codes(report),
              (std::vector<std::string>{"io-overlap", "irq-boards", "com-duplicate", "com-high",
                                        "com-high", "com-high", "com-high", "com-high"}));
    EXPECT_EQ(report["errors"], 3);
    EXPECT_EQ(report["warnings"], 5);
    const nlohmann::json& overlap = report["findings"][0];
    EXPECT_EQ(overlap.size(), 4u);
    EXPECT_EQ(overlap["severity"], "error");
    EXPECT_EQ(overlap["items"], (nlohmann::json{kDriverKey + "\\Board000\\Port002",
                                                kDriverKey + "\\Board001\\Port000"}));
    EXPECT_EQ(overlap["message"],
              "Port002 of Board000 (0x310-0x317) overlaps Port000 of Board001 (0x310-0x317).");
    EXPECT_EQ(report["findings"][3]["severity"], "warning");

    SQserCtlRun text = Ctl({"check"});
    EXPECT_EQ(text.status, 4);
    EXPECT_EQ(text.out.rfind("error io-overlap: Port002 of Board000 (0x310-0x317) overlaps "
                             "Port000 of Board001 (0x310-0x317).\n  " +
                                 kDriverKey + "\\Board000\\Port002\n  " + kDriverKey +
                                 "\\Board001\\Port000\n",
                             0),
              0u)
        << text.out;
    EXPECT_NE(text.out.find("\n3 errors, 5 warnings\n"), std::string::npos);
}

TEST_F(CliCheckTest, SeesTheSystemsOwnPortsOfTheChosenFamily) {
    Ok({"add-board", "BoardType=RX-201"});
    Ok({"add-port", "Board000"});
    Ok({"set", "Board000/Port000", "PortAddress=0x3f8", "PortIRQ=4", "PortCOMPort=COM3"});
    Ok({"import",
        WriteFile("system.reg",
                  Reg({"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Serial\\"
                       "Parameters\\Serial000]",
                       "\"DosDevices\"=\"COM3\"", "\"Interrupt\"=dword:00000004",
                       "\"PortAddress\"=dword:000003f8"}))});

    const nlohmann::json nt = nlohmann::json::parse(Ctl({"check", "--json"}).out);
    EXPECT_EQ(Codes(nt),
              (std::vector<std::string>{"io-overlap", "irq-boards", "com-taken", "io-legacy"}));
    EXPECT_EQ(nt["findings"][0]["items"][1],
              "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Serial000");
    // On Windows 95/98 the system's ports are elsewhere.
    const nlohmann::json win9x =
        nlohmann::json::parse(Ctl({"--platform", "9x", "check", "--json"}).out);
    EXPECT_EQ(Codes(win9x), (std::vector<std::string>{"io-legacy"}));
}

// Two boards at one base address with one COM names, the first one's ports on an interrupt it
// does not share: the second board moves to the next free base address and COM names and the
// first shares its interrupt, as the window's fixes pick them. Their one vector register has
// no fix and remains. The dry run says the same and keeps nothing.
TEST_F(CliCheckTest, FixMakesTheWindowsFixesAndReportsWhatRemains) {
    Ok({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300"});
    Ok({"add-port", "Board000"});
    Ok({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300", "BoardShareIRQEnabled=on",
        "BoardShareIRQ=5"});
    Ok({"add-port", "Board001"});
    ASSERT_EQ(Ctl({"check"}).status, 4);
    const SSnapshot before = Snapshot();

    SQserCtlRun dryRun = Ctl({"check", "--fix", "--dry-run"});
    EXPECT_EQ(Snapshot(), before);
    SQserCtlRun fixed = Ctl({"check", "--fix"});
    const std::string fixes = "fixed: Use the next free base address for Board001 (0x200)\n"
                              "fixed: Share the interrupt of Board000\n"
                              "fixed: Use the next free COM names for Board001 (from COM7)\n";
    ASSERT_EQ(fixed.out.substr(0, fixes.size()), fixes) << fixed.out;
    SQserCtlRun after = Ctl({"check"});
    EXPECT_EQ(fixed.out.substr(fixes.size()), after.out);
    EXPECT_EQ(fixed.status, 4);
    EXPECT_EQ(after.status, 4);
    EXPECT_NE(after.out.find("error io-overlap: The vector register"), std::string::npos);
    EXPECT_EQ(dryRun.out, "would fix: Use the next free base address for Board001 (0x200)\n"
                          "would fix: Share the interrupt of Board000\n"
                          "would fix: Use the next free COM names for Board001 (from COM7)\n" +
                              after.out);

    const nlohmann::json config = ShowJson();
    EXPECT_EQ(config["Boards"][1]["BoardBaseAddress"], "0x200");
    EXPECT_EQ(config["Boards"][0]["BoardShareIRQEnabled"], 1);
    EXPECT_EQ(config["Boards"][1]["BoardBaseCOMPort"], "COM7");
    // Nothing is left to fix.
    EXPECT_EQ(nlohmann::json::parse(Ctl({"check", "--fix", "--json"}).out)["fixed"],
              nlohmann::json::array());
}

TEST_F(CliCheckTest, NeverWrites) {
    Ok({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x300"});
    Ok({"add-port", "Board000"});
    const SSnapshot before = Snapshot();
    EXPECT_EQ(Ctl({"check"}).status, 4);
    EXPECT_EQ(Ctl({"check", "--json"}).status, 4);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliCheckTest, HiveWithoutDriverKeyIsCleanAndStaysWithoutIt) {
    Ok({"import", WriteFile("other.reg", Reg({"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]"}))});
    const SSnapshot before = Snapshot();
    SQserCtlRun run = Ctl({"check", "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        nlohmann::json::parse(run.out),
        (nlohmann::json{{"findings", nlohmann::json::array()}, {"errors", 0}, {"warnings", 0}}));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(CliCheckTest, MissingHiveFileIsNotCreated) {
    SQserCtlRun run = Ctl({"check"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(Exists("registry.db"));
}

TEST_F(CliCheckTest, HostileTextsInAnImportedKeyAreReportedAsInvalidValues) {
    Ok({"import",
        WriteFile(
            "hostile.reg",
            Reg({"[HKEY_LOCAL_MACHINE\\" + kDriverKey + "\\Board000]", "\"BoardType\"=\"RX-209\"",
                 "\"BoardBaseAddress\"=\"NONE\"", "\"BoardBaseCOMPort\"=\"NONE\"",
                 "\"BoardShareIRQ\"=\"NONE\"", "\"BoardVectorAddress\"=\"NONE\"",
                 "[HKEY_LOCAL_MACHINE\\" + kDriverKey + "\\Board000\\Port000]",
                 "\"PortCOMPort\"=\"COM\xe9\"", "\"PortIRQ\"=\"4294967296\"",
                 "\"PortAddress\"=\"0x\xff\xff\"", "\"PortSerialPort\"=\"Serial002\""}))});
    SQserCtlRun run = Ctl({"check", "--json"});
    EXPECT_EQ(run.status, 4) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(Codes(report),
              (std::vector<std::string>{"value-invalid", "value-invalid", "value-invalid"}));
    // The hive's Latin-1 reaches the JSON as UTF-8.
    EXPECT_NE(report["findings"][0]["message"].get<std::string>().find("\"COM\xc3\xa9\""),
              std::string::npos);
}
