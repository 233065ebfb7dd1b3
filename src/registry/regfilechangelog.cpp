#include "regfilechangelog.h"

#include "hivepath.h"

namespace {
std::string Count(std::size_t count, const char* what, const char* done) {
    return std::to_string(count) + " " + what + (count == 1 ? " " : "s ") + done;
}
} // namespace

void CRegFileChangeLog::KeyAdded(const std::string& path) {
    Add(kKeyAdded, "added key " + Key(path));
}

void CRegFileChangeLog::KeyDeleted(const std::string& path) {
    Add(kKeyDeleted, "deleted key " + Key(path) + " with its sub-keys");
}

void CRegFileChangeLog::ValueSet(const std::string& keyPath, const std::string& name) {
    Add(kValueSet, "set " + Value(keyPath, name));
}

void CRegFileChangeLog::ValueDeleted(const std::string& keyPath, const std::string& name) {
    Add(kValueDeleted, "deleted " + Value(keyPath, name));
}

void CRegFileChangeLog::Clear() {
    m_lines.clear();
    for (std::size_t& count : m_counts) {
        count = 0;
    }
}

std::vector<std::string> CRegFileChangeLog::Lines() const {
    std::vector<std::string> lines = m_lines;
    if (lines.empty()) {
        lines.push_back("no changes");
    } else {
        lines.push_back(Count(m_counts[kKeyAdded], "key", "added") + ", " +
                        Count(m_counts[kKeyDeleted], "key", "deleted") + ", " +
                        Count(m_counts[kValueSet], "value", "set") + ", " +
                        Count(m_counts[kValueDeleted], "value", "deleted"));
    }
    return lines;
}

void CRegFileChangeLog::Add(EKind kind, std::string line) {
    ++m_counts[kind];
    m_lines.push_back(CHivePath::Printable(line));
}

std::string CRegFileChangeLog::Key(const std::string& path) {
    return path.empty() ? "HKEY_LOCAL_MACHINE" : "HKEY_LOCAL_MACHINE\\" + path;
}

std::string CRegFileChangeLog::Value(const std::string& keyPath, const std::string& name) {
    return (name.empty() ? std::string("the default value") : "value \"" + name + "\"") + " of " +
           Key(keyPath);
}
