#include "boardobj.h"
#include "expectedmessages.h"
#include "familyswitch.h"
#include "hivebatch.h"
#include "platformfamily.h"
#include "portobj.h"
#include "registry.h"
#include "stringtable.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

class NameScanTest : public testing::Test {
protected:
    static void CreateKeys(const std::string& parent, const std::vector<std::string>& names) {
        CHiveBatch batch;
        for (const auto& name : names) {
            CRegistry key;
            ASSERT_EQ(key.OpenKey(parent + "\\" + name, "", KEY_ALL_ACCESS, 0), ERROR_SUCCESS)
                << name;
            key.CloseKey();
        }
        ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    }

    static std::vector<std::string> Numbered(const std::string& prefix, int first, int last,
                                             int width) {
        std::vector<std::string> names;
        for (int i = first; i <= last; ++i) {
            std::string digits = std::to_string(i);
            names.push_back(prefix + std::string(width - digits.size(), '0') + digits);
        }
        return names;
    }

    static bool KeyExists(const std::string& path) {
        CRegistry key;
        return key.OpenKey(path, "", KEY_ALL_ACCESS, 1) == ERROR_SUCCESS;
    }

    std::vector<std::string> Messages() { return m_hive.Messages().Texts(); }

    CTempHive m_hive;
    CFamilySwitch m_family;
};

// A name that does not fit the 80-character buffer and sorts before every real name.
const std::string kLongForeignName(100, 'A');

struct SBoardScanCase {
    const char* title;
    std::vector<std::string> keys;
    std::string expected;
};

void PrintTo(const SBoardScanCase& row, std::ostream* out) {
    *out << '"' << row.title << '"';
}

class BoardNameTest : public NameScanTest, public testing::WithParamInterface<SBoardScanCase> {};

TEST_P(BoardNameTest, LowestFreeSlot) {
    CreateKeys(kDriverKey, GetParam().keys);
    EXPECT_EQ(CBoardObj().GetBoardName(), GetParam().expected);
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardNameTest,
    testing::Values(
        SBoardScanCase{"Gap", {"Board000", "Board001", "Board003"}, "Board002"},
        SBoardScanCase{"AllTen",
                       {"Board000", "Board001", "Board002", "Board003", "Board004", "Board005",
                        "Board006", "Board007", "Board008", "Board009"},
                       ""},
        SBoardScanCase{"NumberTenOccupiesNothing",
                       {"Board000", "Board001", "Board002", "Board003", "Board004", "Board005",
                        "Board006", "Board007", "Board008", "Board010"},
                       "Board009"},
        SBoardScanCase{"AnyBoPrefixCounts", {"BoardX"}, "Board001"},
        SBoardScanCase{"ShortBoNameReadsZero", {"Bo"}, "Board001"},
        SBoardScanCase{"NumberAtSixthCharacter", {"Bogus 0", "Bo   1"}, "Board002"},
        SBoardScanCase{"OtherPrefixesIgnored", {"board000", "XBoard000", "Serial"}, "Board000"},
        SBoardScanCase{"LongForeignKeyFirst", {kLongForeignName, "Board000"}, "Board001"}),
    [](const testing::TestParamInfo<SBoardScanCase>& row) { return row.param.title; });

TEST_F(NameScanTest, MissingDriverKeyIsCreated) {
    ASSERT_FALSE(KeyExists(kDriverKey));
    EXPECT_EQ(CBoardObj().GetBoardName(), "Board000");
    EXPECT_TRUE(KeyExists(kDriverKey));
    EXPECT_TRUE(Messages().empty());
}

// Names come from the registry only: a board not yet written does not reserve its name.
TEST_F(NameScanTest, TwoUnwrittenBoardsShareTheirName) {
    CreateKeys(kDriverKey, {"Board000"});
    const CBoardObj first;
    const CBoardObj second;
    EXPECT_EQ(first.GetBoardName(), "Board001");
    EXPECT_EQ(second.GetBoardName(), "Board001");
}

