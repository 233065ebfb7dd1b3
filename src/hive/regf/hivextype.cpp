#include "hivextype.h"

#include <cstring>

static_assert(sizeof(hive_type) == sizeof(std::uint32_t));

char* CHivexType::Value(hive_h* hive, hive_value_h value, std::uint32_t& type, std::size_t& size) {
    hive_type raw{};
    char* data = hivex_value_value(hive, value, &raw, &size);
    std::memcpy(&type, &raw, sizeof type);
    return data;
}

hive_set_value CHivexType::SetValue(char* name, std::uint32_t type, std::size_t size, char* data) {
    hive_set_value value{};
    value.key = name;
    std::memcpy(&value.t, &type, sizeof type);
    value.len = size;
    value.value = data;
    return value;
}
