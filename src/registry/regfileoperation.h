#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ERegFileOp { DeleteKeyTree, CreateKey, SetValue, DeleteValue };

// One change a .reg file asks for, in file order. Key paths are relative to HKEY_LOCAL_MACHINE
// (empty: the root itself); names and text are Latin-1 bytes. Value operations act on the key of
// the CreateKey operation before them. line is where the statement begins, for messages.
struct SRegFileOperation {
    ERegFileOp op = ERegFileOp::CreateKey;
    std::size_t line = 0;
    std::string keyPath;
    std::string valueName;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const SRegFileOperation&) const = default;
};
