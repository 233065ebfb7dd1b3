#include "temphive.h"

#include "testhivefile.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

CTempHive::CTempHive(ETestStore store) : m_store(store) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qser-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_folder = pattern;
    if (m_store == ETestStore::WindowsHive) {
        CTestHiveFile::WriteSystem(FilePath());
    }
    m_pHive = CHive::Open(FilePath());
    m_scope.emplace(SProcessReferences{.hive = m_pHive.get(), .messageBox = &m_messages});
}

CTempHive::~CTempHive() {
    m_scope.reset();
    m_pHive.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::string CTempHive::FilePath() const {
    return m_folder + (m_store == ETestStore::WindowsHive ? "/SYSTEM" : "/registry.db");
}

std::string CTempHive::MakeAnother(const std::string& name) const {
    if (m_store == ETestStore::Sqlite) {
        return m_folder + "/" + name + ".db";
    }
    const std::string path = m_folder + "/" + name;
    if (!std::filesystem::exists(path)) {
        CTestHiveFile::WriteSystem(path);
    }
    return path;
}
