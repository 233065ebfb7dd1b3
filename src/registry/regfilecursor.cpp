#include "regfilecursor.h"

static bool IsLineBreak(char32_t ch) {
    return ch == U'\r' || ch == U'\n';
}

static char32_t FoldAscii(char32_t ch) {
    return ch >= U'A' && ch <= U'Z' ? ch + (U'a' - U'A') : ch;
}

CRegFileCursor::CRegFileCursor(std::span<const std::uint8_t> text, ERegFileEncoding encoding)
    : m_text(text), m_encoding(encoding) {}

char32_t CRegFileCursor::CharAt(std::size_t at, std::size_t& length) const {
    return CRegFileDecoder::CharAt(m_text, m_encoding, at, length);
}

void CRegFileCursor::Decode() {
    m_current = m_nPos < m_nLineEnd ? CharAt(m_nPos, m_nCurrentLength) : kLineEnd;
}

bool CRegFileCursor::NextLine() {
    std::size_t start = 0;
    if (m_nLine > 0) {
        start = m_nLineEnd + m_nBreakLength;
        if (m_nLineEnd >= m_text.size() || start >= m_text.size()) {
            return false;
        }
    }
    std::size_t end = start;
    std::size_t length = 0;
    char32_t ch = 0;
    while (end < m_text.size() && !IsLineBreak(ch = CharAt(end, length))) {
        end += length;
    }
    m_nBreakLength = 0;
    if (end < m_text.size()) {
        m_nBreakLength = length;
        std::size_t nextLength = 0;
        const bool crlf = ch == U'\r' && end + length < m_text.size() &&
                          CharAt(end + length, nextLength) == U'\n';
        m_nBreakLength += crlf ? nextLength : 0;
    }
    m_nPos = start;
    m_nLineEnd = end;
    ++m_nLine;
    Decode();
    return true;
}

void CRegFileCursor::Advance() {
    if (m_nPos < m_nLineEnd) {
        m_nPos += m_nCurrentLength;
        Decode();
    }
}

bool CRegFileCursor::Accept(char32_t ch) {
    if (Peek() != ch) {
        return false;
    }
    Advance();
    return true;
}

bool CRegFileCursor::AcceptWord(std::string_view word, bool ignoreCase) {
    const auto fold = [ignoreCase](char32_t ch) { return ignoreCase ? FoldAscii(ch) : ch; };
    std::size_t at = m_nPos;
    for (const char expected : word) {
        std::size_t length = 0;
        if (at >= m_nLineEnd ||
            fold(CharAt(at, length)) != fold(static_cast<unsigned char>(expected))) {
            return false;
        }
        at += length;
    }
    m_nPos = at;
    Decode();
    return true;
}

void CRegFileCursor::SkipBlanks() {
    while (Peek() == U' ' || Peek() == U'\t') {
        Advance();
    }
}

bool CRegFileCursor::AtEndOrComment() {
    SkipBlanks();
    return Peek() == kLineEnd || Peek() == U';';
}

std::size_t CRegFileCursor::CountToLast(char32_t ch) const {
    std::size_t count = 0;
    std::size_t found = std::u32string::npos;
    for (std::size_t at = m_nPos, length = 0; at < m_nLineEnd; at += length, ++count) {
        if (CharAt(at, length) == ch) {
            found = count;
        }
    }
    return found;
}

std::u32string CRegFileCursor::Take(std::size_t count) {
    std::u32string taken;
    for (; count > 0 && Peek() != kLineEnd; --count) {
        taken.push_back(Peek());
        Advance();
    }
    return taken;
}
