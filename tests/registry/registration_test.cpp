#include "driverkeys.h"
#include "expectedmessages.h"
#include "familyswitch.h"
#include "hiveprobe.h"
#include "platformfamily.h"
#include "portregistration.h"
#include "storetest.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<std::uint8_t>;

// The default device control block, 26 bytes.
const Bytes kDCB = {0x1C, 0x00, 0x00, 0x00, 0x80, 0x25, 0x00, 0x00, 0x11, 0x33, 0x00, 0x00, 0x00,
                    0x00, 0x0A, 0x00, 0x0A, 0x00, 0x08, 0x00, 0x00, 0x11, 0x13, 0x00, 0x00, 0x00};

// The forced configuration of a port at 0x2e8 with IRQ 5.
const Bytes kForcedConfig2E8Irq5 = {
    0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x02, 0x00, 0xE8, 0x02, 0xEF, 0x02, 0x00, 0x00, 0x00, 0x00, 0xF0, 0xFF,
    0x08, 0x00, 0xE8, 0x02, 0xE8, 0x02, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x04,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// The nine basic configurations "0" to "8".
const Bytes kLogConfig[9] = {
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xF8, 0x03, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xF8, 0x03, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xB8, 0xDE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xF8, 0x02, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xF8, 0x02, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xB8, 0xDE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xE8, 0x03, 0xEF, 0x03, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xE8, 0x03, 0xEF, 0x03, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xB8, 0xDE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xE8, 0x02, 0xEF, 0x02, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
     0x08, 0x00, 0xE8, 0x02, 0xEF, 0x02, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xB8, 0xDE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x04, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
     0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0xFF,
     0x08, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x03, 0x10, 0x00, 0x00, 0x00, 0x04,
     0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xB8, 0xDE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
};

const std::vector<std::string> kClassValueNames = {
    "DevLoader",    "Enumerator",    "PortDriver", "Contention", "ConfigDialog", "DCB",
    "PortSubClass", "EnumPropPages", "InfPath",    "InfSection", "DriverDate",   "DriverDesc"};
const std::vector<std::string> kDeviceValueNames = {"Class",       "Driver",       "Mfg",
                                                    "HardwareID",  "DeviceDesc",   "FRIENDLYNAME",
                                                    "ConfigFlags", "ForcedConfig", "PORTNAME"};
const std::vector<std::string> kNTPortValueNames = {"DosDevices", "ForceFifoEnable", "Indexed",
                                                    "Interrupt",  "InterruptStatus", "PortAddress",
                                                    "PortIndex"};

class RegistrationFixture : public ::testing::Test {
protected:
    explicit RegistrationFixture(ETestStore store) : m_hive(store) {}

    // A Windows installation's own serial instances (Serial10000, ...) stay beside those the
    // pass writes; our file has none.
    std::vector<std::string> WithForeignInstances(std::vector<std::string> ours) const {
        ours.insert(ours.end(), m_foreignInstances.begin(), m_foreignInstances.end());
        std::sort(ours.begin(), ours.end());
        return ours;
    }
    // What a key holds, or nothing when it does not exist.
    std::vector<std::string> Snapshot(const std::string& path) {
        return m_probe.Exists(path) ? m_probe.Dump(path) : std::vector<std::string>{};
    }
    void WriteBoard(const std::string& board, const std::string& vector) {
        m_probe.SetText(BoardKey(board), "BoardName", board);
        m_probe.SetText(BoardKey(board), "BoardVectorAddress", vector);
    }
    int RegisterNT() {
        m_family.Use(EPlatformFamily::WindowsNT);
        return CPortRegistration::RegisterNTSerialPorts(m_values, true);
    }
    int Register95() {
        m_family.Use(EPlatformFamily::Windows9x);
        return CPortRegistration::Register95Ports(m_values, true);
    }
    std::vector<MessageRecord> Records() { return m_hive.Messages().Records(); }
    // What a Windows NT pass reports: on the installation's hive first the service value it
    // kept, then rest.
    std::vector<MessageRecord> NTRecords(std::vector<MessageRecord> rest = {}) const {
        if (m_hive.Store() == ETestStore::WindowsHive) {
            rest.insert(rest.begin(), kKeptStartNotice);
        }
        return rest;
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CFamilySwitch m_family;
    SSystemValues m_values{"Brimholde QSER 32bit Utility Ver. 1.10", "1", "1"};
    const std::vector<std::string> m_foreignInstances = m_probe.SubKeys(kSerialParameters);
};

using RegistrationTest = CStoreTest<RegistrationFixture>;

// Windows 95/98 keep their registry in another format than a Windows hive file: our file only.
class Registration9xTest : public RegistrationFixture {
protected:
    Registration9xTest() : RegistrationFixture(ETestStore::Sqlite) {}
};
} // namespace

TEST_P(RegistrationTest, NTWritesTheSerialServiceValuesInOrder) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "7", "0x200", "1", "Serial002"});

    // An installation's service key has values already: those written over keep their place,
    // the others follow in the order written.
    std::vector<std::string> names = m_probe.ValueNames(kSerialKey);
    for (const char* name :
         {"ErrorControl", "ForceFifoEnable", "Group", "Rxfifo", "Start", "Tag", "Txfifo", "Type"}) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }

    EXPECT_EQ(RegisterNT(), 1);

    EXPECT_EQ(m_probe.ValueNames(kSerialKey), names);
    struct SDword {
        const char* name;
        std::uint32_t value;
    };
    // The installation's own start type stays; our file gets the one the registration writes.
    const std::uint32_t start = m_hive.Store() == ETestStore::WindowsHive ? 1 : 2;
    for (const SDword& expected :
         {SDword{"ErrorControl", 0}, SDword{"ForceFifoEnable", 1}, SDword{"Rxfifo", 8},
          SDword{"Start", start}, SDword{"Tag", 1}, SDword{"Txfifo", 1}, SDword{"Type", 1}}) {
        EXPECT_EQ(m_probe.Dword(kSerialKey, expected.name), expected.value) << expected.name;
    }
    EXPECT_EQ(m_probe.Text(kSerialKey, "Group"), "Extended base");
    EXPECT_EQ(Records(), NTRecords());
}

