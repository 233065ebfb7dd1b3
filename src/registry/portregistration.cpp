#include "portregistration.h"

#include "boardobj.h"
#include "comnamedatabase.h"
#include "configrecord.h"
#include "driverkeystore.h"
#include "driverkeywalk.h"
#include "keypaths.h"
#include "messageservice.h"
#include "messagetext.h"
#include "platformfamily.h"
#include "portobj.h"
#include "registry.h"
#include "registrymessages.h"
#include "registryvalues.h"
#include "serialservicevalues.h"
#include "stringtable.h"
#include "textnumbers.h"

#include <functional>
#include <optional>
#include <strings.h>
#include <vector>

namespace {
using PortWriter = std::function<int(const CBoardObj&, const CPortObj&)>;

void WriteText(CRegistry& key, unsigned id, const std::string& text) {
    WriteTextReported(key, LoadString(id), text);
}

void WriteNumber(CRegistry& key, unsigned id, std::uint32_t number) {
    WriteNumberReported(key, LoadString(id), number);
}

template <std::size_t N>
void WriteBytes(CRegistry& key, const std::string& name, const std::array<std::uint8_t, N>& bytes) {
    WriteBytesReported(key, name, bytes.data(), bytes.size());
}

std::uint32_t Number(const std::string& text, int radix) {
    return static_cast<std::uint32_t>(ParseAddress(text, radix));
}

bool OpenCreated(CRegistry& key, const std::string& path) {
    return key.OpenKey(path, "", KEY_ALL_ACCESS, 0) == ERROR_SUCCESS;
}

// The COM names a Windows NT pass registers and those its ports were registered with before,
// for the COM name database.
struct SComNames {
    std::vector<std::string> reserved;
    std::vector<std::string> released;
};

// What one pass has walked and which ports it left without registration.
struct SPass {
    PortWriter writePort;
    CDriverKeyWalk walk;
    std::vector<std::string> withoutInstance;
    // Windows NT only.
    std::optional<SComNames> comNames;
};

void WritePort(const CBoardObj& board, const CPortObj& port, SPass& pass) {
    if (!pass.comNames) {
        pass.writePort(board, port);
        return;
    }
    const std::string before = CComNameDatabase::Registered(port.GetPortSerialPort());
    if (pass.writePort(board, port) == 0) {
        return;
    }
    pass.comNames->reserved.push_back(port.GetPortCOMPort());
    if (!before.empty() && strcasecmp(before.c_str(), port.GetPortCOMPort().c_str()) != 0) {
        pass.comNames->released.push_back(before);
    }
}

// Registers the ports of one board key; 0 when the board itself cannot be read.
int RegisterBoard(const std::string& boardKeyName, CBoardObj& board, SPass& pass) {
    if (CDriverKeyStore::ReadBoardKey(boardKeyName, board) == 0) {
        CMessageService::Error(kQueryRegistryFailed);
        return 0;
    }
    CRegistry boardKey;
    if (!CDriverKeyStore::OpenBoardKey(boardKey, boardKeyName)) {
        return 0;
    }
    pass.walk.ForEachPortKey(boardKey, boardKeyName, [&](const std::string& portKeyName) {
        // Each port is read into a record of its own: a port that cannot be read is skipped
        // rather than registered with the values of the port before it.
        CPortObj port("", 0);
        if (CDriverKeyStore::ReadPortKey(boardKeyName, portKeyName, port) == 0) {
            CMessageService::Error(kQueryRegistryFailed);
        } else if (!IsInstanceName(port.GetPortSerialPort())) {
            pass.withoutInstance.push_back(PrintableName(portKeyName) + " of " +
                                           PrintableName(boardKeyName));
        } else {
            WritePort(board, port, pass);
        }
    });
    boardKey.CloseKey();
    return 1;
}

void ReportPortsWithoutInstance(const std::vector<std::string>& ports) {
    if (ports.empty()) {
        return;
    }
    const bool one = ports.size() == 1;
    if (IsLinux()) {
        CMessageService::Error(
            JoinedList(ports) + (one ? " has" : " have") + " no serial line ttyS4 to ttyS31; " +
            (one ? "it was" : "they were") + " not written to /etc/serial.conf.");
        return;
    }
    CMessageService::Error(JoinedList(ports) + (one ? " has" : " have") +
                           " no valid serial instance name; " + (one ? "it was" : "they were") +
                           " not registered.");
}

int RunPass(const SSystemValues& values, bool hasBoards, const std::string& platformKeyPath,
            bool windowsNT, PortWriter writePort) {
    CBoardObj board;
    CDriverKeyStore::SaveSystemValues(values.systemName, values.numBoards, values.numPorts);
    if (!hasBoards) {
        return 1;
    }
    // Linux keeps its registration in files: no key of the operating system is made.
    CRegistry platformKey;
    if (!platformKeyPath.empty() && !OpenCreated(platformKey, platformKeyPath)) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    if (windowsNT) {
        CSerialServiceValues(platformKey).Write();
    }
    CRegistry driverKey;
    if (!OpenCreated(driverKey, DriverKeyPath())) {
        CMessageService::Error(kOpenRegistryFailed);
        return 0;
    }
    int result = 1;
    SPass pass{writePort, {}, {}, {}};
    if (windowsNT) {
        pass.comNames.emplace();
    }
    pass.walk.ForEachBoardKey(driverKey, [&](const std::string& boardKeyName) {
        if (result == 1) {
            result = RegisterBoard(boardKeyName, board, pass);
        }
    });
    if (pass.comNames) {
        CComNameDatabase::Update(pass.comNames->reserved, pass.comNames->released);
    }
    ReportPortsWithoutInstance(pass.withoutInstance);
    return result;
}

std::string DeviceDescription(const CPortObj& port) {
    return " (" + port.GetPortCOMPort() + ") ";
}

int WriteClassKey(const CPortObj& port) {
    CRegistry key;
    if (!OpenCreated(key, ClassInstanceKeyPath(port.GetPortSerialPort()))) {
        return 0;
    }
    WriteText(key, IDS_CLASS_DEV_LOADER, "*vcomm");
    WriteText(key, IDS_CLASS_ENUMERATOR, "serenum.vxd");
    WriteText(key, IDS_CLASS_PORT_DRIVER, "serial.vxd");
    WriteText(key, IDS_CLASS_CONTENTION, "*vcd");
    WriteText(key, IDS_CLASS_CONFIG_DIALOG, "serialui.dll");
    WriteBytes(key, LoadString(IDS_CLASS_DCB), CConfigRecord::DefaultDCB());
    WriteBytes(key, LoadString(IDS_CLASS_PORT_SUB_CLASS), std::array<std::uint8_t, 1>{0x01});
    WriteText(key, IDS_CLASS_ENUM_PROP_PAGES, "serialui.dll,EnumPropPages");
    WriteText(key, IDS_CLASS_INF_PATH, "MSPORTS.INF");
    WriteText(key, IDS_CLASS_INF_SECTION, "ComPort");
    WriteText(key, IDS_CLASS_DRIVER_DATE, "10-18-1996");
    WriteText(key, IDS_CLASS_DRIVER_DESC, "COM PORT");
    key.CloseKey();
    return 1;
}

int WriteDeviceKey(const CPortObj& port) {
    CRegistry key;
    if (!OpenCreated(key, DeviceInstanceKeyPath(port.GetPortSerialPort()))) {
        return 0;
    }
    WriteText(key, IDS_DEVICE_CLASS, "Ports");
    WriteText(key, IDS_DEVICE_DRIVER, "Ports\\" + port.GetPortSerialPort());
    WriteText(key, IDS_DEVICE_MFG, " (standard port) ");
    WriteText(key, IDS_DEVICE_HARDWARE_ID, "*PNP0500");
    WriteText(key, IDS_DEVICE_DEVICE_DESC, DeviceDescription(port));
    WriteText(key, IDS_DEVICE_FRIENDLY_NAME, DeviceDescription(port));
    WriteBytes(key, LoadString(IDS_DEVICE_CONFIG_FLAGS),
               std::array<std::uint8_t, 4>{0x04, 0x00, 0x00, 0x00});
    CConfigRecordBytes forced = CConfigRecord::ForcedConfigTemplate();
    CConfigRecord::SetForcedConfigRange(port.GetPortAddress(), forced);
    CConfigRecord::SetForcedConfigIRQ(port.GetPortIRQ(), forced);
    WriteBytes(key, LoadString(IDS_DEVICE_FORCED_CONFIG), forced);
    WriteText(key, IDS_DEVICE_PORT_NAME, port.GetPortCOMPort());
    key.CloseKey();
    return 1;
}

int WriteLogConfigKey(const CPortObj& port) {
    CRegistry key;
    if (!OpenCreated(key, LogConfigKeyPath(port.GetPortSerialPort()))) {
        return 0;
    }
    for (int number = 0; number <= 8; ++number) {
        WriteBytes(key, LoadString(IDS_LOG_CONFIG_FIRST + static_cast<unsigned>(number)),
                   CConfigRecord::LogConfig(number));
    }
    key.CloseKey();
    return 1;
}
} // namespace

