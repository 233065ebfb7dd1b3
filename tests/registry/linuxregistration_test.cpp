#include "driverkeys.h"
#include "hiveprobe.h"
#include "linuxlines.h"
#include "linuxregistration.h"
#include "portregistration.h"
#include "readonlymount.h"
#include "rootfilesystem.h"
#include "temphive.h"
#include "templinuxroot.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
using Files = std::map<std::string, std::optional<std::string>>;

constexpr const char* kConf = "/etc/serial.conf";
constexpr const char* kRules = "/etc/udev/rules.d/60-qser.rules";
constexpr const char* kDropIn = "/etc/default/grub.d/qser.cfg";
constexpr const char* kGrub = "/etc/default/grub";

const std::string kRulesHead = "# Written by QSER: a link /dev/serial/by-com/COMn for each port of "
                               "its boards.\n# QSER replaces this file when it saves; change the "
                               "ports in QSER.\n";

std::string Rule(int line, int com) {
    return "SUBSYSTEM==\"tty\", KERNEL==\"ttyS" + std::to_string(line) +
           "\", SYMLINK+=\"serial/by-com/COM" + std::to_string(com) + "\"\n";
}

std::string DropIn(int lines) {
    return "# Written by QSER: the serial lines of its ports need " + std::to_string(lines) +
           " lines registered at boot.\n# QSER removes this file when they no longer do; run "
           "update-grub after a change.\nGRUB_CMDLINE_LINUX=\"$GRUB_CMDLINE_LINUX "
           "8250.nr_uarts=" +
           std::to_string(lines) + "\"\n";
}

const std::string kTwoPortBlock = "# BEGIN QSER\n"
                                  "/dev/ttyS4 port 0x0280 irq 5 baud_base 115200 autoconfig\n"
                                  "/dev/ttyS5 port 0x0288 irq 5 baud_base 115200 autoconfig\n"
                                  "# END QSER\n";
const std::vector<SPortValues> kTwoPorts = {
    {"Port000", "COM5", "5", "0x280", "1", "ttyS4"},
    {"Port001", "COM6", "5", "0x288", "2", "ttyS5"},
};

struct SRegistrationCase {
    const char* name;
    Files before;
    std::vector<SPortValues> ports;
    int registeredLines;
    Files after;
    int result;
    // A text one of the messages holds; empty when none is expected but the notices.
    const char* message;
};