namespace {
struct SInstanceCase {
    const char* name;
    std::string vector;
    SPortValues port;
    std::uint32_t interrupt;
    std::uint32_t interruptStatus;
    std::uint32_t portAddress;
    std::uint32_t portIndex;
};

void PrintTo(const SInstanceCase& row, std::ostream* out) {
    *out << row.name;
}

const SInstanceCase kInstanceCases[] = {
    {"COM5At0x2e8",
     "0x2d0",
     {"Port000", "COM5", "5", "0x2e8", "1", "Serial004"},
     5,
     0x2D0,
     0x2E8,
     1},
    {"NoVector", "NONE", {"Port000", "COM3", "15", "0x3f8", "4", "Serial002"}, 15, 0, 0x3F8, 4},
    {"LongAddress",
     "0x200",
     {"Port000", "COM9", "3", "0x1234", "2", "Serial010"},
     3,
     0x200,
     0x234,
     2},
    {"AddressBelow0x100", "0x000", {"Port001", "COM4", "9", "0x8", "2", "Serial003"}, 9, 0, 8, 2},
    {"Address0x10", "0x2d0", {"Port002", "COM5", "9", "0x10", "3", "Serial005"}, 9, 0x2D0, 0x10, 3},
    {"ShortVectorText",
     "2d0",
     {"Port000", "COM3", "7", "190", "1", "Serial998"},
     7,
     0x2D0,
     0x190,
     1},
};

using NTInstanceTest = CStoreRowTest<RegistrationFixture, SInstanceCase>;
} // namespace

TEST_P(NTInstanceTest, NTWritesEachPortAsAnInstanceOfTheSerialService) {
    const SInstanceCase& test = Row();
    WriteBoard("Board000", test.vector);
    PutPortKey(m_probe, "Board000", test.port);

    EXPECT_EQ(RegisterNT(), 1);

    const std::string key = kSerialParameters + "\\" + test.port.instance;
    EXPECT_EQ(m_probe.ValueNames(key), kNTPortValueNames);
    EXPECT_EQ(m_probe.Text(key, "DosDevices"), test.port.comPort);
    EXPECT_EQ(m_probe.Dword(key, "ForceFifoEnable"), 1u);
    EXPECT_EQ(m_probe.Dword(key, "Indexed"), 0u);
    EXPECT_EQ(m_probe.Dword(key, "Interrupt"), test.interrupt);
    EXPECT_EQ(m_probe.Dword(key, "InterruptStatus"), test.interruptStatus);
    EXPECT_EQ(m_probe.Dword(key, "PortAddress"), test.portAddress);
    EXPECT_EQ(m_probe.Dword(key, "PortIndex"), test.portIndex);
    EXPECT_EQ(m_probe.SubKeys(kSerialParameters), WithForeignInstances({test.port.instance}));
    EXPECT_EQ(Records(), NTRecords());
}

