#include "irootfilesystem.h"
#include "linuxfacts.h"
#include "resourcecheck.h"
#include "snapshotbuilder.h"
#include "templinuxroot.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {
using Shorts = std::vector<std::string>;

SCheckPort On(SCheckPort port, const std::string& line) {
    port.serialPort = line;
    return port;
}

SCheckSnapshot Linux(std::initializer_list<SCheckBoard> boards, SLinuxFacts facts = {}) {
    SCheckSnapshot snapshot;
    snapshot.linuxFamily = true;
    snapshot.boards = boards;
    if (!facts.registeredLines) {
        facts.registeredLines = 32;
    }
    snapshot.machine = std::move(facts);
    return snapshot;
}

SLinuxFacts Facts(std::vector<SMachineEntry> entries, std::vector<std::pair<int, unsigned>> lines,
                  std::set<int> confLines, std::optional<int> registered, std::string lockdown) {
    return {std::move(entries), std::move(lines), std::move(confLines), registered,
            std::move(lockdown)};
}

struct SLinuxRow {
    const char* name;
    SCheckSnapshot snapshot;
    Shorts expected;
};

void PrintTo(const SLinuxRow& row, std::ostream* out) {
    *out << row.name;
}

const SCheckPort kPort4 = On(Port("Port000", "0x200", "5", "COM5"), "ttyS4");
const SCheckPort kPort5 = On(Port("Port001", "0x208", "7", "COM6"), "ttyS5");
const SCheckPort kPort7 = On(Port("Port000", "0x300", "10", "COM8"), "ttyS7");

const SLinuxRow kRows[] = {
    {"Clean", Linux({Unshared("Board000", {kPort4, kPort5})}), {}},
    {"ComNamesAboveNineNeedNoDevicePrefix",
     Linux({Unshared("Board000", {On(Port("Port000", "0x200", "5", "COM12"), "ttyS4")})}),
     {}},
    {"SharingBoardsVectorIsUnused",
     Linux({Shared("Board000", "0x2d0", {kPort4, kPort5})}),
     {"vector-unused Board000"}},
    {"PortWithoutALine",
     Linux({Unshared("Board000", {On(Port("Port000", "0x200", "5", "COM5"), "Serial002")})}),
     {"line-invalid Board000\\Port000"}},
    {"PcLineIsNoBoardLine",
     Linux({Unshared("Board000", {On(Port("Port000", "0x200", "5", "COM5"), "ttyS1")})}),
     {"line-invalid Board000\\Port000"}},
    {"LineNamedTwice",
     Linux({Unshared("Board000", {kPort4, On(kPort5, "ttyS4")})}),
     {"line-taken Board000\\Port001 Board000\\Port000"}},
    {"LineOfTheAdministratorsSerialConf",
     Linux({Unshared("Board000", {kPort4})}, Facts({}, {}, {4}, 32, "")),
     {"line-taken Board000\\Port000"}},
    {"LineTheMachineHasAtAnotherAddress",
     Linux({Unshared("Board000", {kPort4})}, Facts({}, {{4, 0x3e8}}, {}, 32, "")),
     {"line-taken Board000\\Port000"}},
    {"LinesBeyondTheRunningKernelsOncePerBoard",
     Linux({Unshared("Board000", {kPort4, kPort5}), Unshared("Board001", {kPort7})},
           Facts({}, {}, {}, 5, "")),
     {"line-kernel Board000", "line-kernel Board001"}},
    {"LockedDownKernel",
     Linux({Unshared("Board000", {kPort4})}, Facts({}, {}, {}, 32, "integrity")),
     {"lockdown SYSTEM\\CurrentControlSet\\Services\\QSERDRV"}},
    {"LockdownWithoutBoardsSaysNothing", Linux({}, Facts({}, {}, {}, 32, "integrity")), {}},
    {"IoRangeOfAnotherDriver",
     Linux({Unshared("Board000", {kPort4})}, Facts({{"parport0 (/proc/ioports)", "/proc/ioports",
                                                     SIoRange{0x200, 0x202}, std::nullopt}},
                                                   {}, {}, 32, "")),
     {"io-overlap Board000\\Port000 /proc/ioports"}},
    {"InterruptOfAnotherDriver",
     Linux(
         {Unshared("Board000", {kPort4})},
         Facts({{"snd (/proc/interrupts)", "/proc/interrupts", std::nullopt, 5u}}, {}, {}, 32, "")),
     {"irq-boards Board000\\Port000 /proc/interrupts"}},
};

