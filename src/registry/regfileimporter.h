#pragma once

#include "hive.h"
#include "regfilechangelog.h"
#include "regfileoperation.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Imports a .reg file into a hive, all or nothing: the whole file is parsed first, then every
// change is applied inside one CHiveBatch; if any of them fails the batch is rolled back, so the
// hive is never left half changed. Deleting a key or value that does not exist is no failure.
class CRegFileImporter {
public:
    explicit CRegFileImporter(CHive& hive) : m_hive(hive) {}

    // fileName only appears in messages. False with Error() "<file>:<line>: <what is wrong>"
    // (or "<file>: <what is wrong>" when the commit itself fails, after "Unable to write to
    // registry" when this import is the whole user action).
    bool Import(const std::string& fileName, std::span<const std::uint8_t> bytes);
    bool Apply(const std::string& fileName, const std::vector<SRegFileOperation>& operations);
    const std::string& Error() const { return m_error; }
    // What the last import changed (also when it was rolled back afterwards).
    const CRegFileChangeLog& Changes() const { return m_changes; }

private:
    Win32Status ApplyOne(const SRegFileOperation& operation, HiveKeyId& key);
    Win32Status CreateKey(const std::string& path, HiveKeyId& key);
    Win32Status DeleteKey(const std::string& path);
    Win32Status SetValue(const SRegFileOperation& operation, HiveKeyId key);
    Win32Status DeleteValue(const SRegFileOperation& operation, HiveKeyId key);
    static std::string Describe(const SRegFileOperation& operation);

    CHive& m_hive;
    std::string m_error;
    CRegFileChangeLog m_changes;
};
