#pragma once

#include <string>
#include <vector>

// Small helpers for the sentences of the findings.
class CSentences {
public:
    // The text with its first letter in upper case.
    static std::string Capitalised(std::string text);
    // "A", "A and B", "A, B and C".
    static std::string List(const std::vector<std::string>& parts);
    // "both" for two, "all" for more.
    static const char* BothOrAll(std::size_t count);
};
