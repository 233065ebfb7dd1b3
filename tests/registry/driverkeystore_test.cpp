#include "boardobj.h"
#include "configrecord.h"
#include "driverkeys.h"
#include "driverkeystore.h"
#include "expectedmessages.h"
#include "familyswitch.h"
#include "hiveprobe.h"
#include "platformfamily.h"
#include "portobj.h"
#include "storetest.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class DriverKeyStoreFixture : public ::testing::Test {
protected:
    explicit DriverKeyStoreFixture(ETestStore store) : m_hive(store) {}

    static CPortObj MakePort(const std::string& name, const std::string& instance) {
        CPortObj port("", 0);
        port.SetPortName(name);
        port.SetPortSerialPort(instance);
        return port;
    }
    std::vector<MessageRecord> Records() { return m_hive.Messages().Records(); }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CFamilySwitch m_family;
};

using DriverKeyStoreTest = CStoreTest<DriverKeyStoreFixture>;

// Windows 95/98 keep their registry in another format than a Windows hive file: these tests
// have our own file only.
class DriverKeyStore9xTest : public DriverKeyStoreFixture {
protected:
    DriverKeyStore9xTest() : DriverKeyStoreFixture(ETestStore::Sqlite) {}
};
} // namespace

TEST_P(DriverKeyStoreTest, WriteBoardKeyWritesTheEightValuesInOrder) {
    CBoardObj board;
    board.SetBoardType("RX-408");
    board.SetShareIRQEnabled(1);
    board.SetShareIRQ("11");
    board.SetBaseAddress("0x0d0");
    board.SetVectorAddress("0x3f8");
    board.SetBaseCOMPort("COM200");
    board.SetStandardModeEnabled(1);

    EXPECT_EQ(CDriverKeyStore::WriteBoardKey(board), 1);

    const std::string key = BoardKey("Board000");
    // The eight values in order, each with its type.
    EXPECT_EQ(m_probe.Dump(key),
              BoardKeyLines("", {"Board000", "RX-408", "0x0d0", 1, "COM200", "11", "0x3f8", 1}));

    // What was written reads back into an equal record.
    CBoardObj read;
    EXPECT_EQ(CDriverKeyStore::ReadBoardKey("Board000", read), 1);
    EXPECT_EQ(read.GetBoardType(), "RX-408");
    EXPECT_EQ(read.GetShareIRQEnabled(), 1);
    EXPECT_EQ(read.GetBaseCOMPort(), "COM200");
    EXPECT_EQ(read.GetStandardModeEnabled(), 1);
}

TEST_P(DriverKeyStoreTest, WritePortKeyWritesTheSixValuesInOrderAndReadsThemBack) {
    CPortObj port = MakePort("Port012", "Serial017");
    port.SetPortIRQ("12");
    port.SetPortAddress("0x2f8");
    port.SetPortCOMPort("COM44");
    port.SetPortIndex("13");

    EXPECT_EQ(CDriverKeyStore::WritePortKey("Board007", port), 1);

    const std::string key = PortKey("Board007", "Port012");
    // The six values in order, each a text.
    EXPECT_EQ(m_probe.Dump(key),
              PortKeyLines("", {"Port012", "COM44", "12", "0x2f8", "13", "Serial017"}));

    CPortObj read;
    EXPECT_EQ(CDriverKeyStore::ReadPortKey("Board007", "Port012", read), 1);
    EXPECT_EQ(read.GetPortAddress(), "0x2f8");
    EXPECT_EQ(read.GetPortSerialPort(), "Serial017");
    EXPECT_EQ(CDriverKeyStore::ReadPortKey("Board007", "Port013", read), 0);
    EXPECT_TRUE(Records().empty());
}

TEST_P(DriverKeyStoreTest, RecordsWithoutAUsableNameWriteNothing) {
    CBoardObj board;
    for (const char* name : {"", "Board000\\Port000"}) {
        SCOPED_TRACE(name);
        board.SetBoardName(name);
        EXPECT_EQ(CDriverKeyStore::WriteBoardKey(board), 0);
        EXPECT_EQ(CDriverKeyStore::WritePortKey("Board000", MakePort(name, "Serial002")), 0);
        EXPECT_EQ(CDriverKeyStore::WritePortKey(name, MakePort("Port000", "Serial002")), 0);
    }
    EXPECT_TRUE(m_probe.ValueNames(kDriverKey).empty());
    EXPECT_TRUE(m_probe.SubKeys(kDriverKey).empty());
}

