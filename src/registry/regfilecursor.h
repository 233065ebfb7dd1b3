#pragma once

#include "regfiledecoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Walks the text of a .reg file line by line (line breaks are CRLF, LF or a lone CR) and
// character by character within the current line, decoding as it goes; it never reads past the
// current line, so a parser cannot run on into the next statement by accident. Keeps a
// reference to the bytes.
class CRegFileCursor {
public:
    // What Peek() returns at the end of the line; not a character.
    static constexpr char32_t kLineEnd = 0xFFFFFFFF;

    // text and encoding as CRegFileDecoder::Detect gave them.
    CRegFileCursor(std::span<const std::uint8_t> text, ERegFileEncoding encoding);

    // Moves to the start of the next line (the first line on the first call); false when there
    // is none. A line break at the very end of the text does not begin another line.
    bool NextLine();
    // 1-based; 0 before the first NextLine().
    std::size_t LineNumber() const { return m_nLine; }

    char32_t Peek() const { return m_nPos < m_nLineEnd ? m_current : kLineEnd; }
    void Advance();
    bool Accept(char32_t ch);
    // Consumes word when the line goes on with it; ignoreCase: ASCII letters in any case.
    bool AcceptWord(std::string_view word, bool ignoreCase);
    void SkipBlanks();
    // Skips blanks; true when the line ends there or a ';' comment begins.
    bool AtEndOrComment();
    // How many characters lie between here and the last ch on the line; npos when none does.
    std::size_t CountToLast(char32_t ch) const;
    // The next count characters (no more than the line holds), consumed.
    std::u32string Take(std::size_t count);

private:
    char32_t CharAt(std::size_t at, std::size_t& length) const;
    void Decode();

    std::span<const std::uint8_t> m_text;
    ERegFileEncoding m_encoding;
    std::size_t m_nLine = 0;
    // Byte offsets: the current character, the end of the line, the line break after it.
    std::size_t m_nPos = 0;
    std::size_t m_nLineEnd = 0;
    std::size_t m_nBreakLength = 0;
    char32_t m_current = 0;
    std::size_t m_nCurrentLength = 0;
};
