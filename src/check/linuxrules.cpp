#include "linuxrules.h"

#include "boardtype.h"
#include "keypaths.h"
#include "linuxlines.h"
#include "stringtable.h"
#include "valueformats.h"

#include <map>

namespace {
void Add(std::vector<SCheckFinding>& findings, ECheckCode code, std::vector<std::string> items,
         std::string message) {
    findings.push_back({SeverityOf(code), code, std::move(items), std::move(message)});
}

std::string Label(const SCheckBoard& board, const SCheckPort& port) {
    return port.keyName + " of " + board.keyName;
}

class CLinePass {
public:
    CLinePass(const SCheckSnapshot& snapshot, std::vector<SCheckFinding>& findings)
        : m_facts(snapshot.machine), m_findings(findings) {
        for (const auto& [number, address] : m_facts.lines) {
            m_machineLines[number] = address;
        }
    }

    void Port(const SCheckBoard& board, const SCheckPort& port) {
        const std::string keyPath = PortKeyPath(board.keyName, port.keyName);
        const int line = CLinuxLines::Number(port.serialPort);
        if (line < CLinuxLines::kFirst) {
            Add(m_findings, ECheckCode::LineInvalid, {keyPath},
                Label(board, port) + " has no serial line ttyS4 to ttyS31 (" +
                    CValueFormats::Quoted(port.serialPort) + "): Save registers it nowhere.");
            return;
        }
        const std::string name = CLinuxLines::Name(line);
        if (const auto first = m_owners.find(line); first != m_owners.end()) {
            Add(m_findings, ECheckCode::LineTaken, {keyPath, first->second.first},
                Label(board, port) + " names " + name + ", which " + first->second.second +
                    " names too: only the first is registered.");
            return;
        }
        m_owners[line] = {keyPath, Label(board, port)};
        if (m_facts.confLines.count(line) != 0) {
            Add(m_findings, ECheckCode::LineTaken, {keyPath},
                name + " of " + Label(board, port) +
                    " is set up by another line of /etc/serial.conf: Save leaves the port out.");
        } else if (const auto machine = m_machineLines.find(line);
                   machine != m_machineLines.end()) {
            Add(m_findings, ECheckCode::LineTaken, {keyPath},
                name + " of " + Label(board, port) + " is the machine's port at " +
                    CValueFormats::Hex(machine->second) +
                    " already: setserial would move that port away.");
        }
        const int registered = m_facts.registeredLines.value_or(CLinuxLines::kDefaultRegistered);
        if (line >= registered) {
            Add(m_findings, ECheckCode::LineKernel, {keyPath},
                name + " of " + Label(board, port) + " is beyond the " +
                    std::to_string(registered) +
                    " serial lines the running kernel has: it works after a restart with "
                    "8250.nr_uarts=" +
                    std::to_string(line + 1) + " or more.");
        }
    }

private:
    const SLinuxFacts& m_facts;
    std::vector<SCheckFinding>& m_findings;
    std::map<int, unsigned> m_machineLines;
    std::map<int, std::pair<std::string, std::string>> m_owners;
};

void CheckVector(const SCheckBoard& board, std::vector<SCheckFinding>& findings) {
    const bool shares =
        CBoardType(board.boardType).GetShareIRQMode() == "Yes" || board.shareIRQEnabled != 0;
    const std::optional<unsigned> vector = CValueFormats::Address(board.vectorAddress);
    if (!shares || !vector) {
        return;
    }
    Add(findings, ECheckCode::VectorUnused, {BoardKeyPath(board.keyName)},
        "The vector address " + CValueFormats::Hex(*vector) + " of " + board.keyName +
            " is not used by Linux: its driver polls every port on the shared interrupt.");
}
} // namespace

void CLinuxRules::Check(const SCheckSnapshot& snapshot, std::vector<SCheckFinding>& findings) {
    if (!snapshot.machine.lockdown.empty() && !snapshot.boards.empty()) {
        Add(findings, ECheckCode::Lockdown, {DriverKeyPath()},
            "The kernel is locked down (" + snapshot.machine.lockdown +
                "): it refuses the addresses and interrupts setserial sets, so no port of the "
                "boards can be set up while it is.");
    }
    CLinePass lines(snapshot, findings);
    for (const SCheckBoard& board : snapshot.boards) {
        CheckVector(board, findings);
        for (const SCheckPort& port : board.ports) {
            lines.Port(board, port);
        }
    }
}
