#include "registryvalues.h"

#include "registry.h"

#include <vector>

std::string ReadTextOr(CRegistry& key, const std::string& name, std::uint32_t bufferSize,
                       const std::string& fallback) {
    std::vector<char> buffer(bufferSize, '\0');
    std::uint32_t size = bufferSize;
    if (key.ReadValue(name, buffer.data(), size) != ERROR_SUCCESS) {
        return fallback;
    }
    return std::string(buffer.data());
}

std::uint32_t ReadNumberOr(CRegistry& key, const std::string& name, std::uint32_t fallback) {
    std::uint32_t value = 0;
    return key.ReadValue(name, value) == ERROR_SUCCESS ? value : fallback;
}
