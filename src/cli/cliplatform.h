#pragma once

#include "platformfamily.h"

#include <string>
#include <utility>

// The platform a session works for: its family and, for Linux, the root of the system's files.
struct SCliPlatform {
    // A family alone works on the running system's files.
    SCliPlatform(EPlatformFamily platformFamily, std::string rootFolder = "/")
        : family(platformFamily), root(std::move(rootFolder)) {}
    EPlatformFamily family;
    std::string root;
};
