#include "regfilewriter.h"

#include "hivepath.h"

#include <algorithm>
#include <cstdio>

static constexpr const char* kLineEnd = "\r\n";
// The registry editor breaks hex data once a line has reached this length.
static constexpr std::size_t kHexLineLength = 77;

// A text value that "text" form carries without loss: one terminating zero, no other zero and
// no line break.
static bool IsPlainText(const SHiveValue& value) {
    const auto& data = value.data;
    if (value.type != REG_SZ || data.empty() || data.back() != 0) {
        return false;
    }
    return std::none_of(data.begin(), data.end() - 1, [](std::uint8_t byte) {
        return byte == 0 || byte == '\r' || byte == '\n';
    });
}

static std::string HexNumber(const char* format, std::uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(number));
    return text;
}

Win32Status CRegFileWriter::Write(const std::string& path, std::string& out) {
    m_leftOut.clear();
    SPendingKey root;
    Win32Status status = FindStored(path, root);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    out += "REGEDIT4";
    out += kLineEnd;
    out += kLineEnd;
    // Depth first without recursion, so that a deep tree cannot exhaust the stack; each key is
    // reached by its id, and its path grows from its parent's.
    std::vector<SPendingKey> pending{std::move(root)};
    while (!pending.empty() && status == ERROR_SUCCESS) {
        const SPendingKey next = std::move(pending.back());
        pending.pop_back();
        status = WriteKey(next, pending, out);
    }
    return status;
}

// The key at path, with every name spelled as its key was created, whatever case the caller
// used, so that the file does not depend on how the subtree was asked for.
Win32Status CRegFileWriter::FindStored(const std::string& path, SPendingKey& key) {
    std::vector<std::string> names;
    Win32Status status = CHivePath::Split(path, names);
    key = {};
    std::string asked;
    std::vector<SHiveSubKey> subKeys;
    for (auto name = names.begin(); name != names.end() && status == ERROR_SUCCESS; ++name) {
        asked = asked.empty() ? *name : asked + "\\" + *name;
        status = m_hive.SubKeys(key.id, subKeys);
        const auto match = std::find_if(subKeys.begin(), subKeys.end(), [&](const auto& subKey) {
            return subKey.bText && CHivePath::Fold(subKey.name) == CHivePath::Fold(*name);
        });
        if (status == ERROR_SUCCESS && match == subKeys.end()) {
            status = FindLinked(asked, *name, key);
        } else if (status == ERROR_SUCCESS) {
            key = {match->id, Below(key.path, match->name), key.depth + 1};
        }
    }
    return status;
}

// A key reached through a link (CurrentControlSet in a Windows hive file) is no sub-key of its
// parent: it is found by its path and keeps the name it was asked by.
Win32Status CRegFileWriter::FindLinked(const std::string& asked, const std::string& name,
                                       SPendingKey& key) {
    HiveKeyId id = 0;
    const Win32Status status = m_hive.FindKey(asked, id);
    if (status == ERROR_SUCCESS) {
        key = {id, Below(key.path, name), key.depth + 1};
    }
    return status;
}

std::string CRegFileWriter::Below(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "\\" + name;
}

