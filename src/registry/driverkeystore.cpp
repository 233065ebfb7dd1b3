#include "driverkeystore.h"

#include "boardobj.h"
#include "comnamedatabase.h"
#include "configurationbuilder.h"
#include "driverkeywalk.h"
#include "hive.h"
#include "instanceownership.h"
#include "keypaths.h"
#include "messageservice.h"
#include "platformfamily.h"
#include "portobj.h"
#include "recordfields.h"
#include "registry.h"
#include "registrymessages.h"
#include "registryvalues.h"
#include "stringtable.h"

#include <string>
#include <vector>

namespace {
constexpr std::uint32_t kSystemValueBuffer = 60;
constexpr std::uint32_t kRecordValueBuffer = 128;

void WriteText(CRegistry& key, unsigned id, const std::string& text) {
    WriteTextReported(key, LoadString(id), text);
}

template <typename Record>
void ReadFields(CRegistry& key, const std::vector<SRecordField<Record>>& fields, Record& record) {
    for (const auto& field : fields) {
        const std::string& name = LoadString(field.valueNameId);
        if (field.kind == EFieldKind::Text) {
            field.SetText(record, ReadTextOr(key, name, kRecordValueBuffer, field.missingText));
        } else {
            field.SetNumber(record, static_cast<int>(ReadNumberOr(key, name, field.missingNumber)));
        }
    }
}

template <typename Record>
void WriteFields(CRegistry& key, const std::vector<SRecordField<Record>>& fields,
                 const Record& record) {
    for (const auto& field : fields) {
        const std::string& name = LoadString(field.valueNameId);
        if (field.kind == EFieldKind::Text) {
            WriteTextReported(key, name, field.Text(record));
        } else {
            WriteNumberReported(key, name, static_cast<std::uint32_t>(field.Number(record)));
        }
    }
}

// Opens an existing key for one value and writes it; a missing key is reported only when
// reportMissing says so.
template <typename Value>
int WriteOneValue(const std::string& keyPath, bool reportMissing, const std::string& valueName,
                  const Value& value) {
    CRegistry key;
    Win32Status status = key.OpenKey(keyPath, "", KEY_ALL_ACCESS, 1);
    if (status != ERROR_SUCCESS) {
        if (reportMissing || status != ERROR_FILE_NOT_FOUND) {
            CMessageService::Error(kOpenRegistryFailed);
        }
        return 0;
    }
    status = key.WriteValue(valueName, value);
    key.CloseKey();
    if (status != ERROR_SUCCESS) {
        CMessageService::Error(kWriteRegistryFailed);
        return 0;
    }
    return 1;
}

void DeleteReported(const std::string& path) {
    CRegistry registry;
    if (registry.DeleteKey(path) != ERROR_SUCCESS) {
        CMessageService::Error(kDeleteRegistryFailed);
    }
}

// Loads the ports of one board key; a port that cannot be read stays with its defaults.
int LoadPorts(IConfigurationBuilder& builder, CDriverKeyWalk& walk,
              const std::string& boardKeyName) {
    CRegistry boardKey;
    if (!CDriverKeyStore::OpenBoardKey(boardKey, boardKeyName)) {
        return 0;
    }
    walk.ForEachPortKey(boardKey, boardKeyName, [&](const std::string& portKeyName) {
        CPortObj* port = builder.AppendPort();
        if (CDriverKeyStore::ReadPortKey(boardKeyName, portKeyName, *port) == 0) {
            CMessageService::Error(kQueryRegistryFailed);
            port->SetPortName(portKeyName);
        }
    });
    boardKey.CloseKey();
    return 1;
}
} // namespace

bool CDriverKeyStore::OpenBoardKey(CRegistry& key, const std::string& boardKeyName) {
    if (key.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return false;
    }
    return true;
}

int CDriverKeyStore::LoadConfiguration(IConfigurationBuilder& builder) {
    // A registry that cannot be written may hold no configuration yet (a Windows installation
    // seen through a read-only mount): nothing could make the driver key, and there is nothing
    // to load.
    const CHive* hive = CHive::Current();
    const bool readOnly = hive != nullptr && hive->IsReadOnly();
    CRegistry driverKey;
    const Win32Status opened =
        driverKey.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, readOnly ? 1 : 0);
    if (readOnly && opened == ERROR_FILE_NOT_FOUND) {
        builder.SetSystemName(kLoadedSystemName);
        builder.SetNumBoards("0");
        builder.SetNumPorts("0");
        return 1;
    }
    if (opened != ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    builder.SetSystemName(kLoadedSystemName);
    builder.SetNumBoards(
        ReadTextOr(driverKey, LoadString(IDS_SYSTEM_NUM_BOARDS), kSystemValueBuffer, "0"));
    builder.SetNumPorts(
        ReadTextOr(driverKey, LoadString(IDS_SYSTEM_NUM_PORTS), kSystemValueBuffer, "0"));

    int result = 1;
    int boards = 0;
    int ports = 0;
    CDriverKeyWalk walk;
    walk.ForEachBoardKey(driverKey, [&](const std::string& boardKeyName) {
        if (result == 0) {
            return;
        }
        CBoardObj* board = builder.AppendBoard(boardKeyName);
        ++boards;
        if (ReadBoardKey(boardKeyName, *board) == 0) {
            CMessageService::Error(kQueryRegistryFailed);
            result = 0;
            return;
        }
        if (LoadPorts(builder, walk, boardKeyName) == 0) {
            result = 0;
            return;
        }
        ports += static_cast<int>(board->m_PortList.size());
    });
    driverKey.CloseKey();
    walk.ReportLeftOut();
    if (result == 1) {
        builder.SetNumBoards(std::to_string(boards));
        builder.SetNumPorts(std::to_string(ports));
    }
    return result;
}