QSER_ON_BOTH_STORES_WITH(NTInstanceTest, ::testing::ValuesIn(kInstanceCases));

TEST_F(Registration9xTest, Win9xWritesTheClassDeviceAndBasicConfigurationKeys) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM5", "5", "0x2e8", "4", "0007"});

    EXPECT_EQ(Register95(), 1);

    const std::string classKey = kClassPorts + "\\0007";
    EXPECT_EQ(m_probe.ValueNames(classKey), kClassValueNames);
    EXPECT_EQ(m_probe.Text(classKey, "DevLoader"), "*vcomm");
    EXPECT_EQ(m_probe.Text(classKey, "Enumerator"), "serenum.vxd");
    EXPECT_EQ(m_probe.Text(classKey, "PortDriver"), "serial.vxd");
    EXPECT_EQ(m_probe.Text(classKey, "Contention"), "*vcd");
    EXPECT_EQ(m_probe.Text(classKey, "ConfigDialog"), "serialui.dll");
    EXPECT_EQ(m_probe.Binary(classKey, "DCB"), kDCB);
    EXPECT_EQ(m_probe.Binary(classKey, "PortSubClass"), Bytes{0x01});
    EXPECT_EQ(m_probe.Text(classKey, "EnumPropPages"), "serialui.dll,EnumPropPages");
    EXPECT_EQ(m_probe.Text(classKey, "InfPath"), "MSPORTS.INF");
    EXPECT_EQ(m_probe.Text(classKey, "InfSection"), "ComPort");
    EXPECT_EQ(m_probe.Text(classKey, "DriverDate"), "10-18-1996");
    EXPECT_EQ(m_probe.Text(classKey, "DriverDesc"), "COM PORT");

    const std::string deviceKey = kEnumRootPorts + "\\0007";
    EXPECT_EQ(m_probe.ValueNames(deviceKey), kDeviceValueNames);
    EXPECT_EQ(m_probe.Text(deviceKey, "Class"), "Ports");
    EXPECT_EQ(m_probe.Text(deviceKey, "Driver"), "Ports\\0007");
    EXPECT_EQ(m_probe.Text(deviceKey, "Mfg"), " (standard port) ");
    EXPECT_EQ(m_probe.Text(deviceKey, "HardwareID"), "*PNP0500");
    EXPECT_EQ(m_probe.Text(deviceKey, "DeviceDesc"), " (COM5) ");
    EXPECT_EQ(m_probe.Text(deviceKey, "FRIENDLYNAME"), " (COM5) ");
    EXPECT_EQ(m_probe.Binary(deviceKey, "ConfigFlags"), (Bytes{0x04, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m_probe.Binary(deviceKey, "ForcedConfig"), kForcedConfig2E8Irq5);
    EXPECT_EQ(m_probe.Text(deviceKey, "PORTNAME"), "COM5");

    const std::string logConfigKey = deviceKey + "\\LogConfig";
    EXPECT_EQ(m_probe.ValueNames(logConfigKey),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8"}));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(m_probe.Binary(logConfigKey, std::to_string(i)), kLogConfig[i]) << i;
    }
    // Windows 95/98 writes nothing into its platform key and nothing for Windows NT.
    EXPECT_TRUE(m_probe.ValueNames(kClassPorts).empty());
    EXPECT_FALSE(m_probe.Exists(kSerialKey));
    EXPECT_TRUE(Records().empty());
}

namespace {
struct SForcedConfigCase {
    const char* name;
    const char* address;
    const char* irq;
    Bytes range; // bytes 20 to 23, then 32 to 35
    std::uint8_t irqByte;
};

void PrintTo(const SForcedConfigCase& row, std::ostream* out) {
    *out << row.name;
}

const SForcedConfigCase kForcedConfigCases[] = {
    {"Address0x3f8", "0x3f8", "4", {0xF8, 0x03, 0xFF, 0x03, 0xF8, 0x03, 0xF8, 0x03}, 4},
    {"LongAddress", "0x1234", "15", {0x34, 0x02, 0x3B, 0x02, 0x34, 0x02, 0x34, 0x02}, 15},
    {"AddressBelow0x100", "0x8", "3", {0x08, 0x00, 0x0F, 0x00, 0x08, 0x00, 0x08, 0x00}, 3},
    {"AddressZero", "0x0", "10", {0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00}, 10},
    {"ShortTextAndWideIRQ",
     "2d0",
     "300",
     {0xD0, 0x02, 0xD7, 0x02, 0xD0, 0x02, 0xD0, 0x02},
     300 & 0xFF},
};

class ForcedConfigTest : public Registration9xTest,
                         public ::testing::WithParamInterface<SForcedConfigCase> {};
} // namespace

TEST_P(ForcedConfigTest, Win9xForcedConfigCarriesThePortRangeAndIRQ) {
    const SForcedConfigCase& test = GetParam();
    WriteBoard("Board000", "NONE");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", test.irq, test.address, "1", "0002"});

    EXPECT_EQ(Register95(), 1);

    Bytes expected = kForcedConfig2E8Irq5;
    std::copy(test.range.begin(), test.range.begin() + 4, expected.begin() + 20);
    std::copy(test.range.begin() + 4, test.range.end(), expected.begin() + 32);
    expected[50] = test.irqByte;
    EXPECT_EQ(m_probe.Binary(kEnumRootPorts + "\\0002", "ForcedConfig"), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ForcedConfigTest, ::testing::ValuesIn(kForcedConfigCases),
                         SRowName());

TEST_P(RegistrationTest, PassVisitsEveryPortOfEveryBoardAndSkipsForeignAndOverlongKeys) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "5", "0x200", "1", "Serial002"});
    PutPortKey(m_probe, "Board000", {"Port001", "COM4", "5", "0x208", "2", "Serial003"});
    m_probe.CreateKey(PortKey("Board000", "Notes"));
    WriteBoard("Board003", "NONE");
    PutPortKey(m_probe, "Board003", {"Port000", "COM7", "9", "0x300", "1", "Serial004"});
    m_probe.SetText(BoardKey("Other"), "PortSerialPort", "Serial005");
    // Names too long for the 80-character buffer, sorted before the real keys.
    m_probe.CreateKey(BoardKey("Ba" + std::string(90, 'a')));
    m_probe.CreateKey(PortKey("Board000", "Pa" + std::string(90, 'a')));

    EXPECT_EQ(RegisterNT(), 1);

    EXPECT_EQ(m_probe.SubKeys(kSerialParameters),
              WithForeignInstances({"Serial002", "Serial003", "Serial004"}));
    EXPECT_EQ(m_probe.Text(kSerialParameters + "\\Serial004", "DosDevices"), "COM7");
    EXPECT_EQ(m_probe.ValueNames(kDriverKey),
              (std::vector<std::string>{"SystemDriverName", "SystemNumBoards", "SystemNumPorts"}));
    EXPECT_EQ(m_probe.Text(kDriverKey, "SystemDriverName"),
              "Brimholde QSER 32bit Utility Ver. 1.10");
}

