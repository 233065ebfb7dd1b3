#pragma once

#include "regfilecursor.h"
#include "regfileoperation.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads one value statement of a .reg file: `"name"=data` or `@=data`, where data is `-`
// (delete the value), `"text"`, `dword:` with one to eight hex digits, or `hex:`/`hex(N):`
// with comma-separated bytes that go on over the following lines after a `,\` (blank and `;`
// lines in between are skipped). Text is kept as Latin-1; a character above U+00FF is refused.
// In a version-5 file hex(1), hex(2) and hex(7) data are UTF-16LE and become Latin-1 bytes.
// hex(1), hex(2) and hex(7) data always end in a zero, as text read from `"text"` does.
class CRegFileValueParser {
public:
    explicit CRegFileValueParser(bool version5) : m_bVersion5(version5) {}

    // The cursor stands on the statement's `"` or `@`. Fills op's op (SetValue or DeleteValue),
    // valueName, type and data. On success the cursor is on the statement's last line; on
    // failure it is on the offending line and Reason() says what is wrong.
    bool Parse(CRegFileCursor& in, SRegFileOperation& op);
    const std::string& Reason() const { return m_reason; }

    // Appends text as Latin-1 bytes; false (with reason) at a character above U+00FF.
    static bool AppendLatin1(std::u32string_view text, std::string& out, std::string& reason);

private:
    bool ParseName(CRegFileCursor& in, std::string& name);
    bool ParseQuoted(CRegFileCursor& in, std::string& text);
    bool ParseData(CRegFileCursor& in, SRegFileOperation& op);
    bool ParseText(CRegFileCursor& in, SRegFileOperation& op);
    bool ParseDword(CRegFileCursor& in, SRegFileOperation& op);
    bool ParseHex(CRegFileCursor& in, SRegFileOperation& op);
    bool ParseHexType(CRegFileCursor& in, std::uint32_t& type);
    bool ParseHexBytes(CRegFileCursor& in, std::vector<std::uint8_t>& data);
    bool ParseHexByte(CRegFileCursor& in, std::vector<std::uint8_t>& data);
    bool NextContinuationLine(CRegFileCursor& in);
    bool Utf16ToLatin1(std::vector<std::uint8_t>& data);
    bool ExpectEnd(CRegFileCursor& in);
    bool Fail(std::string reason);

    bool m_bVersion5;
    std::string m_reason;
};