TEST_P(DriverKeyStoreTest, FailedWriteIsReportedAndTheNextValuesAreStillWritten) {
    m_hive.Hive().InjectFault(ERegOp::WriteValue, BoardKey("Board000"), "BoardType",
                              ERROR_ACCESS_DENIED);
    m_hive.Hive().InjectFault(ERegOp::WriteValue, BoardKey("Board000"), "BoardShareIRQ",
                              ERROR_ACCESS_DENIED);
    CBoardObj board;

    EXPECT_EQ(CDriverKeyStore::WriteBoardKey(board), 1);

    EXPECT_EQ(Records(), (std::vector<MessageRecord>{kWriteRegistryFailed, kWriteRegistryFailed}));
    EXPECT_EQ(m_probe.ValueNames(BoardKey("Board000")).size(), 6u);
    EXPECT_TRUE(m_probe.HasValue(BoardKey("Board000"), "BoardStandardModeEnabled"));
}

TEST_P(DriverKeyStoreTest, SaveSystemValuesWritesTheThreeTextsInOrder) {
    EXPECT_EQ(CDriverKeyStore::SaveSystemValues("System", "3", "10"), 1);

    EXPECT_EQ(m_probe.ValueNames(kDriverKey),
              (std::vector<std::string>{"SystemDriverName", "SystemNumBoards", "SystemNumPorts"}));
    EXPECT_EQ(m_probe.Text(kDriverKey, "SystemDriverName"), "System");
    EXPECT_EQ(m_probe.Text(kDriverKey, "SystemNumBoards"), "3");
    EXPECT_EQ(m_probe.Text(kDriverKey, "SystemNumPorts"), "10");
}

TEST_P(DriverKeyStoreTest, DeletingAnNTPortRemovesItsKeyAndItsInstance) {
    m_probe.CreateKey(PortKey("Board000", "Port001"));
    m_probe.CreateKey(PortKey("Board000", "Port002"));
    // A Windows installation's own instances (Serial10000, ...) stay; our file has none.
    std::vector<std::string> instances = m_probe.SubKeys(kSerialParameters);
    m_probe.CreateKey(kSerialParameters + "\\Serial005");
    m_probe.CreateKey(kSerialParameters + "\\Serial006");

    CDriverKeyStore::DeletePortKeys("Board000", MakePort("Port001", "Serial005"));

    EXPECT_EQ(m_probe.SubKeys(BoardKey("Board000")), std::vector<std::string>{"Port002"});
    instances.insert(instances.begin(), "Serial006");
    EXPECT_EQ(m_probe.SubKeys(kSerialParameters), instances);
    EXPECT_TRUE(Records().empty());

    // Both deletes are reported when their keys are gone.
    CDriverKeyStore::DeletePortKeys("Board000", MakePort("Port001", "Serial005"));
    EXPECT_EQ(Records(),
              (std::vector<MessageRecord>{kDeleteRegistryFailed, kDeleteRegistryFailed}));
}

TEST_F(DriverKeyStore9xTest, DeletingA9xPortRemovesItsClassAndDeviceKeysWithLogConfig) {
    m_family.Use(EPlatformFamily::Windows9x);
    m_probe.CreateKey(PortKey("Board000", "Port000"));
    m_probe.CreateKey(kClassPorts + "\\0004");
    m_probe.CreateKey(kEnumRootPorts + "\\0004\\LogConfig");
    m_probe.CreateKey(kEnumRootPorts + "\\0005\\LogConfig");

    CDriverKeyStore::DeletePortKeys("Board000", MakePort("Port000", "0004"));

    EXPECT_TRUE(m_probe.SubKeys(BoardKey("Board000")).empty());
    EXPECT_TRUE(m_probe.SubKeys(kClassPorts).empty());
    EXPECT_EQ(m_probe.SubKeys(kEnumRootPorts), std::vector<std::string>{"0005"});
    EXPECT_TRUE(Records().empty());

    // A device key that is already gone is not reported; the class key is.
    m_probe.CreateKey(PortKey("Board000", "Port000"));
    CDriverKeyStore::DeletePortKeys("Board000", MakePort("Port000", "0004"));
    EXPECT_EQ(Records(), std::vector<MessageRecord>{kDeleteRegistryFailed});
}

