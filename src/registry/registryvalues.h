#pragma once

#include <cstdint>
#include <string>

class CRegistry;

// Reads of single values with the fallback the callers use when a read fails for any reason
// (missing, wrong type, too long): the default takes the value's place without a message.
std::string ReadTextOr(CRegistry& key, const std::string& name, std::uint32_t bufferSize,
                       const std::string& fallback);
std::uint32_t ReadNumberOr(CRegistry& key, const std::string& name, std::uint32_t fallback);
