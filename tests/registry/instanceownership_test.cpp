#include "expectedmessages.h"
#include "familyswitch.h"
#include "hiveprobe.h"
#include "instanceownership.h"
#include "platformfamily.h"
#include "portregistration.h"
#include "storetest.h"
#include "temphive.h"
#include "testkeypaths.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class InstanceOwnershipFixture : public ::testing::Test {
protected:
    explicit InstanceOwnershipFixture(ETestStore store) : m_hive(store) {}

    void WritePort(const std::string& board, const std::string& port, const std::string& instance) {
        m_probe.SetText(PortKey(board, port), "PortCOMPort", "COM4");
        m_probe.SetText(PortKey(board, port), "PortSerialPort", instance);
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CFamilySwitch m_family;
};

using InstanceOwnershipTest = CStoreTest<InstanceOwnershipFixture>;

class InstanceOwnershipPassTest : public InstanceOwnershipFixture,
                                  public ::testing::WithParamInterface<SStoreFamily> {
protected:
    InstanceOwnershipPassTest() : InstanceOwnershipFixture(GetParam().store) {}
};

struct SFamily {
    const char* valid;
    const char* otherFamily;
    std::vector<std::string> parents;
};

const SFamily& FamilyCase(EPlatformFamily family) {
    static const SFamily nt = {"Serial004", "0004", {kSerialParameters}};
    static const SFamily win9x = {"0004", "Serial004", {kClassPorts, kEnumRootPorts}};
    return family == EPlatformFamily::WindowsNT ? nt : win9x;
}
} // namespace

// Whatever a port's PortSerialPort holds when it is no instance name of the family, the port is
// registered nowhere and named in the pass's one message, and no parent key gets a value.
TEST_P(InstanceOwnershipPassTest, PassRegistersOnlyPortsWithAnInstanceOfTheFamily) {
    const SFamily& family = FamilyCase(GetParam().family);
    m_family.Use(GetParam().family);
    // A Windows installation's own instances (Serial10000, ...) stay; our file has none.
    std::vector<std::vector<std::string>> instances;
    for (const std::string& parent : family.parents) {
        instances.push_back(m_probe.SubKeys(parent));
        instances.back().insert(instances.back().begin(), family.valid);
    }
    m_probe.SetText(BoardKey("Board000"), "BoardVectorAddress", "0x2d0");
    WritePort("Board000", "Port000", family.valid);
    WritePort("Board000", "Port001", family.otherFamily);
    WritePort("Board000", "Port002", "");
    WritePort("Board000", "Port003", std::string(200, '0'));
    m_probe.SetDword(PortKey("Board000", "Port004"), "PortSerialPort", 4);
    m_probe.CreateKey(PortKey("Board000", "Port005"));
    m_probe.SetText(BoardKey("Board001"), "BoardVectorAddress", "0x2d0");
    WritePort("Board001", "Port000", std::string(family.valid) + "0");
    WritePort("Board001", "Port001", "..");
    m_hive.Messages().Clear();

    SSystemValues values{"QSER", "2", "8"};
    EXPECT_EQ(GetParam().family == EPlatformFamily::WindowsNT
                  ? CPortRegistration::RegisterNTSerialPorts(values, true)
                  : CPortRegistration::Register95Ports(values, true),
              1);

    for (std::size_t i = 0; i < family.parents.size(); ++i) {
        const std::string& parent = family.parents[i];
        EXPECT_TRUE(m_probe.ValueNames(parent).empty()) << parent;
        EXPECT_EQ(m_probe.SubKeys(parent), instances[i]) << parent;
    }
    const MessageRecord message{"Port001 of Board000, Port002 of Board000, Port003 of Board000, "
                                "Port004 of Board000, Port005 of Board000, Port000 of Board001 and "
                                "Port001 of Board001 have no valid serial instance name; they were "
                                "not registered.",
                                EMsgButtons::Ok, EMsgIcon::None};
    std::vector<MessageRecord> expected{message};
    if (m_hive.Store() == ETestStore::WindowsHive) {
        expected.insert(expected.begin(), kKeptStartNotice);
    }
    EXPECT_EQ(m_hive.Messages().Records(), expected);
}

QSER_ON_STORES_AND_FAMILIES(InstanceOwnershipPassTest);

TEST_P(InstanceOwnershipTest, PortsNamingAnInstanceAreCountedAsKeyNamesCompare) {
    WritePort("Board000", "Port000", "Serial005");
    WritePort("Board000", "Port001", "SERIAL005");
    WritePort("Board003", "Port002", "Serial005");
    WritePort("Board003", "Port003", "Serial006");
    // Neither a board's nor a port's key by its name: not ours.
    WritePort("Board003", "Notes", "Serial005");
    WritePort("Other", "Port000", "Serial005");

    EXPECT_EQ(CInstanceOwnership::NamingPorts("Serial005"), 3);
    EXPECT_EQ(CInstanceOwnership::NamingPorts("serial006"), 1);
    EXPECT_EQ(CInstanceOwnership::NamingPorts("Serial007"), 0);
    EXPECT_TRUE(CInstanceOwnership::MayDeleteAfterRemoval("Serial007"));
    EXPECT_FALSE(CInstanceOwnership::MayDeleteAfterRemoval("Serial006"));
    EXPECT_FALSE(CInstanceOwnership::MayDeleteAfterRemoval("Serial0007"));
    EXPECT_FALSE(CInstanceOwnership::MayDeleteAfterRemoval(""));

    // A port key that cannot be read might name it: nothing is deleted on a guess.
    m_hive.Hive().InjectFault(ERegOp::OpenKey, PortKey("Board003", "Port003"), "",
                              ERROR_ACCESS_DENIED, false);
    EXPECT_FALSE(CInstanceOwnership::MayDeleteAfterRemoval("Serial007"));
    EXPECT_TRUE(m_hive.Messages().Records().empty());
}

QSER_ON_BOTH_STORES(InstanceOwnershipTest);