namespace {
class DriverKeyStoreFamilyTest : public DriverKeyStoreFixture,
                                 public ::testing::WithParamInterface<SStoreFamily> {
protected:
    DriverKeyStoreFamilyTest() : DriverKeyStoreFixture(GetParam().store) {}
};
} // namespace

TEST_P(DriverKeyStoreFamilyTest, UnusableNamesNeverMakeADeleteReachAParentKey) {
    m_family.Use(GetParam().family);
    std::vector<std::string> parents = {BoardKey("Board000"), kSerialParameters, kClassPorts};
    if (GetParam().store == ETestStore::Sqlite) {
        parents.push_back(kEnumRootPorts); // outside SYSTEM: no Windows hive file holds it
    }
    for (const std::string& parent : parents) {
        m_probe.CreateKey(parent);
    }

    CDriverKeyStore::DeletePortKeys("Board000", MakePort("", ""));
    CDriverKeyStore::DeletePortKeys("", MakePort("Board000", "..\\Ports"));
    EXPECT_EQ(CDriverKeyStore::DeleteBoardKey(""), 0);

    for (const std::string& parent : parents) {
        EXPECT_TRUE(m_probe.Exists(parent)) << parent;
    }
    // The key deletes are reported; an instance name that is no instance deletes nothing.
    EXPECT_EQ(Records(), std::vector<MessageRecord>(3, kDeleteRegistryFailed));
}

QSER_ON_STORES_AND_FAMILIES(DriverKeyStoreFamilyTest);

TEST_P(DriverKeyStoreTest, BoardKeyIsDeletedOnlyWithoutPortKeys) {
    m_probe.CreateKey(PortKey("Board001", "Port000"));

    EXPECT_EQ(CDriverKeyStore::DeleteBoardKey("Board001"), 0);
    EXPECT_EQ(Records(), std::vector<MessageRecord>{kDeleteRegistryFailed});
    EXPECT_TRUE(m_probe.Exists(PortKey("Board001", "Port000")));

    m_probe.DeleteTree(PortKey("Board001", "Port000"));
    EXPECT_EQ(CDriverKeyStore::DeleteBoardKey("Board001"), 1);
    EXPECT_FALSE(m_probe.Exists(BoardKey("Board001")));
}

TEST(ConfigRecordTest, ForcedConfigPatchesTheRangeAndTheIRQByteOnly) {
    struct SCase {
        const char* address;
        const char* irq;
        std::uint16_t base;
        std::uint8_t irqByte;
    };
    // The range is read from the address digits; "NONE" is not special here.
    for (const SCase& test :
         {SCase{"0x2e8", "5", 0x2E8, 5}, SCase{"0x1234", "15", 0x234, 15},
          SCase{"0x8", "3", 0x008, 3}, SCase{"0x10", "4", 0x010, 4}, SCase{"NONE", "7", 0x197E, 7},
          SCase{"", "", 0, 0}, SCase{"0x3f8", "259", 0x3F8, 3}}) {
        SCOPED_TRACE(test.address);
        CConfigRecordBytes record;
        record.fill(0xAA);

        EXPECT_EQ(CConfigRecord::SetForcedConfigRange(test.address, record), 1);
        EXPECT_EQ(CConfigRecord::SetForcedConfigIRQ(test.irq, record), 1);

        CConfigRecordBytes expected;
        expected.fill(0xAA);
        const unsigned end = test.base + 7u;
        for (std::size_t offset : {20u, 32u, 34u}) {
            expected[offset] = static_cast<std::uint8_t>(test.base & 0xFF);
            expected[offset + 1] = static_cast<std::uint8_t>(test.base >> 8);
        }
        expected[22] = static_cast<std::uint8_t>(end & 0xFF);
        expected[23] = static_cast<std::uint8_t>(end >> 8);
        expected[50] = test.irqByte;
        EXPECT_EQ(record, expected);
    }
}

QSER_ON_BOTH_STORES(DriverKeyStoreTest);
