#include "hiveprobe.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {
std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        text += (text.empty() ? "" : ",") + std::string(digits);
    }
    return text;
}

std::string Format(const SHiveValue& value) {
    if (value.type == REG_SZ && !value.data.empty() && value.data.back() == 0) {
        return "\"" + std::string(value.data.begin(), value.data.end() - 1) + "\"";
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%02x%02x%02x%02x", value.data[3], value.data[2],
                      value.data[1], value.data[0]);
        return digits;
    }
    if (value.type == REG_BINARY) {
        return "hex:" + Hex(value.data);
    }
    return "type" + std::to_string(value.type) + ":" + Hex(value.data);
}
} // namespace

bool CHiveProbe::Exists(const std::string& path) {
    HiveKeyId key = 0;
    return m_hive.FindKey(path, key) == ERROR_SUCCESS;
}

bool CHiveProbe::HasValue(const std::string& path, const std::string& name) {
    HiveKeyId key = 0;
    SHiveValue value;
    return m_hive.FindKey(path, key) == ERROR_SUCCESS &&
           m_hive.ReadValue(key, name, value) == ERROR_SUCCESS;
}

std::vector<std::string> CHiveProbe::SubKeys(const std::string& path) {
    HiveKeyId key = 0;
    std::vector<std::string> names;
    if (m_hive.FindKey(path, key) == ERROR_SUCCESS) {
        EXPECT_EQ(m_hive.SubKeyNames(key, names), ERROR_SUCCESS) << path;
    }
    return names;
}

std::vector<std::string> CHiveProbe::ValueNames(const std::string& path) {
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    if (m_hive.FindKey(path, key) == ERROR_SUCCESS) {
        EXPECT_EQ(m_hive.Values(key, values), ERROR_SUCCESS) << path;
    }
    std::vector<std::string> names;
    for (const SHiveValue& value : values) {
        names.push_back(value.name);
    }
    return names;
}

SHiveValue CHiveProbe::Value(const std::string& path, const std::string& name) {
    HiveKeyId key = 0;
    SHiveValue value;
    EXPECT_EQ(m_hive.FindKey(path, key), ERROR_SUCCESS) << path;
    EXPECT_EQ(m_hive.ReadValue(key, name, value), ERROR_SUCCESS) << path << " : " << name;
    return value;
}

SHiveValue CHiveProbe::Typed(const std::string& path, const std::string& name, std::uint32_t type) {
    SHiveValue value = Value(path, name);
    EXPECT_EQ(value.type, type) << path << " : " << name;
    return value;
}

std::string CHiveProbe::Text(const std::string& path, const std::string& name) {
    SHiveValue value = Typed(path, name, REG_SZ);
    EXPECT_TRUE(!value.data.empty() && value.data.back() == 0) << path << " : " << name;
    std::string text(value.data.begin(), value.data.end());
    if (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

std::uint32_t CHiveProbe::Dword(const std::string& path, const std::string& name) {
    SHiveValue value = Typed(path, name, REG_DWORD);
    EXPECT_EQ(value.data.size(), 4u) << path << " : " << name;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < value.data.size() && i < 4; ++i) {
        number |= static_cast<std::uint32_t>(value.data[i]) << (8 * i);
    }
    return number;
}

std::vector<std::uint8_t> CHiveProbe::Binary(const std::string& path, const std::string& name) {
    return Typed(path, name, REG_BINARY).data;
}

std::vector<std::string> CHiveProbe::Dump(const std::string& path) {
    std::vector<std::string> lines;
    DumpKey(path, "", lines);
    return lines;
}

void CHiveProbe::DumpKey(const std::string& path, const std::string& relative,
                         std::vector<std::string>& lines) {
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    ASSERT_EQ(m_hive.FindKey(path, key), ERROR_SUCCESS) << path;
    ASSERT_EQ(m_hive.Values(key, values), ERROR_SUCCESS) << path;
    lines.push_back("[" + relative + "]");
    for (const SHiveValue& value : values) {
        lines.push_back(value.name + "=" + Format(value));
    }
    for (const std::string& name : SubKeys(path)) {
        DumpKey(path + "\\" + name, relative.empty() ? name : relative + "\\" + name, lines);
    }
}

void CHiveProbe::CreateKey(const std::string& path) {
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.CreateKey(path, key), ERROR_SUCCESS) << path;
}

void CHiveProbe::SetText(const std::string& path, const std::string& name,
                         const std::string& text) {
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.CreateKey(path, key), ERROR_SUCCESS) << path;
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    ASSERT_EQ(m_hive.WriteValue(key, name, REG_SZ, bytes), ERROR_SUCCESS) << path << " : " << name;
}

void CHiveProbe::SetDword(const std::string& path, const std::string& name, std::uint32_t value) {
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.CreateKey(path, key), ERROR_SUCCESS) << path;
    std::vector<std::uint8_t> bytes = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    ASSERT_EQ(m_hive.WriteValue(key, name, REG_DWORD, bytes), ERROR_SUCCESS)
        << path << " : " << name;
}

void CHiveProbe::DeleteTree(const std::string& path) {
    ASSERT_EQ(m_hive.DeleteKey(path, true), ERROR_SUCCESS) << path;
}