int CPortRegistration::RegisterNTSerialPorts(const SSystemValues& values, bool hasBoards) {
    return RunPass(values, hasBoards, SerialServiceKeyPath(), true, &WriteNTSerialPort);
}

int CPortRegistration::Register95Ports(const SSystemValues& values, bool hasBoards) {
    return RunPass(values, hasBoards, ClassPortsKeyPath(), false, &Write95Port);
}

int CPortRegistration::ForEachLinuxPort(
    const SSystemValues& values, bool hasBoards,
    const std::function<void(const CBoardObj&, const CPortObj&)>& visit) {
    return RunPass(values, hasBoards, "", false,
                   [&visit](const CBoardObj& board, const CPortObj& port) {
                       visit(board, port);
                       return 1;
                   });
}

int CPortRegistration::WriteNTSerialPort(const CBoardObj& board, const CPortObj& port) {
    if (!IsInstanceName(port.GetPortSerialPort())) {
        return 0;
    }
    CRegistry key;
    if (!OpenCreated(key, SerialInstanceKeyPath(port.GetPortSerialPort()))) {
        return 0;
    }
    WriteText(key, IDS_NTPORT_DOS_DEVICES, port.GetPortCOMPort());
    WriteNumber(key, IDS_NTPORT_FORCE_FIFO_ENABLE, 1);
    WriteNumber(key, IDS_NTPORT_INDEXED, 0);
    WriteNumber(key, IDS_NTPORT_INTERRUPT, Number(port.GetPortIRQ(), 10));
    WriteNumber(key, IDS_NTPORT_INTERRUPT_STATUS, Number(board.GetVectorAddress(), 16));
    WriteNumber(key, IDS_NTPORT_PORT_ADDRESS, Number(port.GetPortAddress(), 16));
    WriteNumber(key, IDS_NTPORT_PORT_INDEX, Number(port.GetPortIndex(), 10));
    key.CloseKey();
    return 1;
}

int CPortRegistration::Write95Port(const CBoardObj& /*board*/, const CPortObj& port) {
    if (!IsInstanceName(port.GetPortSerialPort())) {
        return 0;
    }
    if (WriteClassKey(port) == 0 || WriteDeviceKey(port) == 0) {
        return 0;
    }
    return WriteLogConfigKey(port);
}
