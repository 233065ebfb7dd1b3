#include "slotscan.h"

#include "registry.h"
#include "textnumbers.h"

#include <cstdio>
#include <cstring>

namespace {

// Key names are at most 255 characters, so a name that fails even here is not a name at all
// (the enumeration itself is failing) and the walk has to stop rather than skip.
bool SubKeyExistsAt(CRegistry& key, std::uint32_t index) {
    char name[256];
    std::uint32_t size = sizeof name;
    return key.EunmKey(index, name, size) == ERROR_SUCCESS;
}

} // namespace

void ForEachSubKeyName(CRegistry& key, const std::function<void(const std::string&)>& visit) {
    char name[kSubKeyNameBuffer];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = sizeof name;
        const Win32Status status = key.EunmKey(index, name, size);
        if (status == ERROR_SUCCESS) {
            visit(std::string(name, strnlen(name, sizeof name)));
        } else if (status != ERROR_MORE_DATA || !SubKeyExistsAt(key, index)) {
            return;
        }
    }
}

std::vector<bool> UsedSlots(CRegistry& key, const std::string& prefix, std::size_t numberOffset,
                            int count) {
    std::vector<bool> used(static_cast<std::size_t>(count), false);
    ForEachSubKeyName(key, [&](const std::string& name) {
        if (!name.starts_with(prefix)) {
            return;
        }
        const int slot = LeadingInt(name.size() > numberOffset ? name.substr(numberOffset) : "");
        if (slot >= 0 && slot < count) {
            used[static_cast<std::size_t>(slot)] = true;
        }
    });
    return used;
}

int LowestFreeSlot(const std::vector<bool>& used, int first) {
    for (std::size_t slot = static_cast<std::size_t>(first); slot < used.size(); ++slot) {
        if (!used[slot]) {
            return static_cast<int>(slot);
        }
    }
    return -1;
}

std::string NumberedName(const std::string& prefix, int number, int width) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", width, number);
    return prefix + digits;
}
