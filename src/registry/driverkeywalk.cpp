#include "driverkeywalk.h"

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
    ForEachSubKey(key, [&](const std::string& name) {
        const bool counts = naming.Counts(name);
        // A name that does not reach its own key is noted only where it would have been used.
        if (!IsSingleKeyName(name) || (counts && IsMissing(keyPath + "\\" + name))) {
            m_leftOut.push_back("\"" + PrintableName(name) + "\" under " + shownPath);
        } else if (counts && name.size() < kSubKeyNameBuffer) {
            visit(name);
        }
    });
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
