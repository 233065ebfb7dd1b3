#include "testhivex.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace {
struct SFree {
    void operator()(void* memory) const { std::free(memory); }
};

std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (!path.empty() && start <= path.size()) {
        const std::size_t end = path.find('\\', start);
        names.push_back(path.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return names;
}
} // namespace

CTestHivex::CTestHivex(const std::string& path, bool write)
    : m_pHive(hivex_open(path.c_str(), write ? HIVEX_OPEN_WRITE : 0)), m_path(path) {
    if (m_pHive == nullptr) {
        throw std::runtime_error("hivex cannot open " + path + ": " + std::strerror(errno));
    }
}

CTestHivex::~CTestHivex() {
    hivex_close(m_pHive);
}

hive_node_h CTestHivex::Find(const std::string& path) {
    hive_node_h node = hivex_root(m_pHive);
    for (const std::string& name : Split(path)) {
        node = node != 0 ? hivex_node_get_child(m_pHive, node, name.c_str()) : 0;
    }
    return node;
}

hive_node_h CTestHivex::Key(const std::string& path) {
    hive_node_h node = hivex_root(m_pHive);
    for (const std::string& name : Split(path)) {
        hive_node_h child = hivex_node_get_child(m_pHive, node, name.c_str());
        if (child == 0) {
            child = hivex_node_add_child(m_pHive, node, name.c_str());
        }
        if (child == 0) {
            throw std::runtime_error("hivex cannot make " + path + " in " + m_path);
        }
        node = child;
    }
    return node;
}

void CTestHivex::Set(const std::string& path, const std::string& name, std::uint32_t type,
                     const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes = data;
    hive_set_value value{};
    value.key = const_cast<char*>(name.c_str());
    // Any type number, also those hive_type does not name: byte for byte into the enum.
    std::memcpy(&value.t, &type, sizeof type);
    value.len = bytes.size();
    value.value = reinterpret_cast<char*>(bytes.data());
    if (hivex_node_set_value(m_pHive, Key(path), &value, 0) != 0) {
        throw std::runtime_error("hivex cannot set " + path + "\\" + name);
    }
}

void CTestHivex::SetDword(const std::string& path, const std::string& name, std::uint32_t value) {
    Set(path, name, 4,
        {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
         static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void CTestHivex::SetText(const std::string& path, const std::string& name, std::uint32_t type,
                         const std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    Set(path, name, type, bytes);
}

std::vector<std::pair<std::string, CTestHivex::SRaw>> CTestHivex::Values(const std::string& path) {
    std::vector<std::pair<std::string, SRaw>> values;
    const hive_node_h node = Find(path);
    if (node == 0) {
        throw std::runtime_error("no key " + path + " in " + m_path);
    }
    std::unique_ptr<hive_value_h, SFree> handles(hivex_node_values(m_pHive, node));
    for (const hive_value_h* handle = handles.get(); handle != nullptr && *handle != 0; ++handle) {
        std::unique_ptr<char, SFree> name(hivex_value_key(m_pHive, *handle));
        hive_type type = hive_t_REG_NONE;
        std::size_t size = 0;
        std::unique_ptr<char, SFree> data(hivex_value_value(m_pHive, *handle, &type, &size));
        if (!name || !data) {
            throw std::runtime_error("hivex cannot read a value of " + path);
        }
        SRaw raw{0, {data.get(), data.get() + size}};
        std::memcpy(&raw.type, &type, sizeof raw.type);
        values.emplace_back(name.get(), std::move(raw));
    }
    return values;
}

std::optional<CTestHivex::SRaw> CTestHivex::Get(const std::string& path, const std::string& name) {
    for (auto& [valueName, raw] : Values(path)) {
        if (strcasecmp(valueName.c_str(), name.c_str()) == 0) {
            return raw;
        }
    }
    return std::nullopt;
}

std::vector<std::string> CTestHivex::SubKeys(const std::string& path) {
    std::vector<std::string> names;
    std::unique_ptr<hive_node_h, SFree> children(hivex_node_children(m_pHive, Find(path)));
    for (const hive_node_h* child = children.get(); child != nullptr && *child != 0; ++child) {
        std::unique_ptr<char, SFree> name(hivex_node_name(m_pHive, *child));
        names.emplace_back(name ? name.get() : "");
    }
    return names;
}

CTestHivex::STree CTestHivex::Tree(const std::string& path) {
    STree tree;
    tree[path] = Values(path);
    for (const std::string& name : SubKeys(path)) {
        tree.merge(Tree(path.empty() ? name : path + "\\" + name));
    }
    return tree;
}

void CTestHivex::Commit() {
    if (hivex_commit(m_pHive, nullptr, 0) != 0) {
        throw std::runtime_error("hivex cannot write " + m_path + ": " + std::strerror(errno));
    }
}

void PrintTo(const CTestHivex::SRaw& raw, std::ostream* os) {
    *os << "type " << raw.type << ":";
    for (const std::uint8_t byte : raw.data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", byte);
        *os << hex;
    }
}

CTestHivex::SRaw CTestHivex::SRaw::Sz(const std::string& latin1) {
    SRaw raw{1, {}};
    for (const char c : latin1 + '\0') {
        raw.data.push_back(static_cast<std::uint8_t>(c));
        raw.data.push_back(0);
    }
    return raw;
}
