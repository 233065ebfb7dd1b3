#pragma once

#include <string>

// The serial lines of Linux's 8250 driver that QSER hands to board ports: "ttyS4" to "ttyS31".
// ttyS0 to ttyS3 are the PC's COM1 to COM4, which the kernel sets up itself; Debian's kernel
// has at most 32 lines.
class CLinuxLines {
public:
    static constexpr int kFirst = 4;
    static constexpr int kCount = 32;
    // The lines a Debian kernel registers at boot without 8250.nr_uarts.
    static constexpr int kDefaultRegistered = 4;

    // n of "ttySn" for any line 0 to 31 written without leading zeros; -1 for anything else.
    static int Number(const std::string& name);
    static std::string Name(int number);
    // Whether a port's PortSerialPort is a line QSER hands out (ttyS4 to ttyS31).
    static bool IsBoardLine(const std::string& name);

    // The first board line that no port under the driver key names, no line of
    // /etc/serial.conf outside QSER's block sets up and the machine does not already have (its
    // /sys/class/tty/ttySn/port is not 0), all read under the installed root; empty when every
    // line is taken.
    static std::string MakeLineName();
};
