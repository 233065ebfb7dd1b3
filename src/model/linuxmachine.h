#pragma once

#include <optional>
#include <string>
#include <vector>

class IRootFileSystem;

// A serial line the machine already has: /sys/class/tty/ttySn with a port that is not 0.
struct SMachineLine {
    int number = 0;
    unsigned port = 0;
    std::optional<unsigned> irq;
};

// An entry of /proc/ioports (only those that hold no other) or of /proc/interrupts (legacy
// interrupts 0 to 15) and the driver names it carries.
struct SMachineClaim {
    unsigned first = 0;
    unsigned last = 0;
    std::string users;
};

// What a Linux machine tells of its serial lines and the resources its drivers hold, read under
// a root. A file that is missing or cannot be read tells nothing (a mounted disk has no /proc).
class CLinuxMachine {
public:
    explicit CLinuxMachine(const IRootFileSystem& files) : m_files(files) {}

    std::vector<SMachineLine> Lines() const;
    // The lines the running kernel registered (8250.nr_uarts); none when it cannot be read.
    std::optional<int> RegisteredLines() const;
    // I/O ranges held by drivers other than the serial driver (whose lines Lines() gives).
    std::vector<SMachineClaim> IoClaims() const;
    // Interrupts 0 to 15 held by drivers other than the serial driver; first == last.
    std::vector<SMachineClaim> InterruptClaims() const;
    // The kernel's lockdown mode ("integrity", "confidentiality"); empty when none is active.
    std::string Lockdown() const;

    // Parsers of the files' texts, for the readers above and the tests.
    static std::vector<SMachineClaim> ParseIoPorts(const std::string& text);
    static std::vector<SMachineClaim> ParseInterrupts(const std::string& text);
    static std::string ParseLockdown(const std::string& text);

private:
    std::string Text(const std::string& path) const;

    const IRootFileSystem& m_files;
};
