#include "checkreader.h"

#include "boardobj.h"
#include "comnamedatabase.h"
#include "driverkeystore.h"
#include "keypaths.h"
#include "linuxfacts.h"
#include "machineports.h"
#include "platformfamily.h"
#include "platformservices.h"
#include "portobj.h"
#include "registry.h"
#include "slotscan.h"
#include "stringtable.h"

#include <set>
#include <strings.h>

namespace {
// false when the key cannot be opened.
bool KeysNamedAs(const std::string& path, const SKeyNaming& naming,
                 std::vector<std::string>& names) {
    CRegistry key;
    if (key.OpenKey(path, "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        return false;
    }
    ForEachSubKeyName(key, [&](const std::string& name) {
        if (naming.Counts(name) && IsSingleKeyName(name)) {
            names.push_back(name);
        }
    });
    key.CloseKey();
    return true;
}

SCheckPort PortOf(const CPortObj& port) {
    return {port.GetPortName(), port.GetPortCOMPort(), port.GetPortIRQ(), port.GetPortAddress(),
            port.GetPortSerialPort()};
}

SCheckBoard BoardOf(const CBoardObj& board) {
    SCheckBoard checked;
    checked.keyName = board.GetBoardName();
    checked.boardType = board.GetBoardType();
    checked.baseAddress = board.GetBaseAddress();
    checked.baseCOMPort = board.GetBaseCOMPort();
    checked.shareIRQ = board.GetShareIRQ();
    checked.vectorAddress = board.GetVectorAddress();
    checked.shareIRQEnabled = board.GetShareIRQEnabled();
    return checked;
}

} // namespace

SCheckSnapshot CCheckReader::Read() {
    SCheckSnapshot snapshot;
    snapshot.windows9x = IsWindows9x();
    snapshot.linuxFamily = IsLinux();
    ReadBoards(snapshot);
    if (snapshot.linuxFamily) {
        if (const IRootFileSystem* files = CPlatformServices::RootFileSystem()) {
            snapshot.machine = CLinuxFacts::Read(*files, snapshot.boards);
        }
        return snapshot;
    }
    ReadForeign(snapshot);
    if (!snapshot.windows9x) {
        ReadDevices(snapshot);
    }
    return snapshot;
}

void CCheckReader::ReadBoards(SCheckSnapshot& snapshot) {
    std::vector<std::string> boardKeyNames;
    if (!KeysNamedAs(DriverKeyPath(), kBoardKeys, boardKeyNames) || boardKeyNames.empty()) {
        return;
    }
    // One record for every board, as the registration pass does; its default name is looked up
    // in the driver key, which exists, so nothing is created. A board key is opened before it
    // is read, so that one that cannot be is left out without a message.
    CBoardObj board;
    for (const std::string& boardKeyName : boardKeyNames) {
        std::vector<std::string> portKeyNames;
        if (!KeysNamedAs(BoardKeyPath(boardKeyName), kPortKeys, portKeyNames) ||
            CDriverKeyStore::ReadBoardKey(boardKeyName, board) == 0) {
            continue;
        }
        SCheckBoard checked = BoardOf(board);
        for (const std::string& portKeyName : portKeyNames) {
            CPortObj port("", 0);
            if (CDriverKeyStore::ReadPortKey(boardKeyName, portKeyName, port) != 0) {
                checked.ports.push_back(PortOf(port));
            }
        }
        snapshot.boards.push_back(std::move(checked));
    }
}

void CCheckReader::ReadForeign(SCheckSnapshot& snapshot) {
    CHive* hive = CHive::Current();
    const std::string& parent =
        snapshot.windows9x ? EnumRootPortsKeyPath() : SerialParametersKeyPath();
    HiveKeyId parentId = 0;
    std::vector<std::string> names;
    if (hive == nullptr || hive->FindKey(parent, parentId) != ERROR_SUCCESS ||
        hive->SubKeyNames(parentId, names) != ERROR_SUCCESS) {
        return;
    }
    CCaselessNames ours;
    for (const SCheckBoard& board : snapshot.boards) {
        for (const SCheckPort& port : board.ports) {
            ours.insert(port.serialPort);
        }
    }
    for (const std::string& name : names) {
        SForeignEntry entry{name, parent + "\\" + name, {}};
        HiveKeyId id = 0;
        if (ours.count(name) == 0 && hive->FindKey(entry.keyPath, id) == ERROR_SUCCESS &&
            hive->Values(id, entry.values) == ERROR_SUCCESS) {
            snapshot.foreign.push_back(std::move(entry));
        }
    }
}

void CCheckReader::ReadDevices(SCheckSnapshot& snapshot) {
    std::vector<SMachinePort> devices = CMachinePorts::Read();
    // Without devices there is nothing to tell apart, and the registered names are a key each.
    if (devices.empty()) {
        return;
    }
    // A device is the machine's record of a port of ours when it carries the name the port has
    // now or the one its instance was registered with, before a Save or a boot moved it.
    CCaselessNames ourNames;
    for (const SCheckBoard& board : snapshot.boards) {
        for (const SCheckPort& port : board.ports) {
            ourNames.insert(port.comPort);
            if (IsInstanceName(port.serialPort)) {
                ourNames.insert(CComNameDatabase::Registered(port.serialPort));
            }
        }
    }
    for (SMachinePort& device : devices) {
        if (!CMachinePorts::IsOurs(device, ourNames)) {
            snapshot.devices.push_back(std::move(device));
        }
    }
}
