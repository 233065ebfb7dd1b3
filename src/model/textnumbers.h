#pragma once

#include <string>

// The small text-to-number helpers of the document. They never validate: every text gives a
// number. Arithmetic wraps modulo 2^32 instead of overflowing, so hostile registry texts give a
// defined (if meaningless) result.

// 1 when exponent <= 0, else base multiplied by itself exponent times.
int IntPower(int base, int exponent);

// Reads the characters from last to first with positions from 0: '0' to '9' count their digit,
// any other character its lower-case code minus 87 ('a' to 'f' count 10 to 15, 'x' counts 33).
// The sum of value * radix^position; an empty text gives 0.
int ParseDigits(const std::string& text, int radix);

// The digits an address text is read from: its last three characters (the whole text when it is
// shorter), without anything up to and including an 'x' or 'X' among them. "0x2d0" -> "2d0",
// "0x8" -> "8", "0x10" -> "10", "0x1234" -> "234", "190" -> "190".
std::string AddressDigits(const std::string& text);

// 0 for exactly "NONE"; otherwise ParseDigits of AddressDigits(text).
int ParseAddress(const std::string& text, int radix);

// The 1-based decimal position text of the port at zero-based index.
std::string MakePortIndex(int index);

// Reads a number as atoi does (leading white space, optional sign, decimal digits up to the
// first other character, 0 without digits), clamped to the range of int instead of overflowing.
int LeadingInt(const std::string& text);
