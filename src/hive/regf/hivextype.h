#pragma once

#include <cstddef>
#include <cstdint>
#include <hivex.h>

// A hive file may hold any 32-bit value type, and hivex passes it in its enum, which C++ may
// hold only within the enum's own range: the type crosses over as bytes, never as an enum value.
class CHivexType {
public:
    // hivex_value_value with the type as a number; the data is hivex's (free it).
    static char* Value(hive_h* hive, hive_value_h value, std::uint32_t& type, std::size_t& size);
    static hive_set_value SetValue(char* name, std::uint32_t type, std::size_t size, char* data);
};
