#pragma once

#include <functional>
#include <string>
#include <vector>

class CRegistry;
struct SKeyNaming;

// Sub-key names are read into a buffer of this many characters, the terminating zero included.
inline constexpr unsigned kSubKeyNameBuffer = 80;

// Calls visit with the whole name of every sub-key of the key open in key, by increasing index,
// however long; the walk ends at the first failure (ERROR_NO_MORE_ITEMS after the last one).
void ForEachSubKey(CRegistry& key, const std::function<void(const std::string&)>& visit);
// The same for the names that fit kSubKeyNameBuffer: a longer one is skipped, so that one
// foreign key cannot hide the names that follow it.
void ForEachSubKeyName(CRegistry& key, const std::function<void(const std::string&)>& visit);

// Marks of the naming's slots: a sub-key that counts marks the slot its number gives (a name
// ending before the number's offset reads as 0). Numbers outside the slots mark nothing.
std::vector<bool> UsedSlots(CRegistry& key, const SKeyNaming& naming);

// The lowest slot from first on that is not marked, or -1 when there is none.
int LowestFreeSlot(const std::vector<bool>& used, int first);
