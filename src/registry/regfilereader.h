#pragma once

#include "regfilecursor.h"
#include "regfileoperation.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Parses a whole .reg file (REGEDIT4 or "Windows Registry Editor Version 5.00") into the list
// of changes it asks for, without touching any hive, so that nothing is applied from a file
// that turns out to be malformed further down.
//
// Keys must lie under HKEY_LOCAL_MACHINE, spelled in full, and keep to the registry's limits:
// 512 levels, key names of up to 255 characters, value names of up to 16,383. Text after the last
// ']' of a key line is ignored. The values after a `[-key]` line are checked but not applied. A
// line whose first non-blank character is none of '[', '"', '@' is a comment.
class CRegFileReader {
public:
    // fileName only appears in messages.
    explicit CRegFileReader(std::string fileName) : m_fileName(std::move(fileName)) {}

    // False at the first malformed line, with Error() "<file>:<line>: <what is wrong>"; the
    // operations read so far must then not be applied.
    bool Read(std::span<const std::uint8_t> bytes);
    const std::vector<SRegFileOperation>& Operations() const { return m_operations; }
    const std::string& Error() const { return m_error; }

private:
    enum class EKeyState { None, Open, Deleted };

    bool ReadHeader(CRegFileCursor& in);
    bool ReadStatement(CRegFileCursor& in);
    bool ReadKeyLine(CRegFileCursor& in);
    bool ReadKeyPath(std::size_t line, std::u32string_view name, std::string& path);
    bool CheckLimits(std::size_t line, const std::string& path);
    bool ReadValueLine(CRegFileCursor& in);
    bool Fail(std::size_t line, const std::string& reason);

    std::string m_fileName;
    std::vector<SRegFileOperation> m_operations;
    std::string m_error;
    bool m_bVersion5 = false;
    EKeyState m_keyState = EKeyState::None;
    std::string m_keyPath;
};
