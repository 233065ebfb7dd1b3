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

    Run({"--yes", "new"});
    const SQserCtlRun cleared = Run({"save"});
    EXPECT_EQ(Root("/etc/serial.conf"), "# the modem\n/dev/ttyS4 port 0x3e8 irq 4\n");
    EXPECT_FALSE(Exists("root/etc/udev/rules.d/60-qser.rules"));
    EXPECT_FALSE(Exists("root/etc/default/grub.d/qser.cfg"));
    EXPECT_NE(cleared.err.find("QSER's lines were removed from"), std::string::npos) << cleared.err;
}

TEST_F(LinuxSessionTest, ServiceCommandsCannotReachAnotherSystemsSystemd) {
    Run({"add-board"});
    const SQserCtlRun status =
        Ctl({"--platform", "linux", "--root", Folder() + "/root", "service", "status", "Serial"});
    EXPECT_EQ(status.status, 1);
    EXPECT_NE(status.err.find("systemd cannot be asked"), std::string::npos) << status.err;
}
} // namespace