TEST_F(NameScanTest, DriverKeyOpenFailureIsReported) {
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kDriverKey, "", ERROR_ACCESS_DENIED);
    EXPECT_EQ(CBoardObj().GetBoardName(), "");
    ASSERT_EQ(m_hive.Messages().Records().size(), 1U);
    EXPECT_EQ(m_hive.Messages().Records()[0], kOpenRegistryFailed);
}

TEST_F(NameScanTest, DriverKeyNotFoundIsSilent) {
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kDriverKey, "", ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CBoardObj().GetBoardName(), "");
    EXPECT_TRUE(Messages().empty());
}

// An enumeration that fails for another reason than a long name ends the scan instead of
// looping; a persistent ERROR_MORE_DATA is such a failure too.
struct SEnumerationFailure {
    const char* name;
    Win32Status status;
};

const SEnumerationFailure kEnumerationFailures[] = {{"IOFailure", ERROR_REGISTRY_IO_FAILED},
                                                    {"PersistentMoreData", ERROR_MORE_DATA}};

void PrintTo(const SEnumerationFailure& row, std::ostream* out) {
    *out << row.name;
}

class EnumerationFailureTest : public NameScanTest,
                               public testing::WithParamInterface<SEnumerationFailure> {};

TEST_P(EnumerationFailureTest, EnumerationFailureEndsTheScan) {
    CreateKeys(kDriverKey, {"Board000"});
    m_hive.Hive().InjectFault(ERegOp::EunmKey, kDriverKey, "", GetParam().status, false);
    EXPECT_EQ(CBoardObj().GetBoardName(), "Board000");
    m_hive.Hive().ClearFaults();
    EXPECT_EQ(CBoardObj().GetBoardName(), "Board001");
}

INSTANTIATE_TEST_SUITE_P(Cases, EnumerationFailureTest, testing::ValuesIn(kEnumerationFailures),
                         SRowName());

TEST_F(NameScanTest, PortNames) {
    CreateKeys(BoardKey("Board000"), Numbered("Port", 0, 9, 3));
    EXPECT_EQ(CPortObj().MakeDefaultPortName("Board000"), "Port010");
    CreateKeys(BoardKey("Board000"), Numbered("Port", 10, 14, 3));
    EXPECT_EQ(CPortObj().MakeDefaultPortName("Board000"), "Port015");
    CreateKeys(BoardKey("Board000"), {"Port015"});
    EXPECT_EQ(CPortObj().MakeDefaultPortName("Board000"), "");
    CreateKeys(BoardKey("Board001"),
               {"Port16", "Portable", "pOrt002", kLongForeignName, "Port001"});
    EXPECT_EQ(CPortObj().MakeDefaultPortName("Board001"), "Port002");
}

TEST_F(NameScanTest, MissingBoardKeyGivesPort000AndIsNotCreated) {
    EXPECT_EQ(CPortObj().MakeDefaultPortName("Board005"), "Port000");
    EXPECT_FALSE(KeyExists(BoardKey("Board005")));
    EXPECT_EQ(CPortObj().MakeDefaultPortName(""), "Port000");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NameScanTest, NoGenerationTouchesNoKey) {
    const CPortObj unnamed("", 1);
    const CPortObj rebuilt("Board000", 0);
    for (const std::string& path : {BoardKey("Board000"), kSerialParameters, kClassPorts}) {
        EXPECT_FALSE(KeyExists(path)) << path;
    }
}

struct SInstanceCase {
    const char* title;
    EPlatformFamily family;
    std::vector<std::string> keys;
    std::string expected;
};

void PrintTo(const SInstanceCase& row, std::ostream* out) {
    *out << '"' << row.title << '"';
}

class InstanceNameTest : public NameScanTest, public testing::WithParamInterface<SInstanceCase> {
protected:
    static const std::string& Parent(EPlatformFamily family) {
        return family == EPlatformFamily::Windows9x ? kClassPorts : kSerialParameters;
    }
};

