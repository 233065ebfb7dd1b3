#pragma once

// The texts with which the system reports a failed registry access, each in one place.
inline constexpr const char* kOpenRegistryFailed = "Open registry failed";
inline constexpr const char* kQueryRegistryFailed = "Query registry data failed";
inline constexpr const char* kWriteRegistryFailed = "Unable to write to registry";
inline constexpr const char* kDeleteRegistryFailed = "Delete registry failed";
