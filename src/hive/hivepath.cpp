#include "hivepath.h"

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
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
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