namespace {
class RegistrationFamilyTest : public RegistrationFixture,
                               public ::testing::WithParamInterface<SStoreFamily> {
protected:
    RegistrationFamilyTest() : RegistrationFixture(GetParam().store) {}
};
} // namespace

TEST_P(RegistrationFamilyTest, NoBoardsWritesOnlyTheSystemValues) {
    const bool nt = GetParam().family == EPlatformFamily::WindowsNT;
    m_family.Use(GetParam().family);
    // An installation has its serial service already; it stays as it was.
    const std::vector<std::string> serial = Snapshot(kSerialKey);
    SSystemValues values{"name", "0", "0"};
    EXPECT_EQ(nt ? CPortRegistration::RegisterNTSerialPorts(values, false)
                 : CPortRegistration::Register95Ports(values, false),
              1);
    EXPECT_EQ(m_probe.Text(kDriverKey, "SystemNumBoards"), "0");
    EXPECT_EQ(Snapshot(kSerialKey), serial);
    EXPECT_FALSE(m_probe.Exists(kClassPorts));
    EXPECT_FALSE(m_probe.Exists("Enum"));
}

QSER_ON_STORES_AND_FAMILIES(RegistrationFamilyTest);

TEST_F(Registration9xTest, PortThatCannotBeReadIsReportedAndSkipped) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "5", "0x200", "1", "0002"});
    PutPortKey(m_probe, "Board000", {"Port001", "COM4", "5", "0x208", "2", "0003"});
    PutPortKey(m_probe, "Board000", {"Port002", "COM5", "5", "0x210", "3", "0004"});
    m_hive.Hive().InjectFault(ERegOp::OpenKey, PortKey("Board000", "Port001"), "",
                              ERROR_ACCESS_DENIED, false);

    EXPECT_EQ(Register95(), 1);

    EXPECT_EQ(Records(), std::vector<MessageRecord>{kQueryRegistryFailed});
    EXPECT_EQ(m_probe.SubKeys(kClassPorts), (std::vector<std::string>{"0002", "0004"}));
    EXPECT_EQ(m_probe.SubKeys(kEnumRootPorts), (std::vector<std::string>{"0002", "0004"}));
    EXPECT_EQ(m_probe.Text(kEnumRootPorts + "\\0004", "PORTNAME"), "COM5");
}

