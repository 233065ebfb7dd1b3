#pragma once

#include <string>

// Ids of the string resources: the driver service name, the registry value names of the driver
// key and of the operating system's port keys, the tree browser bar's profile names and the
// questions of the editing commands.
inline constexpr unsigned IDS_PROFILE_SECTION = 200;
inline constexpr unsigned IDS_PROFILE_DOCKED_STATE = 201;
inline constexpr unsigned IDS_PROFILE_FLOATING_CX = 202;
inline constexpr unsigned IDS_PROFILE_FLOATING_CY = 203;
inline constexpr unsigned IDS_PROFILE_DOCKED_CX = 204;
inline constexpr unsigned IDS_PROFILE_DOCKED_CY = 205;

inline constexpr unsigned IDS_CONFIRM_DELETE_BOARD = 220;
inline constexpr unsigned IDS_CONFIRM_DELETE_ALL_PORTS = 221;
inline constexpr unsigned IDS_CONFIRM_DELETE_PORT = 222;
inline constexpr unsigned IDS_CONFIRM_NEW = 224;

inline constexpr unsigned IDS_DRIVER_SERVICE = 32784;
inline constexpr unsigned IDS_BOARD_NAME = 32785;
inline constexpr unsigned IDS_BOARD_BASE_ADDRESS = 32786;
inline constexpr unsigned IDS_BOARD_BASE_COM_PORT = 32787;
inline constexpr unsigned IDS_BOARD_SHARE_IRQ_ENABLED = 32788;
inline constexpr unsigned IDS_BOARD_SHARE_IRQ = 32789;
inline constexpr unsigned IDS_BOARD_VECTOR_ADDRESS = 32790;
inline constexpr unsigned IDS_PORT_NAME = 32791;
inline constexpr unsigned IDS_PORT_COM_PORT = 32792;
inline constexpr unsigned IDS_PORT_IRQ = 32793;
inline constexpr unsigned IDS_PORT_ADDRESS = 32794;
inline constexpr unsigned IDS_BOARD_TYPE = 32795;
inline constexpr unsigned IDS_SYSTEM_DRIVER_NAME = 32796;
inline constexpr unsigned IDS_SYSTEM_NUM_BOARDS = 32797;
inline constexpr unsigned IDS_SYSTEM_NUM_PORTS = 32798;

inline constexpr unsigned IDS_SERIAL_ERROR_CONTROL = 32799;
inline constexpr unsigned IDS_SERIAL_FORCE_FIFO_ENABLE = 32800;
inline constexpr unsigned IDS_SERIAL_GROUP = 32801;
inline constexpr unsigned IDS_SERIAL_RXFIFO = 32802;
inline constexpr unsigned IDS_SERIAL_START = 32803;
inline constexpr unsigned IDS_SERIAL_TAG = 32804;
inline constexpr unsigned IDS_SERIAL_TXFIFO = 32805;
inline constexpr unsigned IDS_SERIAL_TYPE = 32806;

inline constexpr unsigned IDS_PORT_INDEX = 32807;

inline constexpr unsigned IDS_NTPORT_DOS_DEVICES = 32808;
inline constexpr unsigned IDS_NTPORT_FORCE_FIFO_ENABLE = 32809;
inline constexpr unsigned IDS_NTPORT_INDEXED = 32810;
inline constexpr unsigned IDS_NTPORT_INTERRUPT = 32811;
inline constexpr unsigned IDS_NTPORT_INTERRUPT_STATUS = 32812;
inline constexpr unsigned IDS_NTPORT_PORT_ADDRESS = 32813;
inline constexpr unsigned IDS_NTPORT_PORT_INDEX = 32814;

inline constexpr unsigned IDS_PORT_SERIAL_PORT = 32815;

inline constexpr unsigned IDS_CLASS_DEV_LOADER = 32816;
inline constexpr unsigned IDS_CLASS_ENUMERATOR = 32817;
inline constexpr unsigned IDS_CLASS_PORT_DRIVER = 32818;
inline constexpr unsigned IDS_CLASS_CONTENTION = 32819;
inline constexpr unsigned IDS_CLASS_CONFIG_DIALOG = 32820;
inline constexpr unsigned IDS_CLASS_DCB = 32821;
inline constexpr unsigned IDS_CLASS_PORT_SUB_CLASS = 32822;
inline constexpr unsigned IDS_CLASS_ENUM_PROP_PAGES = 32823;
inline constexpr unsigned IDS_CLASS_INF_PATH = 32824;
inline constexpr unsigned IDS_CLASS_INF_SECTION = 32825;
inline constexpr unsigned IDS_CLASS_DRIVER_DATE = 32826;
inline constexpr unsigned IDS_CLASS_DRIVER_DESC = 32827;

inline constexpr unsigned IDS_DEVICE_CLASS = 32828;
inline constexpr unsigned IDS_DEVICE_DRIVER = 32829;
inline constexpr unsigned IDS_DEVICE_MFG = 32830;
inline constexpr unsigned IDS_DEVICE_HARDWARE_ID = 32831;
inline constexpr unsigned IDS_DEVICE_DEVICE_DESC = 32832;
inline constexpr unsigned IDS_DEVICE_FRIENDLY_NAME = 32833;
inline constexpr unsigned IDS_DEVICE_CONFIG_FLAGS = 32834;
inline constexpr unsigned IDS_DEVICE_FORCED_CONFIG = 32835;
inline constexpr unsigned IDS_DEVICE_PORT_NAME = 32836;

// The nine LogConfig values "0" to "8" have consecutive ids.
inline constexpr unsigned IDS_LOG_CONFIG_FIRST = 32837;
inline constexpr unsigned IDS_LOG_CONFIG_LAST = 32845;

inline constexpr unsigned IDS_BOARD_STANDARD_MODE_ENABLED = 32846;

// The text of a string resource; an id without a text gives an empty text.
const std::string& LoadString(unsigned id);

// SYSTEM\CurrentControlSet\Services\ followed by the driver service name.
const std::string& DriverKeyPath();
