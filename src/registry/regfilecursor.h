#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Walks the decoded text of a .reg file line by line (line breaks are CRLF, LF or a lone CR) and
// character by character within the current line; it never reads past the current line, so a
// parser cannot run on into the next statement by accident. Keeps a reference to the text.
class CRegFileCursor {
public:
    // What Peek() returns at the end of the line; not a character.
    static constexpr char32_t kLineEnd = 0xFFFFFFFF;

    explicit CRegFileCursor(const std::u32string& text) : m_text(text) {}

    // Moves to the start of the next line (the first line on the first call); false when there
    // is none. A line break at the very end of the text does not begin another line.
    bool NextLine();
    // 1-based; 0 before the first NextLine().
    std::size_t LineNumber() const { return m_nLine; }

    char32_t Peek() const { return m_nPos < m_nLineEnd ? m_text[m_nPos] : kLineEnd; }
    void Advance();
    bool Accept(char32_t ch);
    // Consumes word when the line goes on with it; ignoreCase: ASCII letters in any case.
    bool AcceptWord(std::string_view word, bool ignoreCase);
    void SkipBlanks();
    // Skips blanks; true when the line ends there or a ';' comment begins.
    bool AtEndOrComment();
    // The rest of the current line.
    std::u32string_view Rest() const;

private:
    const std::u32string& m_text;
    std::size_t m_nLine = 0;
    std::size_t m_nPos = 0;
    std::size_t m_nLineEnd = 0;
};
