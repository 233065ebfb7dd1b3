#include "readonlyhive.h"

#include "temphive.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {
std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
} // namespace

CReadOnlyHive::CReadOnlyHive(const CTempHive& source)
    : m_mount(source.Folder()),
      m_name(std::filesystem::path(source.FilePath()).filename().string()) {
    if (m_mount.Mounted()) {
        m_pHive = CHive::Open(FilePath(), EHiveOpen::MustExist);
    }
}

CReadOnlyHive::~CReadOnlyHive() = default;

std::string CReadOnlyHive::Bytes() const {
    return ReadAll(FilePath()) + ReadAll(FilePath() + "-wal");
}
