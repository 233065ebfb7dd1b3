#include "regfilecursor.h"

static bool IsLineBreak(char32_t ch) {
    return ch == U'\r' || ch == U'\n';
}

static char32_t FoldAscii(char32_t ch) {
    return ch >= U'A' && ch <= U'Z' ? ch + (U'a' - U'A') : ch;
}

bool CRegFileCursor::NextLine() {
    std::size_t start = 0;
    if (m_nLine > 0) {
        if (m_nLineEnd >= m_text.size()) {
            return false;
        }
        const bool crlf = m_text[m_nLineEnd] == U'\r' && m_nLineEnd + 1 < m_text.size() &&
                          m_text[m_nLineEnd + 1] == U'\n';
        start = m_nLineEnd + (crlf ? 2 : 1);
        if (start >= m_text.size()) {
            return false;
        }
    }
    std::size_t end = start;
    while (end < m_text.size() && !IsLineBreak(m_text[end])) {
        ++end;
    }
    m_nPos = start;
    m_nLineEnd = end;
    ++m_nLine;
    return true;
}

void CRegFileCursor::Advance() {
    if (m_nPos < m_nLineEnd) {
        ++m_nPos;
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
    if (m_nLineEnd - m_nPos < word.size()) {
        return false;
    }
    const auto fold = [ignoreCase](char32_t ch) { return ignoreCase ? FoldAscii(ch) : ch; };
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (fold(m_text[m_nPos + i]) != fold(static_cast<unsigned char>(word[i]))) {
            return false;
        }
    }
    m_nPos += word.size();
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

std::u32string_view CRegFileCursor::Rest() const {
    return std::u32string_view(m_text).substr(m_nPos, m_nLineEnd - m_nPos);
}
