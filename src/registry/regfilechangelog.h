#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What an import changed, in the order it changed it, for the person who runs it: keys added
// and deleted, values set (to something they did not hold) and deleted. Paths are relative to
// HKEY_LOCAL_MACHINE.
class CRegFileChangeLog {
public:
    void KeyAdded(const std::string& path);
    void KeyDeleted(const std::string& path);
    void ValueSet(const std::string& keyPath, const std::string& name);
    void ValueDeleted(const std::string& keyPath, const std::string& name);
    void Clear();

    // One printable line per change, then the totals ("no changes" when there are none).
    std::vector<std::string> Lines() const;

private:
    enum EKind { kKeyAdded, kKeyDeleted, kValueSet, kValueDeleted, kKinds };
    void Add(EKind kind, std::string line);
    static std::string Key(const std::string& path);
    static std::string Value(const std::string& keyPath, const std::string& name);

    std::vector<std::string> m_lines;
    std::size_t m_counts[kKinds] = {};
};
