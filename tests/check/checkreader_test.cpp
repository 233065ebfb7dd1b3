#include "checkreader.h"
#include "familyswitch.h"
#include "hiveprobe.h"
#include "platformfamily.h"
#include "resourcecheck.h"
#include "snapshotbuilder.h"
#include "temphive.h"
#include "testkeypaths.h"

#include <gtest/gtest.h>

namespace {
class CheckReaderTest : public testing::Test {
protected:
    CheckReaderTest() { m_family.Use(EPlatformFamily::WindowsNT); }

    // An individually addressed board without sharing, its values as the forms write them.
    void WriteBoard(const std::string& board) {
        const std::string key = BoardKey(board);
        m_probe.SetText(key, "BoardName", board);
        m_probe.SetText(key, "BoardType", "RX-209");
        m_probe.SetText(key, "BoardBaseAddress", "NONE");
        m_probe.SetDword(key, "BoardShareIRQEnabled", 0);
        m_probe.SetText(key, "BoardBaseCOMPort", "NONE");
        m_probe.SetText(key, "BoardShareIRQ", "NONE");
        m_probe.SetText(key, "BoardVectorAddress", "NONE");
    }

    void WritePort(const std::string& board, const std::string& port, const std::string& com,
                   const std::string& irq, const std::string& address,
                   const std::string& instance) {
        const std::string key = PortKey(board, port);
        m_probe.SetText(key, "PortName", port);
        m_probe.SetText(key, "PortCOMPort", com);
        m_probe.SetText(key, "PortIRQ", irq);
        m_probe.SetText(key, "PortAddress", address);
        m_probe.SetText(key, "PortIndex", "1");
        m_probe.SetText(key, "PortSerialPort", instance);
    }

