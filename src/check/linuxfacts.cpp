#include "linuxfacts.h"

#include "irootfilesystem.h"
#include "linuxlines.h"
#include "linuxmachine.h"
#include "serialconf.h"
#include "valueformats.h"

namespace {
bool IsOurs(const SMachineLine& line, const std::vector<SCheckBoard>& boards) {
    const std::string name = CLinuxLines::Name(line.number);
    for (const SCheckBoard& board : boards) {
        for (const SCheckPort& port : board.ports) {
            if (port.serialPort == name && CValueFormats::Address(port.address) == line.port) {
                return true;
            }
        }
    }
    return false;
}

void AddClaims(const std::vector<SMachineClaim>& claims, const char* source, bool interrupts,
               SLinuxFacts& facts) {
    for (const SMachineClaim& claim : claims) {
        SMachineEntry entry{claim.users + " (" + source + ")", source, std::nullopt, std::nullopt};
        if (interrupts) {
            entry.irq = claim.first;
        } else {
            entry.range = SIoRange{claim.first, claim.last};
        }
        facts.entries.push_back(std::move(entry));
    }
}
} // namespace

SLinuxFacts CLinuxFacts::Read(const IRootFileSystem& files,
                              const std::vector<SCheckBoard>& boards) {
    SLinuxFacts facts;
    const CLinuxMachine machine(files);
    for (const SMachineLine& line : machine.Lines()) {
        if (IsOurs(line, boards)) {
            continue;
        }
        const std::string name = CLinuxLines::Name(line.number);
        facts.lines.emplace_back(line.number, line.port);
        facts.entries.push_back({"the machine's " + name, "/sys/class/tty/" + name,
                                 SIoRange{line.port, line.port + 7}, line.irq});
    }
    AddClaims(machine.IoClaims(), "/proc/ioports", false, facts);
    AddClaims(machine.InterruptClaims(), "/proc/interrupts", true, facts);
    std::string conf;
    if (files.Read(CSerialConf::kPath, conf) == 0) {
        facts.confLines = CSerialConf(conf).ForeignLines();
    }
    facts.registeredLines = machine.RegisteredLines();
    facts.lockdown = machine.Lockdown();
    return facts;
}
