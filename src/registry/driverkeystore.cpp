#include "driverkeystore.h"

#include "boardobj.h"
#include "configurationbuilder.h"
#include "keypaths.h"
#include "messageservice.h"
#include "platformfamily.h"
#include "portobj.h"
#include "registry.h"
#include "registrymessages.h"
#include "registryvalues.h"
#include "slotscan.h"
#include "stringtable.h"

#include <string>

namespace {
constexpr std::uint32_t kSystemValueBuffer = 60;
constexpr std::uint32_t kRecordValueBuffer = 128;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string ReadRecordText(CRegistry& key, unsigned id, const char* fallback) {
    return ReadTextOr(key, LoadString(id), kRecordValueBuffer, fallback);
}

void WriteText(CRegistry& key, unsigned id, const std::string& text) {
    WriteTextReported(key, LoadString(id), text);
}

void WriteNumber(CRegistry& key, unsigned id, int number) {
    WriteNumberReported(key, LoadString(id), static_cast<std::uint32_t>(number));
}

void DeleteReported(const std::string& path) {
    CRegistry registry;
    if (registry.DeleteKey(path) != ERROR_SUCCESS) {
        CMessageService::Error(kDeleteRegistryFailed);
    }
}

// Loads the ports of one board key; a port that cannot be read stays with its defaults.
int LoadPorts(IConfigurationBuilder& builder, const std::string& boardKeyName) {
    CRegistry boardKey;
    if (!CDriverKeyStore::OpenBoardKey(boardKey, boardKeyName)) {
        return 0;
    }
    ForEachSubKeyName(boardKey, [&](const std::string& portKeyName) {
        if (!StartsWith(portKeyName, "Po")) {
            return;
        }
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

std::string CDriverKeyStore::BoardKeyPath(const std::string& boardKeyName) {
    return DriverKeyPath() + "\\" + boardKeyName;
}

std::string CDriverKeyStore::PortKeyPath(const std::string& boardKeyName,
                                         const std::string& portKeyName) {
    return BoardKeyPath(boardKeyName) + "\\" + portKeyName;
}

bool CDriverKeyStore::OpenBoardKey(CRegistry& key, const std::string& boardKeyName) {
    if (key.OpenKey(BoardKeyPath(boardKeyName), "", KEY_ALL_ACCESS, 1) != ERROR_SUCCESS) {
        CMessageService::Error(kOpenRegistryFailed);
        return false;
    }
    return true;
}

bool CDriverKeyStore::IsSingleKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

int CDriverKeyStore::LoadConfiguration(IConfigurationBuilder& builder) {
    CRegistry driverKey;
    if (driverKey.OpenKey(DriverKeyPath(), "", KEY_ALL_ACCESS, 0) != ERROR_SUCCESS) {
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
    ForEachSubKeyName(driverKey, [&](const std::string& boardKeyName) {
        if (result == 0 || !StartsWith(boardKeyName, "Bo")) {
            return;
        }
        CBoardObj* board = builder.AppendBoard();
        ++boards;
        if (ReadBoardKey(boardKeyName, *board) == 0) {
            CMessageService::Error(kQueryRegistryFailed);
            result = 0;
            return;
        }
        if (LoadPorts(builder, boardKeyName) == 0) {
            result = 0;
            return;
        }
        ports += static_cast<int>(board->m_PortList.size());
    });
    driverKey.CloseKey();
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
    board.SetBoardName(ReadRecordText(key, IDS_BOARD_NAME, "Board000"));
    board.SetBoardType(ReadRecordText(key, IDS_BOARD_TYPE, "RX-401"));
    board.SetBaseAddress(ReadRecordText(key, IDS_BOARD_BASE_ADDRESS, "190"));
    board.SetShareIRQEnabled(
        static_cast<int>(ReadNumberOr(key, LoadString(IDS_BOARD_SHARE_IRQ_ENABLED), 0)));
    board.SetBaseCOMPort(ReadRecordText(key, IDS_BOARD_BASE_COM_PORT, "COM3"));
    board.SetShareIRQ(ReadRecordText(key, IDS_BOARD_SHARE_IRQ, "7"));
    board.SetVectorAddress(ReadRecordText(key, IDS_BOARD_VECTOR_ADDRESS, "2d0"));
    board.SetStandardModeEnabled(
        static_cast<int>(ReadNumberOr(key, LoadString(IDS_BOARD_STANDARD_MODE_ENABLED), 0)));
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
    port.SetPortName(ReadRecordText(key, IDS_PORT_NAME, "Port000"));
    port.SetPortCOMPort(ReadRecordText(key, IDS_PORT_COM_PORT, "COM3"));
    port.SetPortIRQ(ReadRecordText(key, IDS_PORT_IRQ, "7"));
    port.SetPortAddress(ReadRecordText(key, IDS_PORT_ADDRESS, "190"));
    port.SetPortIndex(ReadRecordText(key, IDS_PORT_INDEX, "1"));
    port.SetPortSerialPort(ReadRecordText(key, IDS_PORT_SERIAL_PORT, "Serial999"));
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
    WriteText(key, IDS_BOARD_NAME, board.GetBoardName());
    WriteText(key, IDS_BOARD_TYPE, board.GetBoardType());
    WriteText(key, IDS_BOARD_BASE_ADDRESS, board.GetBaseAddress());
    WriteNumber(key, IDS_BOARD_SHARE_IRQ_ENABLED, board.GetShareIRQEnabled());
    WriteText(key, IDS_BOARD_BASE_COM_PORT, board.GetBaseCOMPort());
    WriteText(key, IDS_BOARD_SHARE_IRQ, board.GetShareIRQ());
    WriteText(key, IDS_BOARD_VECTOR_ADDRESS, board.GetVectorAddress());
    WriteNumber(key, IDS_BOARD_STANDARD_MODE_ENABLED, board.GetStandardModeEnabled());
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
    WriteText(key, IDS_PORT_NAME, port.GetPortName());
    WriteText(key, IDS_PORT_COM_PORT, port.GetPortCOMPort());
    WriteText(key, IDS_PORT_IRQ, port.GetPortIRQ());
    WriteText(key, IDS_PORT_ADDRESS, port.GetPortAddress());
    WriteText(key, IDS_PORT_INDEX, port.GetPortIndex());
    WriteText(key, IDS_PORT_SERIAL_PORT, port.GetPortSerialPort());
    key.CloseKey();
    return 1;
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
    // An empty or damaged instance name must never make the delete reach the parent keys that
    // hold every port's instance.
    const std::string& instance = port.GetPortSerialPort();
    if (!IsSingleKeyName(instance)) {
        CMessageService::Error(kDeleteRegistryFailed);
        return;
    }
    if (!IsWindows9x()) {
        DeleteReported(SerialParametersKeyPath() + "\\" + instance);
        return;
    }
    DeleteReported(ClassPortsKeyPath() + "\\" + instance);
    // The device key holds its LogConfig sub-key; removing only the key would leave an orphan.
    CRegistry registry;
    registry.DeleteKeyTree(EnumRootPortsKeyPath() + "\\" + instance);
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
