#include "platformfamily.h"
#include "processscope.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(PlatformFamilyTest, TopBitOfTheVersionTellsTheFamily) {
    {
        CProcessScope family({.platformFamily = EPlatformFamily::Windows9x});
        EXPECT_NE(GetVersion() & 0x80000000u, 0u);
        EXPECT_TRUE(IsWindows9x());
    }
    CProcessScope family({.platformFamily = EPlatformFamily::WindowsNT});
    EXPECT_EQ(GetVersion() & 0x80000000u, 0u);
    EXPECT_FALSE(IsWindows9x());
}

TEST(PlatformFamilyTest, OptionWinsOverEnvironmentAndDefaultIsNT) {
    unsetenv("QSER_PLATFORM");
    EXPECT_EQ(CPlatformFamily::Resolve(std::nullopt), EPlatformFamily::WindowsNT);
    setenv("QSER_PLATFORM", "9X", 1);
    EXPECT_EQ(CPlatformFamily::Resolve(std::nullopt), EPlatformFamily::Windows9x);
    EXPECT_EQ(CPlatformFamily::Resolve(std::string("nt")), EPlatformFamily::WindowsNT);
    EXPECT_EQ(CPlatformFamily::Resolve(std::string("Linux")), EPlatformFamily::Linux);
    setenv("QSER_PLATFORM", "win95", 1);
    EXPECT_EQ(CPlatformFamily::Resolve(std::nullopt), std::nullopt);
    unsetenv("QSER_PLATFORM");
    EXPECT_EQ(CPlatformFamily::Resolve(std::string("")), std::nullopt);
}