// Writes the key and pushes its sub-keys on pending so that the first one is popped first.
Win32Status CRegFileWriter::WriteKey(const SPendingKey& key, std::vector<SPendingKey>& pending,
                                     std::string& out) {
    std::vector<SHiveValue> values;
    std::vector<std::string> unreadable;
    std::vector<SHiveSubKey> subKeys;
    Win32Status status = m_hive.Values(key.id, values, &unreadable);
    if (status == ERROR_INVALID_DATA) {
        status = ERROR_SUCCESS;
    }
    if (status == ERROR_SUCCESS) {
        status = m_hive.SubKeys(key.id, subKeys);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    const std::string keyName = KeyLine(key.path);
    out += "[" + keyName + "]";
    out += kLineEnd;
    for (const std::string& name : unreadable) {
        LeaveOut("value \"" + name + "\" of " + keyName, "it holds no registry value");
    }
    for (const SHiveValue& value : values) {
        if (const char* problem = ValueNameProblem(value.name)) {
            LeaveOut("value \"" + value.name + "\" of " + keyName, problem);
        } else {
            WriteValue(value, out);
        }
    }
    out += kLineEnd;
    PushSubKeys(key, subKeys, pending);
    return ERROR_SUCCESS;
}

void CRegFileWriter::PushSubKeys(const SPendingKey& key, const std::vector<SHiveSubKey>& subKeys,
                                 std::vector<SPendingKey>& pending) {
    const std::size_t first = pending.size();
    for (const SHiveSubKey& subKey : subKeys) {
        std::string path = Below(key.path, subKey.name);
        const char* problem = KeyNameProblem(subKey);
        if (problem == nullptr && key.depth + 1 > CHivePath::kMaxDepth) {
            problem = "it lies deeper than 512 levels";
        }
        if (problem != nullptr) {
            LeaveOut(KeyLine(path), problem);
        } else {
            pending.push_back({subKey.id, std::move(path), key.depth + 1});
        }
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
}

void CRegFileWriter::LeaveOut(const std::string& what, const char* why) {
    m_leftOut.push_back(CHivePath::Printable(what) + ": " + why);
}

const char* CRegFileWriter::KeyNameProblem(const SHiveSubKey& subKey) {
    const std::string& name = subKey.name;
    if (!subKey.bText) {
        return "its name is not stored as text";
    }
    if (name.empty()) {
        return "its name is empty";
    }
    if (name.size() > CHivePath::kMaxKeyName) {
        return "its name is longer than 255 characters";
    }
    if (name.find('\\') != std::string::npos) {
        return "its name holds a backslash";
    }
    // A key line ends at the line end, and the reader refuses a zero in a name.
    if (name.find_first_of("\r\n") != std::string::npos) {
        return "its name holds a line break";
    }
    return name.find('\0') != std::string::npos ? "its name holds a zero character" : nullptr;
}

const char* CRegFileWriter::ValueNameProblem(const std::string& name) {
    if (name.size() > CHivePath::kMaxValueName) {
        return "its name is longer than 16383 characters";
    }
    if (name.find_first_of("\r\n") != std::string::npos) {
        return "its name holds a line break";
    }
    return name.find('\0') != std::string::npos ? "its name holds a zero character" : nullptr;
}

std::string CRegFileWriter::KeyLine(const std::string& path) {
    return path.empty() ? "HKEY_LOCAL_MACHINE" : "HKEY_LOCAL_MACHINE\\" + path;
}

void CRegFileWriter::WriteValue(const SHiveValue& value, std::string& out) {
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out += '@';
    } else {
        WriteQuoted(value.name, out);
    }
    out += '=';
    if (IsPlainText(value)) {
        WriteQuoted(std::string(value.data.begin(), value.data.end() - 1), out);
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 4; i-- > 0;) {
            number = number << 8 | value.data[i];
        }
        out += "dword:" + HexNumber("%08x", number);
    } else {
        out += value.type == REG_BINARY ? "hex:" : "hex(" + HexNumber("%x", value.type) + "):";
        WriteHex(value.data, lineStart, out);
    }
    out += kLineEnd;
}

void CRegFileWriter::WriteQuoted(const std::string& text, std::string& out) {
    out += '"';
    for (const char ch : text) {
        if (ch == '\\' || ch == '"') {
            out += '\\';
        }
        out += ch;
    }
    out += '"';
}

// After each "xx," that brings the line to kHexLineLength characters or more, the line goes on
// after '\', a line end and two blanks.
void CRegFileWriter::WriteHex(const std::vector<std::uint8_t>& data, std::size_t lineStart,
                              std::string& out) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 0x0F];
        if (i + 1 == data.size()) {
            break;
        }
        out += ',';
        if (out.size() - lineStart >= kHexLineLength) {
            out += "\\";
            out += kLineEnd;
            lineStart = out.size();
            out += "  ";
        }
    }
}
