#pragma once

#include <cstdint>
#include <hivex.h>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A hive file opened with hivex itself, for tests that build hives or look at the bytes a store
// left: paths are hive paths from the root ("ControlSet001\\Services"), names UTF-8. Every
// failure throws std::runtime_error.
class CTestHivex {
public:
    struct SRaw {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        bool operator==(const SRaw&) const = default;
        // The type and the bytes in hex, for test failures.
        friend void PrintTo(const SRaw& raw, std::ostream* os);
        // A REG_SZ as the registry stores the Latin-1 text: UTF-16LE with its zero.
        static SRaw Sz(const std::string& latin1);
    };

    explicit CTestHivex(const std::string& path, bool write = false);
    ~CTestHivex();
    CTestHivex(const CTestHivex&) = delete;
    CTestHivex& operator=(const CTestHivex&) = delete;

    // The key at path, made (with the keys above it) when it is missing.
    hive_node_h Key(const std::string& path);
    // 0 when a key of the path is missing.
    hive_node_h Find(const std::string& path);
    // Adds the value, or replaces the one of that name.
    void Set(const std::string& path, const std::string& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data);
    void SetDword(const std::string& path, const std::string& name, std::uint32_t value);
    // Text as UTF-16LE with its terminating zero; for REG_MULTI_SZ separate strings with '\0'
    // and end with one more.
    void SetText(const std::string& path, const std::string& name, std::uint32_t type,
                 const std::u16string& text);
    std::optional<SRaw> Get(const std::string& path, const std::string& name);
    // name, type and bytes of every value of the key, in stored order.
    std::vector<std::pair<std::string, SRaw>> Values(const std::string& path);
    std::vector<std::string> SubKeys(const std::string& path);
    // Every key from path down (path itself included) by its path, with its values.
    using STree = std::map<std::string, std::vector<std::pair<std::string, SRaw>>>;
    STree Tree(const std::string& path = {});
    void Commit();

private:
    hive_h* m_pHive;
    std::string m_path;
};
