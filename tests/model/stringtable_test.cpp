#include "keypaths.h"
#include "stringtable.h"

#include <cctype>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(StringTable, RegistryNamesAreCompleteFrom32784To32846) {
    for (unsigned id = IDS_DRIVER_SERVICE; id <= IDS_BOARD_STANDARD_MODE_ENABLED; ++id) {
        EXPECT_FALSE(LoadString(id).empty()) << id;
    }
}

TEST(StringTable, SelectedTexts) {
    const std::vector<std::pair<unsigned, std::string>> expected = {
        {32784, "QSERDRV"},
        {32785, "BoardName"},
        {32790, "BoardVectorAddress"},
        {32795, "BoardType"},
        {32798, "SystemNumPorts"},
        {32799, "ErrorControl"},
        {32806, "Type"},
        {32807, "PortIndex"},
        {32808, "DosDevices"},
        {32814, "PortIndex"},
        {32815, "PortSerialPort"},
        {32816, "DevLoader"},
        {32827, "DriverDesc"},
        {32828, "Class"},
        {32833, "FRIENDLYNAME"},
        {32836, "PORTNAME"},
        {32837, "0"},
        {32845, "8"},
        {32846, "BoardStandardModeEnabled"},
        {200, "Misc"},
        {205, "DockedDlgCYSize"},
        {220, "All Ports on this Board will be deleted.\nContinue?"},
        {221, "All Ports on the same board will be deleted. \nContinue?"},
        {222, "This port will be deleted. \nContinue?"},
        {224, "All Boards  will be deleted.\nContinue?"},
    };
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(LoadString(id), text) << id;
    }
}

TEST(StringTable, UnknownIdsGiveEmptyText) {
    EXPECT_EQ(LoadString(223), "");
    EXPECT_EQ(LoadString(32783), "");
    EXPECT_EQ(LoadString(32847), "");
}

// Value names written into one key must not collide (case-insensitively, as the registry
// compares them): the board values, the port values and the NT per-port values.
TEST(StringTable, ValueNamesOfOneKeyAreDistinct) {
    const std::vector<std::vector<unsigned>> keys = {
        {32785, 32795, 32786, 32788, 32787, 32789, 32790, 32846},
        {32791, 32792, 32793, 32794, 32807, 32815},
        {32799, 32800, 32801, 32802, 32803, 32804, 32805, 32806},
        {32808, 32809, 32810, 32811, 32812, 32813, 32814},
        {32816, 32817, 32818, 32819, 32820, 32821, 32822, 32823, 32824, 32825, 32826, 32827},
        {32828, 32829, 32830, 32831, 32832, 32833, 32834, 32835, 32836},
    };
    for (const auto& ids : keys) {
        std::set<std::string> names;
        for (unsigned id : ids) {
            std::string lower = LoadString(id);
            for (char& c : lower) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            EXPECT_TRUE(names.insert(lower).second) << LoadString(id);
        }
    }
}

TEST(KeyPaths, Texts) {
    EXPECT_EQ(DriverKeyPath(), "SYSTEM\\CurrentControlSet\\Services\\QSERDRV");
    EXPECT_EQ(SerialServiceKeyPath(), "SYSTEM\\CurrentControlSet\\Services\\Serial");
    EXPECT_EQ(SerialParametersKeyPath(), "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters");
    EXPECT_EQ(ClassPortsKeyPath(), "SYSTEM\\CurrentControlSet\\Services\\Class\\Ports");
    EXPECT_EQ(EnumRootPortsKeyPath(), "Enum\\Root\\Ports");
}

} // namespace
