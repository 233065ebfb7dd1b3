#pragma once

#include <string>

// A folder seen through a read-only bind mount of it at a temporary place, for as long as the
// object lives. Needs the right to mount (the tests run as root); without it Mounted() is false
// and the test should be skipped.
class CReadOnlyMount {
public:
    explicit CReadOnlyMount(const std::string& folder);
    ~CReadOnlyMount();
    CReadOnlyMount(const CReadOnlyMount&) = delete;
    CReadOnlyMount& operator=(const CReadOnlyMount&) = delete;

    bool Mounted() const { return m_bReadOnly; }
    // A file of the folder, reached through the mount.
    std::string Path(const std::string& name) const { return m_mountPoint + "/" + name; }

private:
    std::string m_mountPoint;
    bool m_bMounted = false;
    bool m_bReadOnly = false;
};