const SRegistrationCase kCases[] = {
    {"NewFiles",
     {},
     kTwoPorts,
     32,
     {{kConf, kTwoPortBlock}, {kRules, kRulesHead + Rule(4, 5) + Rule(5, 6)}, {kDropIn, {}}},
     1,
     "2 ports written to"},
    {"ForeignLinesKeptByteForByte",
     {{kConf, "# mine\r\n/dev/ttyS9 port 0x3e8 irq 4  # odd\n\n\t# last, no end"}},
     kTwoPorts,
     32,
     {{kConf,
       "# mine\r\n/dev/ttyS9 port 0x3e8 irq 4  # odd\n\n\t# last, no end\n" + kTwoPortBlock}},
     1,
     ""},
    {"BlockReplacedInPlace",
     {{kConf, "a\n# BEGIN QSER\n/dev/ttyS4 port 0x0100 irq 3 baud_base 115200 autoconfig\n"
              "# END QSER\nb\n"}},
     kTwoPorts,
     32,
     {{kConf, "a\n" + kTwoPortBlock + "b\n"}},
     1,
     ""},
    {"PortsRemovedKeepTheAdministratorsLines",
     {{kConf, "a\n" + kTwoPortBlock + "b\n"},
      {kRules, kRulesHead + Rule(4, 5)},
      {kDropIn, DropIn(12)},
      {kGrub, ""}},
     {},
     12,
     {{kConf, "a\nb\n"}, {kRules, {}}, {kDropIn, {}}},
     1,
     "lines were removed"},
    {"FileOfOnlyTheBlockGoesWithIt", {{kConf, kTwoPortBlock}}, {}, 4, {{kConf, {}}}, 1, ""},
    {"EmptyFileOfTheAdministratorStays", {{kConf, ""}}, {}, 4, {{kConf, ""}}, 1, ""},
    {"DropInAddedForLinesBeyondTheKernels",
     {{kGrub, "GRUB_DEFAULT=0\n"}},
     {{"Port000", "COM12", "5", "0x280", "1", "ttyS11"}},
     4,
     {{kDropIn, DropIn(12)}, {kGrub, "GRUB_DEFAULT=0\n"}},
     1,
     "run update-grub and restart"},
    {"DropInKeptOnceTheKernelHasTheLines",
     {{kGrub, ""}, {kDropIn, DropIn(12)}},
     {{"Port000", "COM12", "5", "0x280", "1", "ttyS11"}},
     12,
     {{kDropIn, DropIn(12)}},
     1,
     ""},
    {"DropInFollowsTheHighestLine",
     {{kGrub, ""}, {kDropIn, DropIn(12)}},
     kTwoPorts,
     12,
     {{kDropIn, DropIn(6)}},
     1,
     "now adds 8250.nr_uarts=6"},
    {"NoDropInWhereTheKernelHasTheLinesAlready",
     {{kGrub, ""}},
     {{"Port000", "COM12", "5", "0x280", "1", "ttyS11"}},
     32,
     {{kDropIn, {}}},
     1,
     ""},
    {"WithoutGrubTheParameterIsNamed",
     {},
     {{"Port000", "COM12", "5", "0x280", "1", "ttyS11"}},
     4,
     {{kDropIn, {}}},
     1,
     "add 8250.nr_uarts=12 to the kernel's command line"},
    {"LineOfTheAdministratorIsNotTakenOver",
     {{kConf, "/dev/ttyS4 port 0x3e8 irq 4\n"}},
     kTwoPorts,
     32,
     {{kConf, "/dev/ttyS4 port 0x3e8 irq 4\n# BEGIN QSER\n/dev/ttyS5 port 0x0288 irq 5 "
              "baud_base 115200 autoconfig\n# END QSER\n"}},
     1,
     "Port000 of Board000 (ttyS4 is set up by another line of"},
    {"LineNamedTwiceIsWrittenOnce",
     {},
     {kTwoPorts[0], {"Port001", "COM6", "5", "0x288", "2", "ttyS4"}},
     32,
     {{kConf, "# BEGIN QSER\n/dev/ttyS4 port 0x0280 irq 5 baud_base 115200 autoconfig\n"
              "# END QSER\n"}},
     1,
     "Port001 of Board000 (ttyS4 is Port000 of Board000's)"},
    {"PortWithoutALineIsNamed",
     {},
     {kTwoPorts[0], {"Port001", "COM6", "5", "0x288", "2", "Serial002"}},
     32,
     {{kConf, "# BEGIN QSER\n/dev/ttyS4 port 0x0280 irq 5 baud_base 115200 autoconfig\n"
              "# END QSER\n"}},
     1,
     "Port001 of Board000 has no serial line ttyS4 to ttyS31"},
    {"HostileComNameGetsNoRule",
     {},
     {{"Port000", "COM5\", RUN+=\"/bin/sh", "5", "0x280", "1", "ttyS4"}},
     32,
     {{kRules, kRulesHead}},
     1,
     "no COM name COM1 to COM999"},
    {"RulesFileNotOursIsRefused",
     {{kRules, "SUBSYSTEM==\"tty\"\n"}},
     kTwoPorts,
     32,
     {{kConf, {}}, {kRules, "SUBSYSTEM==\"tty\"\n"}},
     0,
     "is not QSER's"},
    {"DropInNotOursIsRefused",
     {{kDropIn, "GRUB_TIMEOUT=1\n"}},
     kTwoPorts,
     32,
     {{kConf, {}}, {kDropIn, "GRUB_TIMEOUT=1\n"}},
     0,
     "is not QSER's"},
    {"BlockWithoutItsEndIsRefused",
     {{kConf, "# BEGIN QSER\n/dev/ttyS4 port 0x0280\n"}},
     kTwoPorts,
     32,
     {{kConf, "# BEGIN QSER\n/dev/ttyS4 port 0x0280\n"}, {kRules, {}}},
     0,
     "without \"# END QSER\""},
    {"SecondBlockIsRefused",
     {{kConf, kTwoPortBlock + kTwoPortBlock}},
     {},
     32,
     {{kConf, kTwoPortBlock + kTwoPortBlock}},
     0,
     "a second line"},
};

