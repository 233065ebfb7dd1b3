#include "stringtable.h"

#include "keypaths.h"

#include <unordered_map>

namespace {

const std::unordered_map<unsigned, std::string>& Table() {
    static const std::unordered_map<unsigned, std::string> table = {
        {IDS_PROFILE_SECTION, "Misc"},
        {IDS_PROFILE_DOCKED_STATE, "DockedDialogState"},
        {IDS_PROFILE_FLOATING_CX, "FloatingDlgCXSize"},
        {IDS_PROFILE_FLOATING_CY, "FloatingDlgCYSize"},
        {IDS_PROFILE_DOCKED_CX, "DockedDlgCXSize"},
        {IDS_PROFILE_DOCKED_CY, "DockedDlgCYSize"},

        {IDS_CONFIRM_DELETE_BOARD, "All Ports on this Board will be deleted.\nContinue?"},
        {IDS_CONFIRM_DELETE_ALL_PORTS, "All Ports on the same board will be deleted. \nContinue?"},
        {IDS_CONFIRM_DELETE_PORT, "This port will be deleted. \nContinue?"},
        {IDS_CONFIRM_NEW, "All Boards  will be deleted.\nContinue?"},

        {IDS_DRIVER_SERVICE, "QSERDRV"},
        {IDS_BOARD_NAME, "BoardName"},
        {IDS_BOARD_BASE_ADDRESS, "BoardBaseAddress"},
        {IDS_BOARD_BASE_COM_PORT, "BoardBaseCOMPort"},
        {IDS_BOARD_SHARE_IRQ_ENABLED, "BoardShareIRQEnabled"},
        {IDS_BOARD_SHARE_IRQ, "BoardShareIRQ"},
        {IDS_BOARD_VECTOR_ADDRESS, "BoardVectorAddress"},
        {IDS_PORT_NAME, "PortName"},
        {IDS_PORT_COM_PORT, "PortCOMPort"},
        {IDS_PORT_IRQ, "PortIRQ"},
        {IDS_PORT_ADDRESS, "PortAddress"},
        {IDS_BOARD_TYPE, "BoardType"},
        {IDS_SYSTEM_DRIVER_NAME, "SystemDriverName"},
        {IDS_SYSTEM_NUM_BOARDS, "SystemNumBoards"},
        {IDS_SYSTEM_NUM_PORTS, "SystemNumPorts"},

        {IDS_SERIAL_ERROR_CONTROL, "ErrorControl"},
        {IDS_SERIAL_FORCE_FIFO_ENABLE, "ForceFifoEnable"},
        {IDS_SERIAL_GROUP, "Group"},
        {IDS_SERIAL_RXFIFO, "Rxfifo"},
        {IDS_SERIAL_START, "Start"},
        {IDS_SERIAL_TAG, "Tag"},
        {IDS_SERIAL_TXFIFO, "Txfifo"},
        {IDS_SERIAL_TYPE, "Type"},

        {IDS_PORT_INDEX, "PortIndex"},

        {IDS_NTPORT_DOS_DEVICES, "DosDevices"},
        {IDS_NTPORT_FORCE_FIFO_ENABLE, "ForceFifoEnable"},
        {IDS_NTPORT_INDEXED, "Indexed"},
        {IDS_NTPORT_INTERRUPT, "Interrupt"},
        {IDS_NTPORT_INTERRUPT_STATUS, "InterruptStatus"},
        {IDS_NTPORT_PORT_ADDRESS, "PortAddress"},
        {IDS_NTPORT_PORT_INDEX, "PortIndex"},

        {IDS_PORT_SERIAL_PORT, "PortSerialPort"},

        {IDS_CLASS_DEV_LOADER, "DevLoader"},
        {IDS_CLASS_ENUMERATOR, "Enumerator"},
        {IDS_CLASS_PORT_DRIVER, "PortDriver"},
        {IDS_CLASS_CONTENTION, "Contention"},
        {IDS_CLASS_CONFIG_DIALOG, "ConfigDialog"},
        {IDS_CLASS_DCB, "DCB"},
        {IDS_CLASS_PORT_SUB_CLASS, "PortSubClass"},
        {IDS_CLASS_ENUM_PROP_PAGES, "EnumPropPages"},
        {IDS_CLASS_INF_PATH, "InfPath"},
        {IDS_CLASS_INF_SECTION, "InfSection"},
        {IDS_CLASS_DRIVER_DATE, "DriverDate"},
        {IDS_CLASS_DRIVER_DESC, "DriverDesc"},

        {IDS_DEVICE_CLASS, "Class"},
        {IDS_DEVICE_DRIVER, "Driver"},
        {IDS_DEVICE_MFG, "Mfg"},
        {IDS_DEVICE_HARDWARE_ID, "HardwareID"},
        {IDS_DEVICE_DEVICE_DESC, "DeviceDesc"},
        {IDS_DEVICE_FRIENDLY_NAME, "FRIENDLYNAME"},
        {IDS_DEVICE_CONFIG_FLAGS, "ConfigFlags"},
        {IDS_DEVICE_FORCED_CONFIG, "ForcedConfig"},
        {IDS_DEVICE_PORT_NAME, "PORTNAME"},

        {IDS_LOG_CONFIG_FIRST + 0, "0"},
        {IDS_LOG_CONFIG_FIRST + 1, "1"},
        {IDS_LOG_CONFIG_FIRST + 2, "2"},
        {IDS_LOG_CONFIG_FIRST + 3, "3"},
        {IDS_LOG_CONFIG_FIRST + 4, "4"},
        {IDS_LOG_CONFIG_FIRST + 5, "5"},
        {IDS_LOG_CONFIG_FIRST + 6, "6"},
        {IDS_LOG_CONFIG_FIRST + 7, "7"},
        {IDS_LOG_CONFIG_LAST, "8"},

        {IDS_BOARD_STANDARD_MODE_ENABLED, "BoardStandardModeEnabled"},
    };
    return table;
}

} // namespace

const std::string& LoadString(unsigned id) {
    static const std::string none;
    const auto& table = Table();
    const auto found = table.find(id);
    return found == table.end() ? none : found->second;
}

const std::string& DriverKeyPath() {
    static const std::string path = ServicesKeyPath() + LoadString(IDS_DRIVER_SERVICE);
    return path;
}