TEST_P(InstanceNameTest, LowestFreeInstanceIsReserved) {
    const SInstanceCase& row = GetParam();
    m_family.Use(row.family);
    CreateKeys(Parent(row.family), row.keys);
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), row.expected);
    EXPECT_TRUE(KeyExists(Parent(row.family) + "\\" + row.expected));
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstanceNameTest,
    testing::Values(SInstanceCase{"NTEmpty", EPlatformFamily::WindowsNT, {}, "Serial002"},
                    SInstanceCase{"NTNumbersAbove998Ignored",
                                  EPlatformFamily::WindowsNT,
                                  {"Serial10000", "Serial10001"},
                                  "Serial002"},
                    SInstanceCase{"NTGap",
                                  EPlatformFamily::WindowsNT,
                                  {"Serial002", "Serial003", "Serial005", "Sexy4"},
                                  "Serial004"},
                    SInstanceCase{"NTLongForeignKeyFirst",
                                  EPlatformFamily::WindowsNT,
                                  {kLongForeignName, "Serial002"},
                                  "Serial003"},
                    SInstanceCase{"NTEveryOtherKeyIgnored",
                                  EPlatformFamily::WindowsNT,
                                  {"Serial", "0002", "XSerial002"},
                                  "Serial002"},
                    // Not counted by the scan, but the same key as Serial002 and another's.
                    SInstanceCase{"NTKeyOfAnotherCaseIsNotTaken",
                                  EPlatformFamily::WindowsNT,
                                  {"serial002", "SERIAL003"},
                                  "Serial004"},
                    SInstanceCase{"Win9xFirstFour",
                                  EPlatformFamily::Windows9x,
                                  {"0000", "0001", "0002", "0003"},
                                  "0004"},
                    SInstanceCase{"Win9xOnlyLeadingZeroCounts",
                                  EPlatformFamily::Windows9x,
                                  {"0000", "1001", "A0001", "00998"},
                                  "0001"},
                    SInstanceCase{"Win9xLongForeignKeyFirst",
                                  EPlatformFamily::Windows9x,
                                  {"0" + std::string(99, '-'), "0000"},
                                  "0001"}),
    [](const testing::TestParamInfo<SInstanceCase>& row) { return row.param.title; });

TEST_F(NameScanTest, InstancesRunOut) {
    CreateKeys(kSerialParameters, Numbered("Serial", 2, 998, 3));
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), "Serial1000");
    m_family.Use(EPlatformFamily::Windows9x);
    CreateKeys(kClassPorts, Numbered("", 0, 998, 4));
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), "1000");
}

TEST_F(NameScanTest, InstanceParentCannotBeOpened) {
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kSerialParameters, "", ERROR_ACCESS_DENIED);
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), "Serial000");
    m_family.Use(EPlatformFamily::Windows9x);
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kClassPorts, "", ERROR_ACCESS_DENIED);
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), "1000");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NameScanTest, ReservationFailure) {
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kSerialParameters + "\\Serial002", "",
                              ERROR_ACCESS_DENIED);
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), "Serial1000");
    EXPECT_FALSE(KeyExists(kSerialParameters + "\\Serial002"));
    m_family.Use(EPlatformFamily::Windows9x);
    m_hive.Hive().InjectFault(ERegOp::OpenKey, kClassPorts + "\\0000", "", ERROR_ACCESS_DENIED);
    EXPECT_EQ(CPortObj().MakeSerialInstanceName(), "1000");
    EXPECT_TRUE(Messages().empty());
}

// Each generated port reserves its own instance, so consecutive ports never share one.
TEST_F(NameScanTest, ConsecutivePortsGetDistinctInstances) {
    const CPortObj first("Board000", 1);
    const CPortObj second("Board000", 1);
    EXPECT_EQ(first.GetPortSerialPort(), "Serial002");
    EXPECT_EQ(second.GetPortSerialPort(), "Serial003");
    // Port names, in contrast, count only written port keys.
    EXPECT_EQ(first.GetPortName(), "Port000");
    EXPECT_EQ(second.GetPortName(), "Port000");
}

} // namespace
