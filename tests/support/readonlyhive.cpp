#include "readonlyhive.h"

#include "temphive.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/mount.h>

namespace {
std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
} // namespace

CReadOnlyHive::CReadOnlyHive(CTempHive& source) {
    if (Mount(source.Folder())) {
        m_pHive = CHive::Open(FilePath(), EHiveOpen::MustExist);
    }
}

CReadOnlyHive::~CReadOnlyHive() {
    m_pHive.reset();
    if (m_bMounted) {
        umount2(m_mountPoint.c_str(), MNT_DETACH);
    }
    std::error_code ignored;
    std::filesystem::remove(m_mountPoint, ignored);
}

bool CReadOnlyHive::Mount(const std::string& folder) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qser-ro-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return false;
    }
    m_mountPoint = pattern;
    if (mount(folder.c_str(), m_mountPoint.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return false;
    }
    m_bMounted = true;
    return mount(nullptr, m_mountPoint.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                 nullptr) == 0;
}

std::string CReadOnlyHive::Bytes() const {
    return ReadAll(FilePath()) + ReadAll(FilePath() + "-wal");
}
