#pragma once

#include <optional>
#include <string>

// The formats the check accepts for the driver key's texts, and how a value is quoted in a
// finding's sentence.
class CValueFormats {
public:
    // "0x" and 1 to 4 hexadecimal digits (either case): the address the registration gives the
    // system, which reads only the last three digits. No value for anything else.
    static std::optional<unsigned> Address(const std::string& text);
    // A decimal 0 to 15 of one or two digits.
    static std::optional<unsigned> Irq(const std::string& text);
    // "COM" (any case) and a decimal 1 to 256 without leading zeros: the number.
    static std::optional<unsigned> ComNumber(const std::string& text);
    // "NONE" without regard to case.
    static bool IsNone(const std::string& text);
    // The text in double quotes, control characters shown as '?' and a long text cut short, so
    // that a hostile value cannot flood or garble the sentence.
    static std::string Quoted(const std::string& text);
    // "0x" and lower-case hexadecimal digits, at least three ("0x2d0", "0x008").
    static std::string Hex(unsigned number);
};
