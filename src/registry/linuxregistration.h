#pragma once

#include <string>
#include <vector>

struct SSystemValues;

// One port as Linux gets it: its serial line, the UART's address and interrupt, and the COM
// name its link takes.
struct SLinuxPort {
    int line = 0;
    unsigned address = 0;
    unsigned irq = 0;
    std::string comName;
};

// Registers the ports with a Linux system, under the installed root (CPlatformServices), in the
// files a person would write:
// - /etc/serial.conf: QSER's block holds one "DEVICE ARGS" line per port, in driver-key order,
//   which etc-setserial.service applies at boot; every other byte of the file is kept;
// - /etc/udev/rules.d/60-qser.rules, QSER's own: a link /dev/serial/by-com/COMn per port;
// - /etc/default/grub.d/qser.cfg, QSER's own: 8250.nr_uarts=N while the highest line needs
//   more lines than the kernel registers at boot; removed when no longer needed.
// Every file is replaced atomically; a file of those paths that is not QSER's, or a
// serial.conf whose block is damaged, is refused before anything is written, and so is a port
// whose line another port or a line of the administrator's already takes (named in a message).
class CLinuxRegistration {
public:
    static constexpr const char* kRulesPath = "/etc/udev/rules.d/60-qser.rules";
    static constexpr const char* kGrubDropInPath = "/etc/default/grub.d/qser.cfg";
    static constexpr const char* kGrubPath = "/etc/default/grub";

    // 1 when the files are written (or needed no change), 0 after a reported failure.
    static int RegisterLinuxPorts(const SSystemValues& values, bool hasBoards);

    // The files' texts, for the pass and the tests.
    static std::string SerialConfLine(const SLinuxPort& port);
    static std::string UdevRules(const std::vector<SLinuxPort>& ports);
    static std::string GrubDropIn(int lines);
    // Whether a file at one of QSER's own paths was written by QSER.
    static bool IsOwnFile(const std::string& bytes);
};
