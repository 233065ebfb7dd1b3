#pragma once

#include "hive.h"

#include <cstddef>
#include <string>

// Writes a subtree of a hive as a REGEDIT4 .reg file, byte for byte as the registry editor of
// the original platforms lays it out, so that the file reads there and back here unchanged:
// CRLF line ends, the header and a blank line, then every key (parent before its sub-keys,
// sub-keys in enumeration order) with its values in creation order and a blank line. Text is
// written as Latin-1 bytes; a text that holds a line break or a zero byte (or lacks its
// terminating zero) is written as hex(1) so nothing is lost.
class CRegFileWriter {
public:
    explicit CRegFileWriter(CHive& hive) : m_hive(hive) {}

    // Appends the file for the key at path (empty: HKEY_LOCAL_MACHINE itself; names in any case,
    // written as the keys were created) to out. Returns
    // the status of the first hive read that failed (ERROR_FILE_NOT_FOUND: no such key); out is
    // then incomplete.
    Win32Status Write(const std::string& path, std::string& out);

private:
    Win32Status StoredPath(const std::string& path, std::string& stored);
    Win32Status WriteKey(const std::string& path, std::vector<std::string>& pending,
                         std::string& out);
    static void WriteValue(const SHiveValue& value, std::string& out);
    static void WriteQuoted(const std::string& text, std::string& out);
    static void WriteHex(const std::vector<std::uint8_t>& data, std::size_t lineStart,
                         std::string& out);

    CHive& m_hive;
};
