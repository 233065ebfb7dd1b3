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
    std::string stored;
    Win32Status status = StoredPath(path, stored);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    out += "REGEDIT4";
    out += kLineEnd;
    out += kLineEnd;
    // Depth first without recursion, so that a deep tree cannot exhaust the stack.
    std::vector<std::string> pending{stored};
    while (!pending.empty() && status == ERROR_SUCCESS) {
        const std::string next = std::move(pending.back());
        pending.pop_back();
        status = WriteKey(next, pending, out);
    }
    return status;
}

// The path with every name spelled as its key was created, whatever case the caller used, so
// that the file does not depend on how the subtree was asked for.
Win32Status CRegFileWriter::StoredPath(const std::string& path, std::string& stored) {
    std::vector<std::string> names;
    Win32Status status = CHivePath::Split(path, names);
    stored.clear();
    for (auto name = names.begin(); name != names.end() && status == ERROR_SUCCESS; ++name) {
        HiveKeyId parent = 0;
        std::vector<std::string> subKeys;
        status = m_hive.FindKey(stored, parent);
        if (status == ERROR_SUCCESS) {
            status = m_hive.SubKeyNames(parent, subKeys);
        }
        const auto match = std::find_if(subKeys.begin(), subKeys.end(), [&](const auto& subKey) {
            return CHivePath::Fold(subKey) == CHivePath::Fold(*name);
        });
        if (match == subKeys.end()) {
            return status == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : status;
        }
        stored += (stored.empty() ? "" : "\\") + *match;
    }
    return status;
}

// Writes the key and pushes its sub-keys on pending so that the first one is popped first.
Win32Status CRegFileWriter::WriteKey(const std::string& path, std::vector<std::string>& pending,
                                     std::string& out) {
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    std::vector<std::string> names;
    Win32Status status = m_hive.FindKey(path, key);
    if (status == ERROR_SUCCESS) {
        status = m_hive.Values(key, values);
    }
    if (status == ERROR_SUCCESS) {
        status = m_hive.SubKeyNames(key, names);
    }
    if (status != ERROR_SUCCESS) {
        return status;
    }
    out += path.empty() ? "[HKEY_LOCAL_MACHINE]" : "[HKEY_LOCAL_MACHINE\\" + path + "]";
    out += kLineEnd;
    for (const SHiveValue& value : values) {
        WriteValue(value, out);
    }
    out += kLineEnd;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        pending.push_back(path.empty() ? *name : path + "\\" + *name);
    }
    return ERROR_SUCCESS;
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
