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
}

} // namespace
