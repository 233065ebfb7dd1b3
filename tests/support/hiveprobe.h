#pragma once

#include "hive.h"

#include <cstdint>
#include <string>
#include <vector>

// Reads and builds registry trees for tests through the hive's typed access, so that what a test
// checks is what the store holds, not what the code under test believes it wrote. Every
// failure is reported as a test failure; reads of a missing key or value give an empty result.
class CHiveProbe {
public:
    explicit CHiveProbe(CHive& hive) : m_hive(hive) {}

    bool Exists(const std::string& path);
    bool HasValue(const std::string& path, const std::string& name);
    std::vector<std::string> SubKeys(const std::string& path);
    // Names of the values of a key in creation order.
    std::vector<std::string> ValueNames(const std::string& path);
    SHiveValue Value(const std::string& path, const std::string& name);
    // A text value's bytes without the terminating zero; fails the test for another type.
    std::string Text(const std::string& path, const std::string& name);
    std::uint32_t Dword(const std::string& path, const std::string& name);
    std::vector<std::uint8_t> Binary(const std::string& path, const std::string& name);

    // Every key from path down, depth first in enumeration order, each as "[relative path]" ("[]"
    // for path itself) followed by its values in creation order: name="text", name=dword:%08x or
    // name=hex:xx,xx,... (other types as type<n>:hex).
    std::vector<std::string> Dump(const std::string& path);

    void CreateKey(const std::string& path);
    void SetText(const std::string& path, const std::string& name, const std::string& text);
    void SetDword(const std::string& path, const std::string& name, std::uint32_t value);
    void DeleteTree(const std::string& path);

private:
    void DumpKey(const std::string& path, const std::string& relative,
                 std::vector<std::string>& lines);
    SHiveValue Typed(const std::string& path, const std::string& name, std::uint32_t type);

    CHive& m_hive;
};