TEST_P(RegistrationTest, BoardThatCannotBeReadStopsThePass) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "5", "0x200", "1", "Serial002"});
    WriteBoard("Board001", "0x2d0");
    PutPortKey(m_probe, "Board001", {"Port000", "COM4", "5", "0x300", "1", "Serial003"});
    WriteBoard("Board002", "0x2d0");
    PutPortKey(m_probe, "Board002", {"Port000", "COM5", "5", "0x310", "1", "Serial004"});
    m_hive.Hive().InjectFault(ERegOp::OpenKey, BoardKey("Board001"), "", ERROR_ACCESS_DENIED,
                              false);

    EXPECT_EQ(RegisterNT(), 0);

    EXPECT_EQ(Records(), NTRecords({kOpenRegistryFailed, kQueryRegistryFailed}));
    EXPECT_EQ(m_probe.SubKeys(kSerialParameters), WithForeignInstances({"Serial002"}));
}

TEST_F(Registration9xTest, PlatformKeyThatCannotBeOpenedStopsThePass) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "5", "0x200", "1", "0002"});
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kClassPorts, "", ERROR_ACCESS_DENIED);

    EXPECT_EQ(Register95(), 0);

    EXPECT_EQ(Records(), std::vector<MessageRecord>{kOpenRegistryFailed});
    EXPECT_FALSE(m_probe.Exists("Enum"));
    EXPECT_EQ(m_probe.Text(kDriverKey, "SystemNumPorts"), "1");
}

TEST_P(RegistrationTest, ValueThatCannotBeWrittenIsReportedAndTheOthersAreWritten) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "5", "0x200", "1", "Serial002"});
    m_hive.Hive().InjectFault(ERegOp::WriteValue, kSerialParameters + "\\Serial002", "Interrupt",
                              ERROR_ACCESS_DENIED);

    EXPECT_EQ(RegisterNT(), 1);

    EXPECT_EQ(Records(), NTRecords({kWriteRegistryFailed}));
    EXPECT_EQ(m_probe.ValueNames(kSerialParameters + "\\Serial002"),
              (std::vector<std::string>{"DosDevices", "ForceFifoEnable", "Indexed",
                                        "InterruptStatus", "PortAddress", "PortIndex"}));
}

TEST_F(Registration9xTest, UnusableInstanceNamesNeverReachTheParentKeys) {
    WriteBoard("Board000", "0x2d0");
    PutPortKey(m_probe, "Board000", {"Port000", "COM3", "5", "0x200", "1", ""});
    PutPortKey(m_probe, "Board000", {"Port001", "COM4", "5", "0x208", "2", "0003\\LogConfig"});
    PutPortKey(m_probe, "Board000", {"Port002", "COM5", "5", "0x210", "3", "0004"});

    EXPECT_EQ(Register95(), 1);
    m_probe.SetText(PortKey("Board000", "Port002"), "PortSerialPort", "Serial002");
    EXPECT_EQ(RegisterNT(), 1);

    for (const std::string& parent : {kClassPorts, kEnumRootPorts, kSerialParameters}) {
        SCOPED_TRACE(parent);
        EXPECT_TRUE(m_probe.ValueNames(parent).empty());
        EXPECT_EQ(m_probe.SubKeys(parent).size(), 1u);
    }
    const MessageRecord unregistered{
        "Port000 of Board000 and Port001 of Board000 have no valid serial "
        "instance name; they were not registered.",
        EMsgButtons::Ok, EMsgIcon::None};
    EXPECT_EQ(Records(), (std::vector<MessageRecord>{unregistered, unregistered}));
}

QSER_ON_BOTH_STORES(RegistrationTest);
