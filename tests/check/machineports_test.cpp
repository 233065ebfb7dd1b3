// The installation's own serial ports under Enum, read from a Windows hive file as the check
// reads them, and what the check says about a port of ours beside them.
#include "checkreader.h"
#include "familyswitch.h"
#include "hiveprobe.h"
#include "platformfamily.h"
#include "resourcecheck.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testresources.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {
const std::string kEnum = "SYSTEM\\CurrentControlSet\\Enum\\";

class MachinePortsTest : public testing::Test {
protected:
    MachinePortsTest() { m_family.Use(EPlatformFamily::WindowsNT); }

    void Device(const std::string& device, const std::string& portName,
                std::uint32_t configType = 0, const std::vector<std::uint8_t>& config = {},
                const char* configName = "BootConfig") {
        m_probe.SetText(kEnum + device, "Service", "Serial");
        m_probe.SetText(kEnum + device + "\\Device Parameters", "PortName", portName);
        if (configType != 0) {
            HiveKeyId id = 0;
            ASSERT_EQ(m_hive.Hive().CreateKey(kEnum + device + "\\LogConf", id), ERROR_SUCCESS);
            ASSERT_EQ(m_hive.Hive().WriteValue(id, configName, configType, config), ERROR_SUCCESS);
        }
    }

    // A board of an individually addressed model, without sharing, with one port.
    void OurPort(const std::string& board, const std::string& com, const std::string& irq,
                 const std::string& address, const std::string& instance) {
        m_probe.SetText(BoardKey(board), "BoardName", board);
        m_probe.SetText(BoardKey(board), "BoardType", "RX-209");
        const std::string key = PortKey(board, "Port000");
        m_probe.SetText(key, "PortName", "Port000");
        m_probe.SetText(key, "PortCOMPort", com);
        m_probe.SetText(key, "PortIRQ", irq);
        m_probe.SetText(key, "PortAddress", address);
        m_probe.SetText(key, "PortSerialPort", instance);
    }

    // The machine's devices of every kind the check meets.
    void Machine() {
        Device("ACPI\\PNP0501\\1", "COM1", 8,
               ResourceList(ETestLayout::Bits32, {IoPort(0x3f8), Irq(4)}));
        // AllocConfig, where present, wins over BootConfig.
        Device("ACPI\\PNP0501\\2", "COM2", 8,
               ResourceList(ETestLayout::Bits64, {IoPort(0x3e8), Irq(6)}), "BootConfig");
        Device("ACPI\\PNP0501\\2", "COM2", 8,
               ResourceList(ETestLayout::Bits64, {IoPort(0x2f8), Irq(3)}), "AllocConfig");
        Device("USB\\VID_0403&PID_6001\\A1B2", "COM7");
        Device("PCI\\VEN_1415&DEV_C138\\3&11583659&0&70", "COM8", 3,
               ResourceList(ETestLayout::Bits32, {IoPort(0x2e8)}));
        Device("ACPI\\PNP0401\\1", "LPT1", 8,
               ResourceList(ETestLayout::Bits32, {IoPort(0x378), Irq(7)}));
        // Where the serial service took up our Board001's port at the last boot.
        Device("Root\\PORTS\\0000", "COM3", 9,
               FullDescriptor(ETestLayout::Bits32, {IoPort(0x2e8), Irq(5)}));
    }

    std::vector<SCheckFinding> Findings(ECheckCode code) {
        std::vector<SCheckFinding> found = CResourceCheck::RunOnRegistry();
        std::erase_if(found, [code](const SCheckFinding& finding) { return finding.code != code; });
        return found;
    }

    CTempHive m_hive{ETestStore::WindowsHive};
    CHiveProbe m_probe{m_hive.Hive()};
    CFamilySwitch m_family;
};

TEST_F(MachinePortsTest, ReaderKeepsTheMachinesComPortsAndLeavesOutOursAndOtherPorts) {
    Machine();
    OurPort("Board001", "COM3", "5", "0x2e8", "Serial002");
    const SCheckSnapshot snapshot = CCheckReader::Read();
    std::vector<std::string> labels;
    for (const SMachinePort& device : snapshot.devices) {
        labels.push_back(device.Label());
    }
    EXPECT_EQ(labels,
              (std::vector<std::string>{"COM1 (ACPI\\PNP0501\\1)", "COM2 (ACPI\\PNP0501\\2)",
                                        "COM8 (PCI\\VEN_1415&DEV_C138\\3&11583659&0&70)",
                                        "COM7 (USB\\VID_0403&PID_6001\\A1B2)"}));
    ASSERT_TRUE(snapshot.devices[1].resources.has_value());
    EXPECT_EQ(snapshot.devices[1].resources->name, "AllocConfig");
    EXPECT_FALSE(snapshot.devices[3].resources.has_value());
}

TEST_F(MachinePortsTest, PortOnTheBuiltInCom1IsAnErrorNamingTheDevice) {
    Machine();
    OurPort("Board000", "COM1", "4", "0x3f8", "Serial002");
    OurPort("Board001", "COM3", "5", "0x2e8", "Serial003");
    const std::string com1 = kEnum + "ACPI\\PNP0501\\1";
    const std::string port = PortKey("Board000", "Port000");

    const std::vector<SCheckFinding> overlap = Findings(ECheckCode::IoOverlap);
    ASSERT_EQ(overlap.size(), 1u);
    EXPECT_EQ(overlap[0].items, (std::vector<std::string>{port, com1}));
    EXPECT_EQ(overlap[0].message, "Port000 of Board000 (0x3f8-0x3ff) overlaps the system's port "
                                  "COM1 (ACPI\\PNP0501\\1) (0x3f8-0x3ff).");
    const std::vector<SCheckFinding> irq = Findings(ECheckCode::IrqBoards);
    ASSERT_EQ(irq.size(), 1u);
    EXPECT_EQ(irq[0].items, (std::vector<std::string>{port, com1}));
    const std::vector<SCheckFinding> taken = Findings(ECheckCode::ComTaken);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_NE(std::find(taken[0].items.begin(), taken[0].items.end(), com1), taken[0].items.end());
    // The PCI card's resources are a binary value: said once, its COM name still compared.
    const std::vector<SCheckFinding> unread = Findings(ECheckCode::SystemUnread);
    ASSERT_EQ(unread.size(), 1u);
    EXPECT_EQ(unread[0].severity, ECheckSeverity::Warning);
    EXPECT_EQ(unread[0].items,
              std::vector<std::string>{kEnum + "PCI\\VEN_1415&DEV_C138\\3&11583659&0&70"});
    // Board001's port at 0x2e8 meets only its own record under Root, which is not foreign.
    for (const SCheckFinding& finding : CResourceCheck::RunOnRegistry()) {
        for (const std::string& item : finding.items) {
            EXPECT_EQ(item.find("Root\\PORTS"), std::string::npos) << finding.message;
        }
    }
}

TEST_F(MachinePortsTest, OurPortRenamedSinceItsRegistrationStillOwnsItsRecord) {
    Device("Root\\PORTS\\0000", "COM3", 9, FullDescriptor(ETestLayout::Bits32, {IoPort(0x2e8)}));
    OurPort("Board000", "COM4", "5", "0x2e8", "Serial002");
    m_probe.SetText(kSerialParameters + "\\Serial002", "DosDevices", "COM3");
    EXPECT_TRUE(CCheckReader::Read().devices.empty());
    m_probe.SetText(kSerialParameters + "\\Serial002", "DosDevices", "COM4");
    EXPECT_EQ(CCheckReader::Read().devices.size(), 1u);
}
} // namespace
