#include "commandids.h"
#include "dialogtemplates.h"
#include "expectedmessages.h"
#include "formtemplateids.h"
#include "icommandrunner.h"
#include "problemsbar.h"
#include "systemdservicemanager.h"
#include "templinuxroot.h"
#include "uifixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>
#include <string>
#include <vector>

namespace {
// Stands in for systemctl and udevadm: no program of the host is ever run by a test.
class CNoCommands : public ICommandRunner {
public:
    SCommandResult Run(const std::vector<std::string>& argv) override {
        m_run.push_back(argv.front());
        return {};
    }
    std::vector<std::string> m_run;
};

// The window on a Linux machine whose disk is a temporary root: the PC's two serial lines, the
// ranges and interrupts of their driver and a kernel that registers 4 lines at boot.
class CLinuxWindowTest : public CUiFixture {
protected:
    CLinuxWindowTest() {
        m_root.PutLine(0, 0x3f8, 4);
        m_root.PutLine(1, 0x2f8, 3);
        m_root.Put("/sys/class/tty/ttyS2/port", "0x0\n");
        m_root.Put("/sys/class/tty/ttyS3/port", "0x0\n");
        m_root.Put("/proc/ioports", "0060-0060 : keyboard\n"
                                    "02f8-02ff : serial\n"
                                    "03f8-03ff : serial\n");
        m_root.Put("/proc/interrupts", "           CPU0\n"
                                       "  1:          9   IO-APIC   1-edge      i8042\n"
                                       "  3:          0   IO-APIC   3-edge      ttyS1\n"
                                       "  4:         12   IO-APIC   4-edge      ttyS0\n");
        m_root.Put("/sys/module/8250/parameters/nr_uarts", "4\n");
        m_root.Put("/etc/default/grub", "GRUB_DEFAULT=0\n");
        m_pServiceManager = &m_systemd;
    }
    // The window's process references end before the root's.
    ~CLinuxWindowTest() override { m_pFrame.reset(); }

    QComboBox& BoardList(int id) const { return *Control<QComboBox>(kBoardFormId, id); }

    CTempLinuxRoot m_root;
    CNoCommands m_commands;
    CSystemdServiceManager m_systemd{m_root.Files(), m_commands};
};
} // namespace

TEST_F(CLinuxWindowTest, SessionEndsWithTheFilesAPersonWouldWrite) {
    m_root.Put("/etc/serial.conf", "# set up by hand\n/dev/ttyS4 port 0x2e8 irq 5 autoconfig\n");
    Start(EPlatformFamily::Linux);
    ClickButton(ID_ADD_BOARD);
    Choose(BoardList(IDC_BOARD_TYPE), QStringLiteral("RX-404"));
    Choose(BoardList(IDC_BASE_ADDRESS), QStringLiteral("0x280"));
    Choose(BoardList(IDC_BASE_COM_PORT), QStringLiteral("COM5"));
    QTest::mouseClick(Control<QCheckBox>(kBoardFormId, IDC_SHARE_IRQ_ENABLE), Qt::LeftButton);
    Choose(BoardList(IDC_SHARE_IRQ), QStringLiteral("10"));
    ClickButton(ID_ADD_PORT);

    // The lines beyond the running kernel's are one finding for the board, and Linux has no
    // use for the vector register.
    QTreeWidget& problems = *Frame().ProblemsBar()->List();
    ASSERT_EQ(problems.topLevelItemCount(), 2);
    EXPECT_EQ(problems.topLevelItem(0)->text(1), QStringLiteral("line-kernel"));
    EXPECT_EQ(problems.topLevelItem(0)->text(0),
              QStringLiteral("The ports of Board000 on ttyS5..ttyS8 work only after a restart "
                             "with 8250.nr_uarts=9 or more: the running kernel has 4 serial "
                             "lines."));
    EXPECT_EQ(problems.topLevelItem(1)->text(1), QStringLiteral("vector-unused"));

    m_hive.Messages().Clear();
    CloseAndDestroy();

    const std::string root = m_root.Folder();
    EXPECT_EQ(m_hive.Messages().Records(),
              (std::vector<MessageRecord>{
                  {"Saving the configuration and registering its ports with Linux.",
                   EMsgButtons::Ok, EMsgIcon::Information},
                  {"4 ports written to " + root +
                       "/etc/serial.conf; links "
                       "/dev/serial/by-com/COMn in " +
                       root + "/etc/udev/rules.d/60-qser.rules.",
                   EMsgButtons::Ok, EMsgIcon::Information},
                  {root + "/etc/default/grub.d/qser.cfg now adds 8250.nr_uarts=9 to the kernel's "
                          "command line, since ttyS8 needs 9 serial lines: run update-grub and "
                          "restart the machine.",
                   EMsgButtons::Ok, EMsgIcon::Information},
                  {"The configuration is saved.", EMsgButtons::Ok, EMsgIcon::Information},
                  {"The ports were written under " + root +
                       ", which is not the running system: they take effect when that system "
                       "starts.",
                   EMsgButtons::Ok, EMsgIcon::Information}}));
    // Another system's disk: its systemd and udev are never asked.
    EXPECT_EQ(m_commands.m_run, std::vector<std::string>{});
    EXPECT_EQ(m_root.Get("/etc/serial.conf"),
              "# set up by hand\n/dev/ttyS4 port 0x2e8 irq 5 autoconfig\n"
              "# BEGIN QSER\n"
              "/dev/ttyS5 port 0x0280 irq 10 baud_base 115200 autoconfig\n"
              "/dev/ttyS6 port 0x0288 irq 10 baud_base 115200 autoconfig\n"
              "/dev/ttyS7 port 0x0290 irq 10 baud_base 115200 autoconfig\n"
              "/dev/ttyS8 port 0x0298 irq 10 baud_base 115200 autoconfig\n"
              "# END QSER\n");
    EXPECT_EQ(m_root.Get("/etc/udev/rules.d/60-qser.rules"),
              "# Written by QSER: a link /dev/serial/by-com/COMn for each port of its boards.\n"
              "# QSER replaces this file when it saves; change the ports in QSER.\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS5\", SYMLINK+=\"serial/by-com/COM5\"\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS6\", SYMLINK+=\"serial/by-com/COM6\"\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS7\", SYMLINK+=\"serial/by-com/COM7\"\n"
              "SUBSYSTEM==\"tty\", KERNEL==\"ttyS8\", SYMLINK+=\"serial/by-com/COM8\"\n");
    EXPECT_EQ(m_root.Get("/etc/default/grub.d/qser.cfg"),
              "# Written by QSER: the serial lines of its ports need 9 lines registered at boot.\n"
              "# QSER removes this file when they no longer do; run update-grub after a change.\n"
              "GRUB_CMDLINE_LINUX=\"$GRUB_CMDLINE_LINUX 8250.nr_uarts=9\"\n");
    EXPECT_EQ(m_root.Get("/etc/default/grub"), "GRUB_DEFAULT=0\n");
}
