#include "temphive.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

CTempHive::CTempHive() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qser-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_folder = pattern;
    m_pHive = CHive::Open(FilePath());
    m_scope.emplace(SProcessReferences{.hive = m_pHive.get(), .messageBox = &m_messages});
}

CTempHive::~CTempHive() {
    m_scope.reset();
    m_pHive.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}
