#include "readonlymount.h"

#include <cstdlib>
#include <filesystem>
#include <sys/mount.h>

CReadOnlyMount::CReadOnlyMount(const std::string& folder) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qser-ro-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    m_mountPoint = pattern;
    m_bMounted = mount(folder.c_str(), m_mountPoint.c_str(), nullptr, MS_BIND, nullptr) == 0;
    m_bReadOnly = m_bMounted && mount(nullptr, m_mountPoint.c_str(), nullptr,
                                      MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

CReadOnlyMount::~CReadOnlyMount() {
    if (m_bMounted) {
        umount2(m_mountPoint.c_str(), MNT_DETACH);
    }
    if (!m_mountPoint.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_mountPoint, ignored);
    }
}
