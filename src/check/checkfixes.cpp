#include "checkfixes.h"

#include "boardtype.h"
#include "hivepath.h"
#include "keypaths.h"
#include "portderivation.h"
#include "resourcecheck.h"
#include "stringtable.h"
#include "valuelists.h"

#include <algorithm>

namespace {
bool IsIo(ECheckCode code) {
    return code == ECheckCode::IoOverlap || code == ECheckCode::IoAlias ||
           code == ECheckCode::IoSystem || code == ECheckCode::IoLegacy;
}

bool IsCom(ECheckCode code) {
    return code == ECheckCode::ComDuplicate || code == ECheckCode::ComTaken;
}

// The board and port key names of an item under the driver key; empty board for any other key.
std::pair<std::string, std::string> OursOf(const std::string& item) {
    const std::string prefix = DriverKeyPath() + "\\";
    if (item.size() <= prefix.size() ||
        !CHivePath::SameFolded(std::string_view(item).substr(0, prefix.size()), prefix)) {
        return {};
    }
    const std::string rest = item.substr(prefix.size());
    const std::size_t slash = rest.find('\\');
    return slash == std::string::npos ? std::pair{rest, std::string()}
                                      : std::pair{rest.substr(0, slash), rest.substr(slash + 1)};
}

SCheckBoard* FindBoard(SCheckSnapshot& snapshot, const std::string& name) {
    auto found = std::find_if(snapshot.boards.begin(), snapshot.boards.end(),
                              [&](const SCheckBoard& b) { return b.keyName == name; });
    return found == snapshot.boards.end() ? nullptr : &*found;
}

bool StandardMode(const SCheckBoard& board) {
    return board.baseAddress == "NONE" && board.baseCOMPort == "NONE";
}
} // namespace

// Whether, with trial, no finding of the same kind as finding names involved any more.
bool CCheckFixes::Clears(SCheckSnapshot trial, const SCheckFinding& finding,
                         const std::string& involved) {
    for (const SCheckFinding& other : CResourceCheck::Run(trial)) {
        const bool sameKind = (IsIo(finding.code) && IsIo(other.code)) ||
                              (IsCom(finding.code) && IsCom(other.code)) ||
                              other.code == finding.code;
        if (!sameKind) {
            continue;
        }
        for (const std::string& item : other.items) {
            const auto [board, port] = OursOf(item);
            if (board == involved || (!port.empty() && board + "\\" + port == involved)) {
                return false;
            }
        }
    }
    return true;
}

std::vector<SCheckFix> CCheckFixes::For(const SCheckSnapshot& snapshot,
                                        const SCheckFinding& finding) {
    std::vector<SCheckFix> fixes;
    // The last of our items is the one most likely added last, and moved most easily.
    std::vector<std::pair<std::string, std::string>> ours;
    for (const std::string& item : finding.items) {
        if (auto named = OursOf(item); !named.first.empty()) {
            ours.push_back(named);
        }
    }
    std::reverse(ours.begin(), ours.end());
    for (const auto& [boardName, portName] : ours) {
        SCheckSnapshot trial = snapshot;
        SCheckBoard* board = FindBoard(trial, boardName);
        if (board == nullptr || !fixes.empty()) {
            continue;
        }
        const CBoardType type(board->boardType);
        const bool baseAddressed = type.GetPortsPerBoard() > 0 && !type.IsIndividuallyAddressed();
        if (IsIo(finding.code) && baseAddressed && !StandardMode(*board)) {
            for (const std::string& candidate : type.GetBaseAddressList()) {
                if (candidate.empty() || candidate == board->baseAddress) {
                    continue;
                }
                board->baseAddress = candidate;
                for (std::size_t i = 0; i < board->ports.size(); ++i) {
                    board->ports[i].address = MakePortAddress(candidate, static_cast<int>(i));
                }
                if (Clears(trial, finding, boardName)) {
                    fixes.push_back({ECheckFixKind::NextFreeBaseAddress, boardName, "", candidate,
                                     "Use the next free base address for " + boardName + " (" +
                                         candidate + ")"});
                    break;
                }
            }
        } else if (IsCom(finding.code) && baseAddressed && !StandardMode(*board)) {
            for (const std::string& candidate : BaseCOMPortList()) {
                if (candidate.empty() || candidate == board->baseCOMPort) {
                    continue;
                }
                board->baseCOMPort = candidate;
                for (std::size_t i = 0; i < board->ports.size(); ++i) {
                    board->ports[i].comPort = MakePortCOMPort(candidate, static_cast<int>(i));
                }
                if (Clears(trial, finding, boardName)) {
                    fixes.push_back({ECheckFixKind::NextFreeCOMNames, boardName, "", candidate,
                                     "Use the next free COM names for " + boardName + " (from " +
                                         candidate + ")"});
                    break;
                }
            }
        } else if (IsCom(finding.code) && type.IsIndividuallyAddressed() && !portName.empty()) {
            auto port =
                std::find_if(board->ports.begin(), board->ports.end(),
                             [&name = portName](const SCheckPort& p) { return p.keyName == name; });
            if (port == board->ports.end()) {
                continue;
            }
            const std::string original = port->comPort;
            for (const std::string& candidate : PortCOMPortList(0)) {
                port->comPort = candidate;
                if (candidate != original && Clears(trial, finding, boardName + "\\" + portName)) {
                    fixes.push_back({ECheckFixKind::NextFreeCOMNames, boardName, portName,
                                     candidate,
                                     "Use the next free COM name for " + boardName + "\\" +
                                         portName + " (" + candidate + ")"});
                    break;
                }
            }
        } else if (finding.code == ECheckCode::IrqUnshared &&
                   type.GetShareIRQModeKind() == EShareIRQMode::Both &&
                   board->shareIRQEnabled == 0) {
            fixes.push_back({ECheckFixKind::ShareInterrupt, boardName, "", "1",
                             "Share the interrupt of " + boardName});
        }
    }
    return fixes;
}

std::string CCheckFixes::KeyPathOf(const SCheckFix& fix) {
    return fix.port.empty() ? BoardKeyPath(fix.board) : PortKeyPath(fix.board, fix.port);
}
