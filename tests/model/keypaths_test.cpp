#include "familyswitch.h"
#include "keypaths.h"
#include "platformfamily.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";

struct SPathRow {
    const char* name;
    EPlatformFamily family;
    std::function<std::string()> path;
    std::string expected;
};

void PrintTo(const SPathRow& row, std::ostream* out) {
    *out << row.name;
}

constexpr EPlatformFamily kNT = EPlatformFamily::WindowsNT;
constexpr EPlatformFamily k9x = EPlatformFamily::Windows9x;

const SPathRow kPaths[] = {
    {"BoardKey", kNT, [] { return BoardKeyPath("Board003"); }, kServices + "QSERDRV\\Board003"},
    {"PortKey", kNT, [] { return PortKeyPath("Board003", "Port012"); },
     kServices + "QSERDRV\\Board003\\Port012"},
    {"InstanceKeyOnNT", kNT, [] { return InstanceKeyPath("Serial004"); },
     kServices + "Serial\\Parameters\\Serial004"},
    {"InstanceKeyOn9x", k9x, [] { return InstanceKeyPath("0004"); },
     kServices + "Class\\Ports\\0004"},
    {"SerialInstanceKeyOn9xStaysNT", k9x, [] { return SerialInstanceKeyPath("Serial004"); },
     kServices + "Serial\\Parameters\\Serial004"},
    {"ClassInstanceKey", kNT, [] { return ClassInstanceKeyPath("0004"); },
     kServices + "Class\\Ports\\0004"},
    {"DeviceInstanceKey", k9x, [] { return DeviceInstanceKeyPath("0004"); },
     "Enum\\Root\\Ports\\0004"},
    {"LogConfigKey", k9x, [] { return LogConfigKeyPath("0004"); },
     "Enum\\Root\\Ports\\0004\\LogConfig"},
    {"NewBoardName", kNT, [] { return kBoardKeys.Name(7); }, "Board007"},
    {"NewPortName", kNT, [] { return kPortKeys.Name(15); }, "Port015"},
    {"NewInstanceNameOnNT", kNT, [] { return InstanceNaming().keys.Name(2); }, "Serial002"},
    {"NewInstanceNameOn9x", k9x, [] { return InstanceNaming().keys.Name(12); }, "0012"},
    {"InstanceParentOn9x", k9x, [] { return InstanceNaming().parentPath; },
     kServices + "Class\\Ports"},
};

class KeyPathTest : public testing::TestWithParam<SPathRow> {
protected:
    void SetUp() override { m_family.Use(GetParam().family); }

private:
    CFamilySwitch m_family;
};

TEST_P(KeyPathTest, IsBuiltAsTheRegistryNamesIt) {
    EXPECT_EQ(GetParam().path(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, KeyPathTest, testing::ValuesIn(kPaths),
                         [](const testing::TestParamInfo<SPathRow>& row) {
                             return std::string(row.param.name);
                         });

TEST(KeyNaming, OnlyTheCaseSensitivePrefixCounts) {
    EXPECT_TRUE(kBoardKeys.Counts("Board000"));
    EXPECT_TRUE(kBoardKeys.Counts("Bogus"));
    EXPECT_FALSE(kBoardKeys.Counts("board000"));
    EXPECT_FALSE(kBoardKeys.Counts("B"));
    EXPECT_TRUE(kPortKeys.Counts("Po"));
    EXPECT_FALSE(kPortKeys.Counts("Board000"));
}

TEST(KeyNaming, ASingleKeyNameHasNoSeparatorAndIsNotEmpty) {
    EXPECT_TRUE(IsSingleKeyName("Board000"));
    EXPECT_FALSE(IsSingleKeyName(""));
    EXPECT_FALSE(IsSingleKeyName("Board000\\Port000"));
    EXPECT_FALSE(IsSingleKeyName("\\"));
    EXPECT_TRUE(IsSingleKeyName(std::string(255, 'a')));
    EXPECT_FALSE(IsSingleKeyName(std::string(256, 'a')));
    EXPECT_FALSE(IsSingleKeyName(std::string("Board\0"
                                             "001",
                                             8)));
}

struct SInstanceRow {
    const char* text;
    bool onNT;
    bool on9x;
};

// What a port's stored PortSerialPort may hold, and whether it names an instance key.
const SInstanceRow kInstances[] = {
    {"Serial002", true, false},
    {"Serial998", true, false},
    {"0000", false, true},
    {"0004", false, true},
    {"0998", false, true},
    {"", false, false},
    // The fallbacks and what is never given out: often the keys of another driver.
    {"Serial000", false, false},
    {"Serial001", false, false},
    {"Serial999", false, false},
    {"0999", false, false},
    {"1000", false, false},
    {"Serial1000", false, false},
    {"Serial01", false, false},
    {"serial002", false, false},
    {"Serial00a", false, false},
    {"Serial 02", false, false},
    {"Serial002\\x", false, false},
    {"00040", false, false},
    {"004", false, false},
    {"-004", false, false},
    {"Serial", false, false},
    {"Parameters", false, false},
    {"..", false, false},
};

TEST(InstanceName, IsOneTheFamilyGivesOut) {
    CFamilySwitch family;
    for (const SInstanceRow& row : kInstances) {
        family.Use(kNT);
        EXPECT_EQ(IsInstanceName(row.text), row.onNT) << "NT: " << row.text;
        family.Use(k9x);
        EXPECT_EQ(IsInstanceName(row.text), row.on9x) << "9x: " << row.text;
    }
    family.Use(kNT);
    EXPECT_FALSE(IsInstanceName(std::string("Serial00") + '\0'));
}

} // namespace
