#include "driverkeywalk.h"

#include "hive.h"
#include "keypaths.h"
#include "messageservice.h"
#include "messagetext.h"
#include "registry.h"
#include "slotscan.h"
#include "stringtable.h"

namespace {
bool IsMissing(const std::string& path) {
    CRegistry key;
    return key.OpenKey(path, "", KEY_ALL_ACCESS, 1) == ERROR_FILE_NOT_FOUND;
}

const std::string& DriverKeyName() {
    static const std::string name = LoadString(IDS_DRIVER_SERVICE);
    return name;
}
} // namespace

void CDriverKeyWalk::ForEachBoardKey(CRegistry& driverKey, const Visit& visit) {
    Walk(driverKey, DriverKeyPath(), DriverKeyName(), kBoardKeys, visit);
}

void CDriverKeyWalk::ForEachPortKey(CRegistry& boardKey, const std::string& boardKeyName,
                                    const Visit& visit) {
    Walk(boardKey, BoardKeyPath(boardKeyName), DriverKeyName() + "\\" + PrintableName(boardKeyName),
         kPortKeys, visit);
}

void CDriverKeyWalk::Walk(CRegistry& key, const std::string& keyPath, const std::string& shownPath,
                          const SKeyNaming& naming, const Visit& visit) {
    NoteHidden(keyPath, shownPath, naming);
    ForEachSubKey(key, [&](const std::string& name) {
        const bool counts = naming.Counts(name);
        // A name that does not reach its own key is noted only where it would have been used.
        if (!IsSingleKeyName(name) || (counts && IsMissing(keyPath + "\\" + name))) {
            Note(name, shownPath);
        } else if (counts && name.size() < kSubKeyNameBuffer) {
            visit(name);
        }
    });
}

void CDriverKeyWalk::NoteHidden(const std::string& keyPath, const std::string& shownPath,
                                const SKeyNaming& naming) {
    // The registry's enumeration never lists a name that no path can carry, so the hive's own
    // listing is the only place such a key shows.
    CHive* hive = CHive::Current();
    HiveKeyId id = 0;
    std::vector<SHiveSubKey> subKeys;
    if (hive == nullptr || hive->FindKey(keyPath, id) != ERROR_SUCCESS ||
        hive->SubKeys(id, subKeys) != ERROR_SUCCESS) {
        return;
    }
    for (const SHiveSubKey& subKey : subKeys) {
        if (!IsSingleKeyName(subKey.name) || (!subKey.bText && naming.Counts(subKey.name))) {
            Note(subKey.name, shownPath);
        }
    }
}

void CDriverKeyWalk::Note(const std::string& name, const std::string& shownPath) {
    m_leftOut.push_back("\"" + PrintableName(name) + "\" under " + shownPath);
}

void CDriverKeyWalk::ReportLeftOut() const {
    if (m_leftOut.empty()) {
        return;
    }
    const bool one = m_leftOut.size() == 1;
    CMessageService::Notice(std::string(one ? "This key was" : "These keys were") +
                            " left out, since the registry cannot use " +
                            (one ? "its name: " : "their names: ") + JoinedList(m_leftOut) + ".");
}
