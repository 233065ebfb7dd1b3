#include "registrysnapshot.h"

#include "hivepath.h"

CRegistrySnapshot CRegistrySnapshot::Capture(CHive& hive, const std::vector<SRoot>& roots) {
    CRegistrySnapshot snapshot;
    snapshot.m_roots = roots;
    for (const SRoot& root : roots) {
        HiveKeyId id = 0;
        if (hive.FindKey(root.path, id) == ERROR_SUCCESS) {
            snapshot.CaptureKey(hive, root.path, id, root.bSubTree);
        }
    }
    return snapshot;
}

CRegistrySnapshot::SRoot CRegistrySnapshot::Reach(CHive& hive, const std::string& path,
                                                  bool subTree) {
    std::vector<std::string> names;
    if (CHivePath::Split(path, names) != ERROR_SUCCESS) {
        return {path, subTree};
    }
    std::vector<std::string> prefix;
    for (const std::string& name : names) {
        prefix.push_back(name);
        const std::string joined = CHivePath::Join(prefix);
        HiveKeyId id = 0;
        if (hive.FindKey(joined, id) != ERROR_SUCCESS) {
            return {joined, true};
        }
    }
    return {path, subTree};
}

void CRegistrySnapshot::CaptureKey(CHive& hive, const std::string& path, HiveKeyId id,
                                   bool subTree) {
    SKey& key = m_keys[CHivePath::Fold(path)];
    key.path = path;
    key.values.clear();
    hive.Values(id, key.values);
    if (!subTree) {
        return;
    }
    std::vector<SHiveSubKey> subKeys;
    hive.SubKeys(id, subKeys);
    for (const SHiveSubKey& sub : subKeys) {
        // A key whose name no path can carry cannot be put back either.
        if (sub.bText) {
            CaptureKey(hive, path + "\\" + sub.name, sub.id, true);
        }
    }
}
