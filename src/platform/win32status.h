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
