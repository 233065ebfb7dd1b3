#pragma once

#include <cstdint>

// Status codes of the Win32 API that the registry emulation and the service control manager
// return. Callers compare against these names, never against bare numbers.
using Win32Status = std::uint32_t;

inline constexpr Win32Status ERROR_SUCCESS = 0;
inline constexpr Win32Status ERROR_FILE_NOT_FOUND = 2;
inline constexpr Win32Status ERROR_ACCESS_DENIED = 5;
inline constexpr Win32Status ERROR_INVALID_HANDLE = 6;
inline constexpr Win32Status ERROR_INVALID_DATA = 13;
inline constexpr Win32Status ERROR_WRITE_FAULT = 29;
inline constexpr Win32Status ERROR_INVALID_PARAMETER = 87;
inline constexpr Win32Status ERROR_MORE_DATA = 234;
inline constexpr Win32Status ERROR_NO_MORE_ITEMS = 259;
inline constexpr Win32Status ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr Win32Status ERROR_KEY_DELETED = 1018;
inline constexpr Win32Status ERROR_INVALID_SERVICE_CONTROL = 1052;
inline constexpr Win32Status ERROR_SERVICE_ALREADY_RUNNING = 1056;
inline constexpr Win32Status ERROR_SERVICE_DOES_NOT_EXIST = 1060;
inline constexpr Win32Status ERROR_SERVICE_NOT_ACTIVE = 1062;
inline constexpr Win32Status ERROR_SERVICE_SPECIFIC_ERROR = 1066;
inline constexpr Win32Status ERROR_SERVICE_MARKED_FOR_DELETE = 1072;
inline constexpr Win32Status RPC_S_SERVER_UNAVAILABLE = 1722;