class LinuxRegistrationTest : public ::testing::TestWithParam<SRegistrationCase> {
protected:
    void Lay(const SRegistrationCase& c) {
        m_root.Put("/sys/module/8250/parameters/nr_uarts",
                   std::to_string(c.registeredLines) + "\n");
        for (const auto& [path, bytes] : c.before) {
            if (bytes) {
                m_root.Put(path, *bytes);
            }
        }
        if (!c.ports.empty()) {
            PutBoardKey(m_probe, SBoardValues{});
        }
        for (const SPortValues& port : c.ports) {
            PutPortKey(m_probe, "Board000", port);
        }
    }
    bool SomeMessageHolds(const std::string& text) {
        for (const std::string& shown : m_hive.Messages().Texts()) {
            if (shown.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CTempLinuxRoot m_root;
};

TEST_P(LinuxRegistrationTest, WritesTheFilesAPersonWould) {
    const SRegistrationCase& c = GetParam();
    Lay(c);
    EXPECT_EQ(CLinuxRegistration::RegisterLinuxPorts({"QSER", "1", "2"}, !c.ports.empty()),
              c.result);
    for (const auto& [path, bytes] : c.after) {
        EXPECT_EQ(m_root.Get(path), bytes) << path;
    }
    if (*c.message != '\0') {
        EXPECT_TRUE(SomeMessageHolds(c.message))
            << ::testing::PrintToString(m_hive.Messages().Texts());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LinuxRegistrationTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

class LinuxRegistrationFileTest : public ::testing::Test {
protected:
    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CTempLinuxRoot m_root;
};

TEST_F(LinuxRegistrationFileTest, ReplacedFileKeepsItsModeAndOwner) {
    m_root.Put(kConf, "# mine\n");
    const std::string path = m_root.Folder() + kConf;
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    const bool owned = ::chown(path.c_str(), 1234, 4321) == 0;
    PutBoardKey(m_probe, SBoardValues{});
    PutPortKey(m_probe, "Board000", kTwoPorts[0]);
    ASSERT_EQ(CLinuxRegistration::RegisterLinuxPorts({"QSER", "1", "1"}, true), 1);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    if (owned) {
        EXPECT_EQ(info.st_uid, 1234u);
        EXPECT_EQ(info.st_gid, 4321u);
    }
    struct stat rules {};
    ASSERT_EQ(::stat((m_root.Folder() + kRules).c_str(), &rules), 0);
    EXPECT_EQ(rules.st_mode & 07777, 0644u);
}

TEST(LinuxRegistrationReadOnlyTest, ReadOnlyRootIsRefusedWithTheReasonAndNothingChanges) {
    CTempHive hive;
    CHiveProbe probe(hive.Hive());
    CTempLinuxRoot writable;
    writable.Put(kConf, "# mine\n");
    CReadOnlyMount mount(writable.Folder());
    if (!mount.Mounted()) {
        GTEST_SKIP() << "no right to mount";
    }
    CRootFileSystem files(mount.Path(""));
    CProcessScope scope({.rootFileSystem = &files});
    PutBoardKey(probe, SBoardValues{});
    PutPortKey(probe, "Board000", kTwoPorts[0]);
    EXPECT_EQ(CLinuxRegistration::RegisterLinuxPorts({"QSER", "1", "1"}, true), 0);
    const std::vector<std::string> texts = hive.Messages().Texts();
    EXPECT_EQ(texts, std::vector<std::string>{"Cannot write " + files.Root() +
                                              "/etc/serial.conf: Read-only file system; the "
                                              "ports were not registered with Linux."});
    EXPECT_EQ(writable.Get(kConf), "# mine\n");
    EXPECT_EQ(writable.Get(kRules), std::nullopt);
}

struct SNamingCase {
    const char* name;
    std::vector<std::pair<int, unsigned>> machineLines;
    const char* conf;
    std::vector<std::string> portLines;
    const char* expected;
};

const SNamingCase kNamingCases[] = {
    {"EmptyMachineGivesTheFirstBoardLine", {}, "", {}, "ttyS4"},
    {"PcLinesAreNeverHandedOut", {{0, 0x3f8}, {1, 0x2f8}}, "", {}, "ttyS4"},
    {"LineTheMachineHasIsSkipped", {{4, 0x3e8}, {5, 0}}, "", {}, "ttyS5"},
    {"LineOfTheAdministratorIsSkipped",
     {},
     "# /dev/ttyS5 is a comment\n/dev/ttyS4 port 0x100\n",
     {},
     "ttyS5"},
    {"LineInQsersOwnBlockIsFree",
     {},
     "# BEGIN QSER\n/dev/ttyS4 port 0x0280 irq 5\n# END QSER\n",
     {},
     "ttyS4"},
    {"LineOfAnotherPortIsSkipped", {{4, 0x280}}, "", {"ttyS4", "ttyS5"}, "ttyS6"},
    {"NoLineLeft", {}, "", {}, ""},
};

class LinuxNamingTest : public ::testing::TestWithParam<SNamingCase> {
protected:
    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
    CTempLinuxRoot m_root;
};

TEST_P(LinuxNamingTest, NewPortGetsTheFirstFreeLine) {
    const SNamingCase& c = GetParam();
    for (const auto& [number, port] : c.machineLines) {
        m_root.PutLine(number, port, 4);
    }
    m_root.Put(kConf, c.conf);
    PutBoardKey(m_probe, SBoardValues{});
    std::vector<std::string> lines = c.portLines;
    if (*c.expected == '\0') {
        for (int line = CLinuxLines::kFirst; line < CLinuxLines::kCount; ++line) {
            lines.push_back(CLinuxLines::Name(line));
        }
    }
    for (std::size_t index = 0; index < lines.size(); ++index) {
        SPortValues port;
        port.name = "Port" + std::string(index < 10 ? "00" : "0") + std::to_string(index);
        port.instance = lines[index];
        PutPortKey(m_probe, "Board000", port);
    }
    EXPECT_EQ(CLinuxLines::MakeLineName(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LinuxNamingTest, ::testing::ValuesIn(kNamingCases),
                         [](const auto& row) { return std::string(row.param.name); });
} // namespace
