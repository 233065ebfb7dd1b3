#include "registryvalues.h"

#include "hive.h"
#include "messageservice.h"
#include "registry.h"
#include "registrymessages.h"

#include <array>
#include <vector>

std::string ReadTextOr(CRegistry& key, const std::string& name, std::uint32_t bufferSize,
                       const std::string& fallback) {
    // The buffers asked for are small: one on the stack saves an allocation for every value.
    constexpr std::uint32_t kStackBuffer = 256;
    std::array<char, kStackBuffer> stack;
    std::vector<char> heap(bufferSize > kStackBuffer ? bufferSize : 0);
    char* buffer = heap.empty() ? stack.data() : heap.data();
    std::uint32_t size = bufferSize;
    if (key.ReadValue(name, buffer, size) != ERROR_SUCCESS) {
        return fallback;
    }
    return std::string(buffer);
}

std::uint32_t ReadNumberOr(CRegistry& key, const std::string& name, std::uint32_t fallback) {
    std::uint32_t value = 0;
    return key.ReadValue(name, value) == ERROR_SUCCESS ? value : fallback;
}

namespace {
void Report(Win32Status status) {
    if (status != ERROR_SUCCESS) {
        CMessageService::Error(kWriteRegistryFailed);
    }
}
} // namespace

void WriteTextReported(CRegistry& key, const std::string& name, const std::string& text) {
    Report(key.WriteValue(name, text));
}

void WriteNumberReported(CRegistry& key, const std::string& name, std::uint32_t number) {
    Report(key.WriteValue(name, number));
}

void WriteBytesReported(CRegistry& key, const std::string& name, const std::uint8_t* bytes,
                        std::size_t length) {
    Report(key.WriteValue(name, bytes, static_cast<std::uint32_t>(length)));
}

std::optional<std::string> TextOf(const SHiveValue& value) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) {
        return std::nullopt;
    }
    std::string text(value.data.begin(), value.data.end());
    return text.substr(0, text.find('\0'));
}
