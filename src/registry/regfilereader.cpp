#include "regfilereader.h"

#include "hivepath.h"
#include "regfiledecoder.h"
#include "regfilevalueparser.h"

#include <algorithm>

static constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE";

bool CRegFileReader::Read(std::span<const std::uint8_t> bytes) {
    m_operations.clear();
    m_error.clear();
    m_keyState = EKeyState::None;
    ERegFileEncoding encoding = ERegFileEncoding::Latin1;
    std::span<const std::uint8_t> text;
    std::size_t errorLine = 0;
    std::string reason;
    if (!CRegFileDecoder::Detect(bytes, encoding, text, errorLine, reason)) {
        return Fail(errorLine, reason);
    }
    CRegFileCursor in(text, encoding);
    if (!ReadHeader(in)) {
        return false;
    }
    while (in.NextLine()) {
        if (!ReadStatement(in)) {
            return false;
        }
    }
    return true;
}

bool CRegFileReader::ReadHeader(CRegFileCursor& in) {
    in.NextLine();
    in.SkipBlanks();
    const bool regedit4 = in.AcceptWord(CRegFileDecoder::kRegedit4Header, false);
    m_bVersion5 = !regedit4 && in.AcceptWord(CRegFileDecoder::kVersion5Header, false);
    in.SkipBlanks();
    if (!(regedit4 || m_bVersion5) || in.Peek() != CRegFileCursor::kLineEnd) {
        return Fail(1, "not a registry file: the first line must be \"REGEDIT4\" or \"" +
                           std::string(CRegFileDecoder::kVersion5Header) + "\"");
    }
    return true;
}

bool CRegFileReader::ReadStatement(CRegFileCursor& in) {
    in.SkipBlanks();
    switch (in.Peek()) {
    case U'[':
        return ReadKeyLine(in);
    case U'"':
    case U'@':
        return ReadValueLine(in);
    default:
        return true;
    }
}

bool CRegFileReader::ReadKeyLine(CRegFileCursor& in) {
    in.Accept(U'[');
    const bool deletion = in.Accept(U'-');
    if (in.Peek() == U' ' || in.Peek() == U'\t') {
        return Fail(in.LineNumber(), "the key name must follow '[' directly");
    }
    const std::size_t length = in.CountToLast(U']');
    if (length == std::u32string::npos) {
        return Fail(in.LineNumber(), "']' missing at the end of the key name");
    }
    // Longer than any path within the limits, and kept out of memory.
    if (length > kRootName.size() + CHivePath::kMaxDepth * (CHivePath::kMaxKeyName + 1)) {
        return Fail(in.LineNumber(), "the key path is deeper than 512 levels");
    }
    SRegFileOperation op;
    op.op = deletion ? ERegFileOp::DeleteKeyTree : ERegFileOp::CreateKey;
    op.line = in.LineNumber();
    if (!ReadKeyPath(op.line, in.Take(length), op.keyPath)) {
        return false;
    }
    if (deletion && op.keyPath.empty()) {
        return Fail(op.line, "HKEY_LOCAL_MACHINE itself cannot be deleted");
    }
    m_keyState = deletion ? EKeyState::Deleted : EKeyState::Open;
    m_keyPath = op.keyPath;
    m_operations.push_back(std::move(op));
    return true;
}

// name is what stands between the brackets (after a '-'): HKEY_LOCAL_MACHINE, then optionally
// '\' and the path below it.
bool CRegFileReader::ReadKeyPath(std::size_t line, std::u32string_view name, std::string& path) {
    const auto sameLetter = [](char32_t ch, char root) {
        return (ch >= U'a' && ch <= U'z' ? ch - (U'a' - U'A') : ch) == static_cast<char32_t>(root);
    };
    const bool underRoot =
        name.size() >= kRootName.size() &&
        std::equal(kRootName.begin(), kRootName.end(), name.begin(),
                   [&](char root, char32_t ch) { return sameLetter(ch, root); }) &&
        (name.size() == kRootName.size() || name[kRootName.size()] == U'\\');
    if (!underRoot) {
        std::string shown;
        std::string ignored;
        CRegFileValueParser::AppendLatin1(name, shown, ignored);
        return Fail(line,
                    "only keys under HKEY_LOCAL_MACHINE can be imported, not \"" + shown + "\"");
    }
    if (name.size() == kRootName.size()) {
        return true;
    }
    std::string reason;
    if (!CRegFileValueParser::AppendLatin1(name.substr(kRootName.size() + 1), path, reason)) {
        return Fail(line, reason);
    }
    const bool emptyName = path.empty() || path.front() == '\\' || path.back() == '\\' ||
                           path.find("\\\\") != std::string::npos;
    if (emptyName || path.find('\0') != std::string::npos) {
        return Fail(line, "a key name in the path is empty or holds a zero character");
    }
    return CheckLimits(line, path);
}

// The registry's own limits: a file that passes them imports here and on the other side.
bool CRegFileReader::CheckLimits(std::size_t line, const std::string& path) {
    std::size_t depth = 1;
    std::size_t nameLength = 0;
    for (const char ch : path) {
        nameLength = ch == '\\' ? 0 : nameLength + 1;
        depth += ch == '\\' ? 1 : 0;
        if (nameLength > CHivePath::kMaxKeyName) {
            return Fail(line, "a key name is longer than 255 characters");
        }
    }
    return depth <= CHivePath::kMaxDepth || Fail(line, "the key path is deeper than 512 levels");
}

bool CRegFileReader::ReadValueLine(CRegFileCursor& in) {
    if (m_keyState == EKeyState::None) {
        return Fail(in.LineNumber(), "a value before the first key");
    }
    SRegFileOperation op;
    op.line = in.LineNumber();
    op.keyPath = m_keyPath;
    CRegFileValueParser parser(m_bVersion5);
    if (!parser.Parse(in, op)) {
        return Fail(in.LineNumber(), parser.Reason());
    }
    if (m_keyState == EKeyState::Open) {
        m_operations.push_back(std::move(op));
    }
    return true;
}

// The names in a message come from the file: its control characters must not reach a terminal.
bool CRegFileReader::Fail(std::size_t line, const std::string& reason) {
    m_error = CHivePath::Printable(m_fileName, true) + ":" + std::to_string(line) + ": " +
              CHivePath::Printable(reason);
    return false;
}