int CDriverKeyStore::ReadBoardKey(const std::string& boardKeyName, CBoardObj& board) {
    CRegistry key;
    if (key.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    ReadFields(key, BoardFields(), board);
    key.CloseKey();
    // The key a board was read from is its name: a missing or different name value would make
    // its edits and its removal reach another board's key.
    board.SetBoardName(boardKeyName);
    return 1;
}

int CDriverKeyStore::ReadPortKey(const std::string& boardKeyName, const std::string& portKeyName,
                                 CPortObj& port) {
    CRegistry key;
    if (key.OpenKey(PortKeyPath(boardKeyName, portKeyName), "", KEY_ALL_ACCESS, 1) !=
        ERROR_SUCCESS) {
        return 0;
    }
    ReadFields(key, PortFields(), port);
    key.CloseKey();
    port.SetPortName(portKeyName);
    return 1;
}

int CDriverKeyStore::WriteBoardKey(const CBoardObj& board) {
    if (!IsSingleKeyName(board.GetBoardName())) {
        return 0;
    }
    CRegistry key;
    if (key.OpenKey(BoardKeyPath(board.GetBoardName()), "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    WriteFields(key, BoardFields(), board);
    key.CloseKey();
    return 1;
}

int CDriverKeyStore::WritePortKey(const std::string& boardKeyName, const CPortObj& port) {
    if (!IsSingleKeyName(boardKeyName) || !IsSingleKeyName(port.GetPortName())) {
        return 0;
    }
    CRegistry key;
    if (key.OpenKey(PortKeyPath(boardKeyName, port.GetPortName()), "", KEY_ALL_ACCESS, 0) !=
        ERROR_SUCCESS) {
        return 0;
    }
    WriteFields(key, PortFields(), port);
    key.CloseKey();
    return 1;
}

int CDriverKeyStore::WriteBoardValue(const std::string& boardKeyName, const std::string& valueName,
                                     const std::string& text) {
    return WriteOneValue(BoardKeyPath(boardKeyName), true, valueName, text);
}

int CDriverKeyStore::WriteBoardValue(const std::string& boardKeyName, const std::string& valueName,
                                     std::uint32_t number) {
    return WriteOneValue(BoardKeyPath(boardKeyName), true, valueName, number);
}

int CDriverKeyStore::WritePortValue(const std::string& boardKeyName, const std::string& portKeyName,
                                    const std::string& valueName, const std::string& text) {
    return WriteOneValue(PortKeyPath(boardKeyName, portKeyName), false, valueName, text);
}

int CDriverKeyStore::SaveSystemValues(const std::string& systemName, const std::string& numBoards,
                                      const std::string& numPorts) {
    CRegistry key;
    if (key.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    WriteText(key, IDS_SYSTEM_DRIVER_NAME, systemName);
    WriteText(key, IDS_SYSTEM_NUM_BOARDS, numBoards);
    WriteText(key, IDS_SYSTEM_NUM_PORTS, numPorts);
    key.CloseKey();
    return 1;
}

void CDriverKeyStore::DeletePortKeys(const std::string& boardKeyName, const CPortObj& port) {
    if (IsSingleKeyName(boardKeyName) && IsSingleKeyName(port.GetPortName())) {
        DeleteReported(PortKeyPath(boardKeyName, port.GetPortName()));
    } else {
        CMessageService::Error(kDeleteRegistryFailed);
    }
    // A port without an instance of its own has nothing more to delete: its text may name a
    // parent key, another family's key or one that another port still names.
    const std::string& instance = port.GetPortSerialPort();
    if (!CInstanceOwnership::MayDeleteAfterRemoval(instance)) {
        return;
    }
    if (!IsWindows9x()) {
        // The number the port was registered with goes back to the COM name database.
        const std::string registered = CComNameDatabase::Registered(instance);
        DeleteReported(InstanceKeyPath(instance));
        CComNameDatabase::Update({}, {registered});
        return;
    }
    DeleteReported(InstanceKeyPath(instance));
    // The device key holds its LogConfig sub-key; removing only the key would leave an orphan.
    CRegistry registry;
    registry.DeleteKeyTree(DeviceInstanceKeyPath(instance));
}

int CDriverKeyStore::DeleteBoardKey(const std::string& boardKeyName) {
    if (!IsSingleKeyName(boardKeyName)) {
        CMessageService::Error(kDeleteRegistryFailed);
        return 0;
    }
    CRegistry registry;
    if (registry.DeleteKey(BoardKeyPath(boardKeyName)) != ERROR_SUCCESS) {
        CMessageService::Error(kDeleteRegistryFailed);
        return 0;
    }
    return 1;
}
