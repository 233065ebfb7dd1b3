#include "templinuxroot.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
std::string MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qser-root-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
}
} // namespace

CTempLinuxRoot::CTempLinuxRoot() : m_folder(MakeFolder()), m_files(m_folder) {
    m_scope.emplace(
        SProcessReferences{.rootFileSystem = &m_files, .platformFamily = EPlatformFamily::Linux});
}

CTempLinuxRoot::~CTempLinuxRoot() {
    m_scope.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void CTempLinuxRoot::Put(const std::string& path, const std::string& bytes) const {
    const std::filesystem::path full = m_folder + path;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
}

std::optional<std::string> CTempLinuxRoot::Get(const std::string& path) const {
    std::ifstream in(m_folder + path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void CTempLinuxRoot::PutLine(int number, unsigned port, unsigned irq) const {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X\n", port);
    const std::string folder = "/sys/class/tty/ttyS" + std::to_string(number);
    Put(folder + "/port", text);
    Put(folder + "/irq", std::to_string(irq) + "\n");
}
