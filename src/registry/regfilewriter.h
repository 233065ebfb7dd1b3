#pragma once

#include "hive.h"

#include <cstddef>
#include <string>
#include <vector>

// Writes a subtree of a hive as a REGEDIT4 .reg file, byte for byte as the registry editor of
// the original platforms lays it out, so that the file reads there and back here unchanged:
// CRLF line ends, the header and a blank line, then every key (parent before its sub-keys,
// sub-keys in enumeration order) with its values in creation order and a blank line. Text is
// written as Latin-1 bytes; a text that holds a line break or a zero byte (or lacks its
// terminating zero) is written as hex(1) so nothing is lost.
//
// What the format (or the registry on the other side) cannot carry is left out and named: a
// key whose name is not text, is empty, is longer than 255 characters or holds a backslash, a
// line break or a zero (with its sub-keys), a key deeper than 512 levels, a value whose name
// holds a line break or a zero or is longer than 16,383 characters, a row that holds no
// registry value. Every other key and value is written. The cost is linear in the keys and
// values written.
class CRegFileWriter {
public:
    explicit CRegFileWriter(CHive& hive) : m_hive(hive) {}

    // Appends the file for the key at path (empty: HKEY_LOCAL_MACHINE itself; names in any case,
    // written as the keys were created) to out. Returns the status of the first hive read that
    // failed (ERROR_FILE_NOT_FOUND: no such key); out is then incomplete.
    Win32Status Write(const std::string& path, std::string& out);
    // What was left out, one entry each, printable: "<key or value>: <why>".
    const std::vector<std::string>& LeftOut() const { return m_leftOut; }

private:
    struct SPendingKey {
        HiveKeyId id = 0;
        std::string path;
        std::size_t depth = 0;
    };

    Win32Status FindStored(const std::string& path, SPendingKey& key);
    Win32Status FindLinked(const std::string& asked, const std::string& name, SPendingKey& key);
    static std::string Below(const std::string& path, const std::string& name);
    Win32Status WriteKey(const SPendingKey& key, std::vector<SPendingKey>& pending,
                         std::string& out);
    void PushSubKeys(const SPendingKey& key, const std::vector<SHiveSubKey>& subKeys,
                     std::vector<SPendingKey>& pending);
    void LeaveOut(const std::string& what, const char* why);
    static const char* KeyNameProblem(const SHiveSubKey& subKey);
    static const char* ValueNameProblem(const std::string& name);
    static std::string KeyLine(const std::string& path);
    static void WriteValue(const SHiveValue& value, std::string& out);
    static void WriteQuoted(const std::string& text, std::string& out);
    static void WriteHex(const std::vector<std::uint8_t>& data, std::size_t lineStart,
                         std::string& out);

    CHive& m_hive;
    std::vector<std::string> m_leftOut;
};
