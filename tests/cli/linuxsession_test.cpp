#include "clifixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// A session for a Linux machine's boards, under a root folder that stands for its disk.
class LinuxSessionTest : public CCliFixture {
protected:
    LinuxSessionTest() {
        for (const char* folder : {"/root/sys/module/8250/parameters", "/root/etc/default"}) {
            std::filesystem::create_directories(Folder() + folder);
        }
        WriteFile("root/sys/module/8250/parameters/nr_uarts", "4\n");
        WriteFile("root/etc/default/grub", "GRUB_DEFAULT=0\n");
        WriteFile("root/etc/serial.conf", "# the modem\n/dev/ttyS4 port 0x3e8 irq 4\n");
    }
    SQserCtlRun Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--platform", "linux", "--root", Folder() + "/root"});
        return Ok(args);
    }
    std::string Root(const std::string& path) const { return ReadFile(Folder() + "/root" + path); }
};

TEST_F(LinuxSessionTest, EndsWithTheFilesAPersonWouldWrite) {
    Run({"add-board", "BoardType=RX-404", "BoardBaseAddress=0x280", "BoardBaseCOMPort=COM5"});
    Run({"add-port", "Board000"});
    EXPECT_EQ(Root("/etc/serial.conf"), "# the modem\n/dev/ttyS4 port 0x3e8 irq 4\n"
                                        "# BEGIN QSER\n"
                                        "/dev/ttyS5 port 0x0280 irq 7 baud_base 115200 autoconfig\n"
                                        "/dev/ttyS6 port 0x0288 irq 7 baud_base 115200 autoconfig\n"
                                        "/dev/ttyS7 port 0x0290 irq 7 baud_base 115200 autoconfig\n"
                                        "/dev/ttyS8 port 0x0298 irq 7 baud_base 115200 autoconfig\n"
                                        "# END QSER\n");
    EXPECT_EQ(Root("/etc/udev/rules.d/60-qser.rules"),
              "# Written by QSER: a link /dev/serial/by-com/COMn for each port of its boards.\n"
              "# QSER replaces this file when it saves; change the ports in QSER.\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS5\", SYMLINK+=\"serial/by-com/COM5\"\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS6\", SYMLINK+=\"serial/by-com/COM6\"\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS7\", SYMLINK+=\"serial/by-com/COM7\"\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS8\", SYMLINK+=\"serial/by-com/COM8\"\n");
    EXPECT_NE(Root("/etc/default/grub.d/qser.cfg").find("8250.nr_uarts=9\""), std::string::npos);
    const std::string found =
        Ctl({"--platform", "linux", "--root", Folder() + "/root", "check"}).out;
    EXPECT_NE(
        found.find("warning line-kernel: The ports of Board000 on ttyS5..ttyS8 work only "
                   "after a restart with 8250.nr_uarts=9 or more: the running kernel has 4 "
                   "serial lines.\n  SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Board000\n"),
        std::string::npos)
        << found;
    EXPECT_EQ(found.find("line-kernel"), found.rfind("line-kernel")) << found;

    Run({"--yes", "new"});
    const SQserCtlRun cleared = Run({"save"});
    EXPECT_EQ(Root("/etc/serial.conf"), "# the modem\n/dev/ttyS4 port 0x3e8 irq 4\n");
    EXPECT_FALSE(Exists("root/etc/udev/rules.d/60-qser.rules"));
    EXPECT_FALSE(Exists("root/etc/default/grub.d/qser.cfg"));
    EXPECT_NE(cleared.err.find("QSER's lines were removed from"), std::string::npos) << cleared.err;
}

TEST_F(LinuxSessionTest, ServiceCommandsAskSystemdWithoutTheRegistryFile) {
    const std::string unreachable = "systemd cannot be asked (the root is not the running system, "
                                    "or it was not started by systemd) (error 1722)\n";
    const struct {
        std::vector<std::string> command;
        int status;
        std::string err;
    } rows[] = {
        {{"status", "Serial"}, 1, "qserctl: cannot query Serial: " + unreachable},
        {{"start", "Serial"}, 1, "qserctl: cannot start Serial: " + unreachable},
        {{"stop", "Serial"}, 1, "qserctl: cannot stop Serial: " + unreachable},
        {{"restart", "Serial"}, 1, "qserctl: cannot restart Serial: " + unreachable},
        {{"set", "Serial", "refuse-stop=on"},
         2,
         "qserctl: refuse-stop and marked-for-deletion belong to the emulated service control "
         "manager; on Linux, systemd keeps its units' settings\n"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"--platform", "linux", "--root", Folder() + "/root",
                                         "service"};
        args.insert(args.end(), row.command.begin(), row.command.end());
        const SQserCtlRun run = Ctl(args);
        EXPECT_EQ(run.status, row.status) << row.command.front();
        EXPECT_EQ(run.err, row.err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(Exists("registry.db"));
}
} // namespace
