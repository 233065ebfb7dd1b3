#include "linuxrules.h"

#include "boardtype.h"
#include "keypaths.h"
#include "linuxlines.h"
#include "sentences.h"
#include "stringtable.h"
#include "valueformats.h"

#include <algorithm>
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
        if (line >= Registered()) {
            m_boardBeyondKernel.push_back(line);
        }
    }

    // One finding for all lines of a board beyond the running kernel's: they have one remedy.
    void EndBoard(const SCheckBoard& board) {
        if (m_boardBeyondKernel.empty()) {
            return;
        }
        std::sort(m_boardBeyondKernel.begin(), m_boardBeyondKernel.end());
        const std::size_t count = m_boardBeyondKernel.size();
        Add(m_findings, ECheckCode::LineKernel, {BoardKeyPath(board.keyName)},
            std::string(count == 1 ? "The port of " : "The ports of ") + board.keyName + " on " +
                LineRuns(m_boardBeyondKernel) + (count == 1 ? " works" : " work") +
                " only after a restart with 8250.nr_uarts=" +
                std::to_string(m_boardBeyondKernel.back() + 1) +
                " or more: the running kernel has " + std::to_string(Registered()) +
                " serial lines.");
        m_boardBeyondKernel.clear();
    }

private:
    int Registered() const {
        return m_facts.registeredLines.value_or(CLinuxLines::kDefaultRegistered);
    }

    // "ttyS4..ttyS11", "ttyS4..ttyS5 and ttyS9": the runs of consecutive lines of a sorted list.
    static std::string LineRuns(const std::vector<int>& lines) {
        std::vector<std::string> runs;
        for (std::size_t first = 0; first < lines.size();) {
            std::size_t last = first;
            while (last + 1 < lines.size() && lines[last + 1] == lines[last] + 1) {
                ++last;
            }
            runs.push_back(CLinuxLines::Name(lines[first]) +
                           (last == first ? "" : ".." + CLinuxLines::Name(lines[last])));
            first = last + 1;
        }
        return CSentences::List(runs);
    }

    const SLinuxFacts& m_facts;
    std::vector<SCheckFinding>& m_findings;
    std::map<int, unsigned> m_machineLines;
    std::map<int, std::pair<std::string, std::string>> m_owners;
    std::vector<int> m_boardBeyondKernel;
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
        lines.EndBoard(board);
    }
}
