#include "slotscan.h"

#include "keypaths.h"
#include "registry.h"
#include "textnumbers.h"

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

std::vector<bool> UsedSlots(CRegistry& key, const SKeyNaming& naming) {
    std::vector<bool> used(static_cast<std::size_t>(naming.slots), false);
    ForEachSubKeyName(key, [&](const std::string& name) {
        if (!naming.Counts(name)) {
            return;
        }
        const std::size_t offset = naming.numberOffset;
        const int slot = LeadingInt(name.size() > offset ? name.substr(offset) : "");
        if (slot >= 0 && slot < naming.slots) {
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
