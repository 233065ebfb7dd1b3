#include "linuxregistration.h"

#include "boardobj.h"
#include "irootfilesystem.h"
#include "linuxlines.h"
#include "linuxmachine.h"
#include "messageservice.h"
#include "messagetext.h"
#include "platformservices.h"
#include "portobj.h"
#include "portregistration.h"
#include "serialconf.h"
#include "textnumbers.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <set>

namespace {
constexpr const char* kOwnMark = "# Written by QSER";

// A file as it is before the pass and as the pass wants it; nullopt wanted means removed.
struct SPlannedFile {
    std::string path;
    bool exists = false;
    std::string before;
    std::optional<std::string> wanted;

    // An empty file is no file: one that would be left empty goes, one that was empty stays.
    bool Changes() const {
        const std::string after = wanted.value_or("");
        return exists ? after != before : !after.empty();
    }
};

bool IsComName(const std::string& name) {
    return name.size() > 3 && name.size() <= 6 && name.starts_with("COM") && name[3] != '0' &&
           name.find_first_not_of("0123456789", 3) == std::string::npos;
}

std::string Label(const CBoardObj& board, const CPortObj& port) {
    return PrintableName(port.GetPortName()) + " of " + PrintableName(board.GetBoardName());
}

std::string Counted(std::size_t count, const char* one) {
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

// What the walk of the driver key found.
struct SCollected {
    std::vector<SLinuxPort> ports;
    std::vector<std::string> taken;
    std::vector<std::string> withoutLink;
};

class CLinuxPass {
public:
    explicit CLinuxPass(IRootFileSystem& files) : m_files(files) {}

    int Run(const SSystemValues& values, bool hasBoards);

private:
    bool ReadPlanned(const std::string& path, SPlannedFile& file);
    bool PlanSerialConf(SPlannedFile& file, std::set<int>& foreign);
    bool PlanOwnFile(const std::string& path, std::optional<std::string> wanted,
                     SPlannedFile& file);
    void Collect(const CBoardObj& board, const CPortObj& port, const std::set<int>& foreign);
    bool Write(const SPlannedFile& file);
    std::optional<std::string> WantedDropIn(bool dropInExists);
    void ReportSkipped() const;
    void ReportWritten(const SPlannedFile& conf) const;
    void ReportKernelLines(const SPlannedFile& dropIn) const;
    std::string Shown(const std::string& path) const { return m_files.HostPath(path); }
    int HighestLine() const;

    IRootFileSystem& m_files;
    SCollected m_found;
    std::map<int, std::string> m_lineOwners;
    int m_registered = CLinuxLines::kDefaultRegistered;
    bool m_hasGrub = false;
};

bool CLinuxPass::ReadPlanned(const std::string& path, SPlannedFile& file) {
    file.path = path;
    const int error = m_files.Read(path, file.before);
    file.exists = error == 0;
    if (error != 0 && error != ENOENT) {
        CMessageService::Error("Cannot read " + Shown(path) + ": " + std::strerror(error) +
                               "; the ports were not registered with Linux.");
        return false;
    }
    return true;
}

bool CLinuxPass::PlanSerialConf(SPlannedFile& file, std::set<int>& foreign) {
    if (!ReadPlanned(CSerialConf::kPath, file)) {
        return false;
    }
    const CSerialConf conf(file.before);
    if (!conf.Damage().empty()) {
        CMessageService::Error(Shown(file.path) + " was left as it is, since " + conf.Damage() +
                               "; the ports were not registered with Linux.");
        return false;
    }
    foreign = conf.ForeignLines();
    return true;
}

bool CLinuxPass::PlanOwnFile(const std::string& path, std::optional<std::string> wanted,
                             SPlannedFile& file) {
    if (!ReadPlanned(path, file)) {
        return false;
    }
    if (file.exists && !CLinuxRegistration::IsOwnFile(file.before)) {
        CMessageService::Error(Shown(path) + " is not QSER's (its first line is not \"" + kOwnMark +
                               "\"); it was left as it is and the ports were not "
                               "registered with Linux.");
        return false;
    }
    file.wanted = std::move(wanted);
    return true;
}

void CLinuxPass::Collect(const CBoardObj& board, const CPortObj& port,
                         const std::set<int>& foreign) {
    const int line = CLinuxLines::Number(port.GetPortSerialPort());
    const std::string label = Label(board, port);
    if (foreign.count(line) != 0) {
        m_found.taken.push_back(label + " (" + port.GetPortSerialPort() +
                                " is set up by another line of " + Shown(CSerialConf::kPath) + ")");
        return;
    }
    if (auto owner = m_lineOwners.find(line); owner != m_lineOwners.end()) {
        m_found.taken.push_back(label + " (" + port.GetPortSerialPort() + " is " + owner->second +
                                "'s)");
        return;
    }
    m_lineOwners[line] = label;
    SLinuxPort linuxPort{line, static_cast<unsigned>(ParseAddress(port.GetPortAddress(), 16)),
                         static_cast<unsigned>(ParseAddress(port.GetPortIRQ(), 10)),
                         port.GetPortCOMPort()};
    if (!IsComName(linuxPort.comName)) {
        m_found.withoutLink.push_back(label);
    }
    m_found.ports.push_back(linuxPort);
}

int CLinuxPass::HighestLine() const {
    int highest = -1;
    for (const SLinuxPort& port : m_found.ports) {
        highest = std::max(highest, port.line);
    }
    return highest;
}

std::optional<std::string> CLinuxPass::WantedDropIn(bool dropInExists) {
    if (const auto registered = CLinuxMachine(m_files).RegisteredLines()) {
        m_registered = *registered;
    }
    m_hasGrub = m_files.Exists(CLinuxRegistration::kGrubPath) || dropInExists;
    const int needed = HighestLine() + 1;
    // Once QSER's drop-in exists, the lines the kernel has may be its own doing; it is kept
    // for as long as the ports need more than the kernel's default.
    const int without = dropInExists ? CLinuxLines::kDefaultRegistered : m_registered;
    if (needed <= CLinuxLines::kDefaultRegistered || needed <= without || !m_hasGrub) {
        return std::nullopt;
    }
    return CLinuxRegistration::GrubDropIn(needed);
}

bool CLinuxPass::Write(const SPlannedFile& file) {
    if (!file.Changes()) {
        return true;
    }
    const bool empty = file.wanted.value_or("").empty();
    const int error =
        empty ? m_files.Remove(file.path) : m_files.Replace(file.path, *file.wanted, 0644);
    if (error != 0) {
        CMessageService::Error("Cannot " + std::string(empty ? "remove " : "write ") +
                               Shown(file.path) + ": " + std::strerror(error) +
                               "; the ports were not registered with Linux.");
        return false;
    }
    return true;
}

void CLinuxPass::ReportSkipped() const {
    if (!m_found.taken.empty()) {
        CMessageService::Error(JoinedList(m_found.taken) +
                               (m_found.taken.size() == 1 ? ": its line is" : ": their lines are") +
                               " taken; not written to " + Shown(CSerialConf::kPath) + ".");
    }
    if (!m_found.withoutLink.empty()) {
        CMessageService::Error(JoinedList(m_found.withoutLink) +
                               (m_found.withoutLink.size() == 1 ? " has" : " have") +
                               " no COM name COM1 to COM999; no link /dev/serial/by-com/ was made "
                               "for " +
                               (m_found.withoutLink.size() == 1 ? "it." : "them."));
    }
}

void CLinuxPass::ReportWritten(const SPlannedFile& conf) const {
    if (!m_found.ports.empty()) {
        CMessageService::Notice(Counted(m_found.ports.size(), "port") + " written to " +
                                Shown(CSerialConf::kPath) + "; links /dev/serial/by-com/COMn in " +
                                Shown(CLinuxRegistration::kRulesPath) + ".");
    } else if (conf.Changes()) {
        CMessageService::Notice("No ports: QSER's lines were removed from " +
                                Shown(CSerialConf::kPath) + ".");
    }
}

void CLinuxPass::ReportKernelLines(const SPlannedFile& dropIn) const {
    const int needed = HighestLine() + 1;
    const std::string line = CLinuxLines::Name(needed - 1);
    const std::string parameter = "8250.nr_uarts=" + std::to_string(needed);
    if (dropIn.Changes() && dropIn.wanted) {
        CMessageService::Notice(Shown(dropIn.path) + " now adds " + parameter +
                                " to the kernel's command line, since " + line + " needs " +
                                std::to_string(needed) +
                                " serial lines: run update-grub and restart the machine.");
    } else if (dropIn.Changes()) {
        CMessageService::Notice(Shown(dropIn.path) +
                                " was removed, since the ports need no more serial lines than "
                                "the kernel registers by default: run update-grub.");
    } else if (needed > m_registered && !m_hasGrub) {
        CMessageService::Notice("The kernel registers " + std::to_string(m_registered) +
                                " serial lines at boot and " + line + " needs " +
                                std::to_string(needed) + ": add " + parameter +
                                " to the kernel's command line and restart the machine.");
    } else if (needed > m_registered) {
        CMessageService::Notice("The running kernel has " + std::to_string(m_registered) +
                                " serial lines and " + line + " needs " + std::to_string(needed) +
                                ": restart the machine (after update-grub, if it has not run "
                                "since " +
                                Shown(dropIn.path) + " was written).");
    }
}

int CLinuxPass::Run(const SSystemValues& values, bool hasBoards) {
    SPlannedFile conf;
    std::set<int> foreign;
    if (!PlanSerialConf(conf, foreign)) {
        return 0;
    }
    const int walked = CPortRegistration::ForEachLinuxPort(
        values, hasBoards,
        [&](const CBoardObj& board, const CPortObj& port) { Collect(board, port, foreign); });
    if (walked == 0) {
        return 0;
    }
    std::vector<std::string> lines;
    for (const SLinuxPort& port : m_found.ports) {
        lines.push_back(CLinuxRegistration::SerialConfLine(port));
    }
    conf.wanted = CSerialConf(conf.before).WithBlock(lines);
    SPlannedFile rules;
    SPlannedFile dropIn;
    const bool ruled = PlanOwnFile(
        CLinuxRegistration::kRulesPath,
        m_found.ports.empty() ? std::nullopt
                              : std::optional(CLinuxRegistration::UdevRules(m_found.ports)),
        rules);
    if (!ruled || !PlanOwnFile(CLinuxRegistration::kGrubDropInPath, std::nullopt, dropIn)) {
        return 0;
    }
    dropIn.wanted = WantedDropIn(dropIn.exists);
    ReportSkipped();
    if (!Write(conf) || !Write(rules) || !Write(dropIn)) {
        return 0;
    }
    ReportWritten(conf);
    ReportKernelLines(dropIn);
    return 1;
}
} // namespace

int CLinuxRegistration::RegisterLinuxPorts(const SSystemValues& values, bool hasBoards) {
    IRootFileSystem* files = CPlatformServices::RootFileSystem();
    if (files == nullptr) {
        CMessageService::Error("No Linux system to register the ports with.");
        return 0;
    }
    return CLinuxPass(*files).Run(values, hasBoards);
}

std::string CLinuxRegistration::SerialConfLine(const SLinuxPort& port) {
    char text[96];
    std::snprintf(text, sizeof text, "/dev/ttyS%d port 0x%04x irq %u baud_base 115200 autoconfig",
                  port.line, port.address, port.irq);
    return text;
}

std::string CLinuxRegistration::UdevRules(const std::vector<SLinuxPort>& ports) {
    std::string text = std::string(kOwnMark) +
                       ": a link /dev/serial/by-com/COMn for each port of its boards.\n"
                       "# QSER replaces this file when it saves; change the ports in QSER.\n";
    for (const SLinuxPort& port : ports) {
        if (IsComName(port.comName)) {
            text += "SUBSYSTEM==\"tty\", KERNEL==\"" + CLinuxLines::Name(port.line) +
                    "\", SYMLINK+=\"serial/by-com/" + port.comName + "\"\n";
        }
    }
    return text;
}

std::string CLinuxRegistration::GrubDropIn(int lines) {
    return std::string(kOwnMark) + ": the serial lines of its ports need " + std::to_string(lines) +
           " lines registered at boot.\n"
           "# QSER removes this file when they no longer do; run update-grub after a change.\n"
           "GRUB_CMDLINE_LINUX=\"$GRUB_CMDLINE_LINUX 8250.nr_uarts=" +
           std::to_string(lines) + "\"\n";
}

bool CLinuxRegistration::IsOwnFile(const std::string& bytes) {
    return bytes.starts_with(kOwnMark);
}