    void WriteBinary(const std::string& path, const std::string& name,
                     const std::vector<std::uint8_t>& bytes) {
        HiveKeyId id = 0;
        ASSERT_EQ(m_hive.Hive().CreateKey(path, id), ERROR_SUCCESS);
        ASSERT_EQ(m_hive.Hive().WriteValue(id, name, REG_BINARY, bytes), ERROR_SUCCESS);
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CFamilySwitch m_family;
};

TEST_F(CheckReaderTest, ReadsTheDriverKeyAsTheRegistrationDoes) {
    m_probe.SetText(BoardKey("Board000"), "BoardType", "RX-404");
    m_probe.SetDword(BoardKey("Board000"), "BoardShareIRQEnabled", 1);
    m_probe.SetText(BoardKey("Board000"), "BoardVectorAddress", "0x2d0");
    WritePort("Board000", "Port000", "COM5", "9", "0x280", "Serial002");
    m_probe.CreateKey(PortKey("Board000", "Port001"));
    m_probe.CreateKey(PortKey("Board000", "LogConfig"));
    m_probe.CreateKey(kDriverKey + "\\Enum");

    const SCheckSnapshot snapshot = CCheckReader::Read();
    EXPECT_FALSE(snapshot.windows9x);
    ASSERT_EQ(snapshot.boards.size(), 1u);
    const SCheckBoard& board = snapshot.boards[0];
    EXPECT_EQ(board.keyName, "Board000");
    EXPECT_EQ(board.boardType, "RX-404");
    EXPECT_EQ(board.shareIRQEnabled, 1);
    EXPECT_EQ(board.vectorAddress, "0x2d0");
    // The defaults of the registration's reading for the values the key lacks.
    EXPECT_EQ(board.baseAddress, "190");
    EXPECT_EQ(board.baseCOMPort, "COM3");
    EXPECT_EQ(board.shareIRQ, "7");
    ASSERT_EQ(board.ports.size(), 2u);
    EXPECT_EQ(board.ports[0].keyName, "Port000");
    EXPECT_EQ(board.ports[0].comPort, "COM5");
    EXPECT_EQ(board.ports[0].irq, "9");
    EXPECT_EQ(board.ports[0].address, "0x280");
    EXPECT_EQ(board.ports[0].serialPort, "Serial002");
    EXPECT_EQ(board.ports[1].keyName, "Port001");
    EXPECT_EQ(board.ports[1].address, "190");
    EXPECT_EQ(board.ports[1].irq, "7");
    // No instance is made up for a port that names none.
    EXPECT_EQ(board.ports[1].serialPort, "");
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(CheckReaderTest, NtForeignEntriesAreTheParametersKeysNoPortNames) {
    WriteBoard("Board000");
    WritePort("Board000", "Port000", "COM1", "4", "0x280", "Serial002");
    m_probe.SetText(kSerialParameters + "\\SERIAL002", "DosDevices", "COM1");
    m_probe.SetText(kSerialParameters + "\\Serial000", "DosDevices", "COM1");
    m_probe.SetDword(kSerialParameters + "\\Serial000", "PortAddress", 0x3f8);
    m_probe.SetDword(kSerialParameters + "\\Serial000", "Interrupt", 4);
    m_probe.SetText(kEnumRootPorts + "\\0000", "PORTNAME", "COM7");

    const SCheckSnapshot snapshot = CCheckReader::Read();
    ASSERT_EQ(snapshot.foreign.size(), 1u);
    EXPECT_EQ(snapshot.foreign[0].keyName, "Serial000");
    EXPECT_EQ(snapshot.foreign[0].keyPath, kSerialParameters + "\\Serial000");
    EXPECT_EQ(snapshot.foreign[0].values.size(), 3u);
    const std::vector<SCheckFinding> findings = CResourceCheck::RunOnRegistry();
    EXPECT_EQ(Short(findings),
              (std::vector<std::string>{"irq-boards Board000\\Port000 Serial000",
                                        "com-taken Board000\\Port000 Serial000"}));
    // The machine's own port is named as a person knows it, by its COM name, and by its key.
    for (const SCheckFinding& finding : findings) {
        EXPECT_NE(finding.message.find("the system's port COM1 (Serial000)"), std::string::npos)
            << finding.message;
    }
}

TEST_F(CheckReaderTest, Win9xForeignEntriesAreTheRootPortsKeysNoPortNames) {
    m_family.Use(EPlatformFamily::Windows9x);
    WriteBoard("Board000");
    WritePort("Board000", "Port000", "COM3", "5", "0x3e8", "0001");
    m_probe.SetText(kEnumRootPorts + "\\0001", "PORTNAME", "COM3");
    m_probe.SetText(kEnumRootPorts + "\\0000", "PORTNAME", "COM3");
    WriteBinary(kEnumRootPorts + "\\0000", "ForcedConfig", ForcedConfig(0x3e8, 0x3ef, 4));
    m_probe.CreateKey(kEnumRootPorts + "\\0000\\LogConfig");
    m_probe.SetDword(kSerialParameters + "\\Serial000", "PortAddress", 0x3e8);

    const SCheckSnapshot snapshot = CCheckReader::Read();
    EXPECT_TRUE(snapshot.windows9x);
    ASSERT_EQ(snapshot.foreign.size(), 1u);
    EXPECT_EQ(snapshot.foreign[0].keyPath, kEnumRootPorts + "\\0000");
    EXPECT_EQ(Short(CResourceCheck::RunOnRegistry()),
              (std::vector<std::string>{"io-overlap Board000\\Port000 0000",
                                        "com-taken Board000\\Port000 0000",
                                        "io-legacy Board000\\Port000"}));
}

TEST_F(CheckReaderTest, OnlyReads) {
    std::vector<SHiveWrite> writes;
    m_hive.Hive().SetWriteObserver([&](const SHiveWrite& write) { writes.push_back(write); });
    EXPECT_TRUE(CCheckReader::Read().boards.empty());
    EXPECT_FALSE(m_probe.Exists(kDriverKey));

    m_probe.SetText(BoardKey("Board000"), "BoardType", "RX-209");
    WritePort("Board000", "Port000", "COM3", "5", "0x280", "Serial002");
    writes.clear();
    EXPECT_EQ(CCheckReader::Read().boards.size(), 1u);
    EXPECT_TRUE(writes.empty());
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

TEST_F(CheckReaderTest, BoardKeyThatCannotBeOpenedIsLeftOutSilently) {
    m_probe.SetText(BoardKey("Board000"), "BoardType", "RX-209");
    m_probe.SetText(BoardKey("Board001"), "BoardType", "RX-209");
    m_hive.Hive().InjectFault(ERegOp::OpenKey, BoardKey("Board000"), "", ERROR_ACCESS_DENIED,
                              false);
    const SCheckSnapshot snapshot = CCheckReader::Read();
    ASSERT_EQ(snapshot.boards.size(), 1u);
    EXPECT_EQ(snapshot.boards[0].keyName, "Board001");
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}
} // namespace
