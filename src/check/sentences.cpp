#include "sentences.h"

#include "messagetext.h"

std::string CSentences::Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

const char* CSentences::BothOrAll(std::size_t count) {
    return count == 2 ? "both" : "all";
}

std::string CSentences::List(const std::vector<std::string>& parts) {
    return JoinedList(parts);
}
