#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class CRegistry;

// Reads of single values with the fallback the callers use when a read fails for any reason
// (missing, wrong type, too long): the default takes the value's place without a message.
std::string ReadTextOr(CRegistry& key, const std::string& name, std::uint32_t bufferSize,
                       const std::string& fallback);
std::uint32_t ReadNumberOr(CRegistry& key, const std::string& name, std::uint32_t fallback);

// Writes of single values that report a failure as "Unable to write to registry" and leave it
// to the caller to go on with the next value.
void WriteTextReported(CRegistry& key, const std::string& name, const std::string& text);
void WriteNumberReported(CRegistry& key, const std::string& name, std::uint32_t number);
void WriteBytesReported(CRegistry& key, const std::string& name, const std::uint8_t* bytes,
                        std::size_t length);

struct SHiveValue;
// The text a REG_SZ or REG_EXPAND_SZ value holds, up to its first zero; nothing for other types.
std::optional<std::string> TextOf(const SHiveValue& value);
