#include "slotscan.h"

#include "keypaths.h"
#include "registry.h"
#include "textnumbers.h"

void ForEachSubKey(CRegistry& key, const std::function<void(const std::string&)>& visit) {
    std::vector<char> name(kSubKeyNameBuffer);
    for (std::uint32_t index = 0;; ++index) {
        auto size = static_cast<std::uint32_t>(name.size());
        Win32Status status = key.EunmKey(index, name.data(), size);
        // A name that does not fit comes with the size it needs; without that, the enumeration
        // itself is failing and the walk has to stop rather than skip.
        if (status == ERROR_MORE_DATA && size > name.size()) {
            name.resize(size);
            status = key.EunmKey(index, name.data(), size);
        }
        if (status != ERROR_SUCCESS || size == 0) {
            return;
        }
        visit(std::string(name.data(), size - 1));
    }
}

void ForEachSubKeyName(CRegistry& key, const std::function<void(const std::string&)>& visit) {
    ForEachSubKey(key, [&](const std::string& name) {
        if (name.size() < kSubKeyNameBuffer) {
            visit(name);
        }
    });
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
