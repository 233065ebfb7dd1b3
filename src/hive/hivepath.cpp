#include "hivepath.h"

#include <algorithm>

namespace {
char FoldChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

Win32Status CHivePath::Split(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    if (path.empty()) {
        return ERROR_SUCCESS;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::size_t length = (end == std::string::npos ? path.size() : end) - start;
        if (length == 0 || length > kMaxKeyName) {
            names.clear();
            return ERROR_INVALID_PARAMETER;
        }
        names.push_back(path.substr(start, length));
        if (end == std::string::npos) {
            return ERROR_SUCCESS;
        }
        start = end + 1;
    }
}

std::string CHivePath::Fold(const std::string& name) {
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
    return folded;
}

bool CHivePath::SameFolded(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

std::string CHivePath::Join(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) {
        if (!path.empty()) {
            path += '\\';
        }
        path += name;
    }
    return path;
}

std::string CHivePath::Printable(std::string_view text, bool utf8) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (plain) {
        return std::string(text);
    }
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto code = static_cast<unsigned char>(text[i]);
        const bool utf8Control = utf8 && code == 0xC2 && i + 1 < text.size() &&
                                 (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (utf8Control) {
            code = static_cast<unsigned char>(text[++i]);
        }
        const bool control = code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0);
        if (control && (utf8Control || !utf8 || code < 0x80)) {
            printable += "\\x";
            printable += kDigits[code >> 4];
            printable += kDigits[code & 0x0F];
        } else {
            printable += text[i];
        }
    }
    return printable;
}
