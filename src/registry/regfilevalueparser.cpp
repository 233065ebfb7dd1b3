#include "regfilevalueparser.h"

#include "hive.h"
#include "hivepath.h"

#include <cstdio>

static int HexDigitValue(char32_t ch) {
    if (ch >= U'0' && ch <= U'9') {
        return static_cast<int>(ch - U'0');
    }
    if (ch >= U'a' && ch <= U'f') {
        return static_cast<int>(ch - U'a' + 10);
    }
    if (ch >= U'A' && ch <= U'F') {
        return static_cast<int>(ch - U'A' + 10);
    }
    return -1;
}

// Reads every hex digit at the cursor and returns how many there were; value holds the number
// the last eight of them make.
static std::size_t ReadHexDigits(CRegFileCursor& in, std::uint32_t& value) {
    value = 0;
    std::size_t count = 0;
    for (int digit = HexDigitValue(in.Peek()); digit >= 0; digit = HexDigitValue(in.Peek())) {
        value = (value << 4) | static_cast<std::uint32_t>(digit);
        ++count;
        in.Advance();
    }
    return count;
}

static std::string NotLatin1(char32_t ch, const char* where) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    return std::string("character ") + code + where +
           " cannot be stored: the registry holds Latin-1 text only";
}

static bool IsTextType(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

bool CRegFileValueParser::AppendLatin1(std::u32string_view text, std::string& out,
                                       std::string& reason) {
    for (const char32_t ch : text) {
        if (ch > 0xFF) {
            reason = NotLatin1(ch, "");
            return false;
        }
        out.push_back(static_cast<char>(ch));
    }
    return true;
}

bool CRegFileValueParser::Parse(CRegFileCursor& in, SRegFileOperation& op) {
    if (!ParseName(in, op.valueName)) {
        return false;
    }
    in.SkipBlanks();
    if (!in.Accept(U'=')) {
        return Fail("'=' expected after the value name");
    }
    in.SkipBlanks();
    return ParseData(in, op);
}

bool CRegFileValueParser::ParseName(CRegFileCursor& in, std::string& name) {
    name.clear();
    if (in.Accept(U'@')) {
        return true;
    }
    if (!ParseQuoted(in, name)) {
        return false;
    }
    if (name.size() > CHivePath::kMaxValueName) {
        return Fail("a value name is longer than 16383 characters");
    }
    return name.find('\0') == std::string::npos ||
           Fail("a value name cannot hold a zero character");
}

// Only \" and \\ are escapes; a backslash before anything else stands for itself. The text
// goes straight into Latin-1 bytes: a long value is not held once more as characters.
bool CRegFileValueParser::ParseQuoted(CRegFileCursor& in, std::string& text) {
    in.Accept(U'"');
    for (char32_t ch = in.Peek(); ch != U'"'; ch = in.Peek()) {
        if (ch == CRegFileCursor::kLineEnd) {
            return Fail("closing '\"' missing on this line");
        }
        in.Advance();
        if (ch == U'\\' && (in.Peek() == U'"' || in.Peek() == U'\\')) {
            ch = in.Peek();
            in.Advance();
        }
        if (ch > 0xFF) {
            return Fail(NotLatin1(ch, ""));
        }
        text.push_back(static_cast<char>(ch));
    }
    in.Advance();
    return true;
}

bool CRegFileValueParser::ParseData(CRegFileCursor& in, SRegFileOperation& op) {
    if (in.Accept(U'-')) {
        op.op = ERegFileOp::DeleteValue;
        return ExpectEnd(in);
    }
    op.op = ERegFileOp::SetValue;
    if (in.Peek() == U'"') {
        return ParseText(in, op);
    }
    if (in.AcceptWord("dword:", true)) {
        return ParseDword(in, op);
    }
    if (in.AcceptWord("hex", true)) {
        return ParseHex(in, op);
    }
    return Fail("unknown value type (expected \"text\", dword:, hex:, hex(N): or -)");
}

bool CRegFileValueParser::ParseText(CRegFileCursor& in, SRegFileOperation& op) {
    std::string text;
    if (!ParseQuoted(in, text)) {
        return false;
    }
    op.type = REG_SZ;
    op.data.assign(text.begin(), text.end());
    op.data.push_back(0);
    return ExpectEnd(in);
}

bool CRegFileValueParser::ParseDword(CRegFileCursor& in, SRegFileOperation& op) {
    std::uint32_t value = 0;
    const std::size_t digits = ReadHexDigits(in, value);
    if (digits == 0 || digits > 8 || !in.AtEndOrComment()) {
        return Fail("dword: takes one to eight hex digits");
    }
    op.type = REG_DWORD;
    op.data = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return true;
}

bool CRegFileValueParser::ParseHex(CRegFileCursor& in, SRegFileOperation& op) {
    op.type = REG_BINARY;
    if (!ParseHexType(in, op.type) || !ParseHexBytes(in, op.data)) {
        return false;
    }
    if (!IsTextType(op.type)) {
        return true;
    }
    if (m_bVersion5 && !Utf16ToLatin1(op.data)) {
        return false;
    }
    if (op.data.empty() || op.data.back() != 0) {
        op.data.push_back(0);
    }
    return true;
}

bool CRegFileValueParser::ParseHexType(CRegFileCursor& in, std::uint32_t& type) {
    if (in.Accept(U'(')) {
        const std::size_t digits = ReadHexDigits(in, type);
        if (digits == 0 || digits > 8 || !in.Accept(U')')) {
            return Fail("hex(N): N takes one to eight hex digits");
        }
    }
    return in.Accept(U':') || Fail("':' expected after the hex type");
}

bool CRegFileValueParser::ParseHexBytes(CRegFileCursor& in, std::vector<std::uint8_t>& data) {
    data.clear();
    if (in.AtEndOrComment()) {
        return true;
    }
    for (;;) {
        in.SkipBlanks();
        if (!ParseHexByte(in, data)) {
            return false;
        }
        in.SkipBlanks();
        if (!in.Accept(U',')) {
            return in.AtEndOrComment() || Fail("',' expected between hex bytes");
        }
        in.SkipBlanks();
        if (in.Accept(U'\\') && !NextContinuationLine(in)) {
            return false;
        }
    }
}

bool CRegFileValueParser::ParseHexByte(CRegFileCursor& in, std::vector<std::uint8_t>& data) {
    std::uint32_t value = 0;
    const std::size_t digits = ReadHexDigits(in, value);
    if (digits == 0 || digits > 2) {
        return Fail("hex byte (00 to ff) expected");
    }
    data.push_back(static_cast<std::uint8_t>(value));
    return true;
}

bool CRegFileValueParser::NextContinuationLine(CRegFileCursor& in) {
    if (!in.AtEndOrComment()) {
        return Fail("line end expected after '\\'");
    }
    while (in.NextLine()) {
        if (!in.AtEndOrComment()) {
            return true;
        }
    }
    return Fail("the hex data goes on past the end of the file");
}

bool CRegFileValueParser::Utf16ToLatin1(std::vector<std::uint8_t>& data) {
    if (data.size() % 2 != 0) {
        return Fail("text in hex data must be UTF-16: the byte count is odd");
    }
    for (std::size_t i = 0; i < data.size(); i += 2) {
        if (data[i + 1] != 0) {
            return Fail(NotLatin1(data[i] | (data[i + 1] << 8), " in hex data"));
        }
        data[i / 2] = data[i];
    }
    data.resize(data.size() / 2);
    return true;
}

bool CRegFileValueParser::ExpectEnd(CRegFileCursor& in) {
    return in.AtEndOrComment() || Fail("unexpected text after the value");
}

bool CRegFileValueParser::Fail(std::string reason) {
    m_reason = std::move(reason);
    return false;
}