class LinuxCheckRules : public testing::TestWithParam<SLinuxRow> {};

TEST_P(LinuxCheckRules, Findings) {
    EXPECT_EQ(Short(CResourceCheck::Run(GetParam().snapshot)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, LinuxCheckRules, testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(LinuxCheckRulesTest, LinesBeyondTheRunningKernelAreNamedAsRuns) {
    const SCheckPort port9 = On(Port("Port002", "0x210", "10", "COM7"), "ttyS9");
    const std::vector<SCheckFinding> findings = CResourceCheck::Run(
        Linux({Unshared("Board000", {kPort4, kPort5, port9})}, Facts({}, {}, {}, 4, "")));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].message,
              "The ports of Board000 on ttyS4..ttyS5 and ttyS9 work only after a restart with "
              "8250.nr_uarts=10 or more: the running kernel has 4 serial lines.");
}

TEST(LinuxFactsTest, ReadsTheMachineAndLeavesOutWhatIsOurs) {
    CTempLinuxRoot root;
    root.PutLine(0, 0x3f8, 4);
    root.PutLine(4, 0x280, 5); // a board port, applied already
    root.PutLine(5, 0x2e8, 3); // a line the machine took
    root.Put("/sys/class/tty/ttyS6/port", "0x0\n");
    root.Put("/proc/ioports", "0000-0cf7 : PCI Bus 0000:00\n"
                              "  0060-0060 : keyboard\n"
                              "  0280-0287 : serial\n"
                              "  0378-037a : parport0\n"
                              "d000-d0ff : 0000:00:03.0\n");
    root.Put("/proc/interrupts",
             "           CPU0       CPU1\n"
             "  1:          9          0   IO-APIC   1-edge      i8042\n"
             "  4:         12          0   IO-APIC   4-edge      ttyS0\n"
             "  5:          0          0   IO-APIC   5-edge      serial\n"
             "  7:          3          0   IO-APIC   7-fasteoi   parport0, snd\n"
             " 24:          5          0   PCI-MSI 512000-edge      ahci\n"
             "NMI:          0          0   Non-maskable interrupts\n");
    root.Put("/sys/module/8250/parameters/nr_uarts", "8\n");
    root.Put("/sys/kernel/security/lockdown", "none [integrity] confidentiality\n");
    root.Put("/etc/serial.conf", "/dev/ttyS9 port 0x100\n# BEGIN QSER\n/dev/ttyS4 port 0x0280\n"
                                 "# END QSER\n");
    const SLinuxFacts facts = CLinuxFacts::Read(
        root.Files(),
        {Shared("Board000", "NONE", {On(Port("Port000", "0x280", "5", "COM5"), "ttyS4")})});
    Shorts entries;
    for (const SMachineEntry& entry : facts.entries) {
        entries.push_back(entry.label + " " + entry.source +
                          (entry.range ? " " + std::to_string(entry.range->first) + "-" +
                                             std::to_string(entry.range->last)
                                       : "") +
                          (entry.irq ? " irq " + std::to_string(*entry.irq) : ""));
    }
    EXPECT_EQ(entries, (Shorts{"the machine's ttyS0 /sys/class/tty/ttyS0 1016-1023 irq 4",
                               "the machine's ttyS5 /sys/class/tty/ttyS5 744-751 irq 3",
                               "keyboard (/proc/ioports) /proc/ioports 96-96",
                               "parport0 (/proc/ioports) /proc/ioports 888-890",
                               "0000:00:03.0 (/proc/ioports) /proc/ioports 53248-53503",
                               "i8042 (/proc/interrupts) /proc/interrupts irq 1",
                               "parport0, snd (/proc/interrupts) /proc/interrupts irq 7"}));
    EXPECT_EQ(facts.confLines, std::set<int>{9});
    EXPECT_EQ(facts.registeredLines, 8);
    EXPECT_EQ(facts.lockdown, "integrity");
}
} // namespace
