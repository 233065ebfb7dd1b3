#include "hivexstoretest.h"

#include "hivepath.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/mount.h>

namespace fs = std::filesystem;

HivexStoreTest::HivexStoreTest() {
    std::string pattern = (fs::temp_directory_path() / "qser-hivex-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_folder = pattern;
    m_hive = m_folder + "/SYSTEM";
}

HivexStoreTest::~HivexStoreTest() {
    for (auto mount = m_mounts.rbegin(); mount != m_mounts.rend(); ++mount) {
        umount2(mount->c_str(), MNT_DETACH);
    }
    std::error_code ignored;
    fs::permissions(m_folder, fs::perms::all, ignored);
    fs::remove_all(m_folder, ignored);
}

std::unique_ptr<CHivexStore> HivexStoreTest::Open(const std::string& path, EHiveOpen mode,
                                                  std::string& readOnlyReason) {
    return CHivexStore::Open(path, mode, readOnlyReason);
}

std::unique_ptr<CHivexStore> HivexStoreTest::Open(EHiveOpen mode) {
    std::string readOnlyReason;
    auto store = CHivexStore::Open(m_hive, mode, readOnlyReason);
    EXPECT_EQ(readOnlyReason, "");
    return store;
}

HiveKeyId HivexStoreTest::Find(CHivexStore& store, const std::string& path) {
    std::vector<std::string> names;
    EXPECT_EQ(CHivePath::Split(path, names), ERROR_SUCCESS) << path;
    HiveKeyId id = -1;
    EXPECT_EQ(store.FindPath(0, names, id), ERROR_SUCCESS) << path;
    return id;
}

HiveKeyId HivexStoreTest::Create(CHivexStore& store, const std::string& path) {
    std::vector<std::string> names;
    EXPECT_EQ(CHivePath::Split(path, names), ERROR_SUCCESS) << path;
    HiveKeyId id = -1;
    store.CreatePath(0, names, id);
    return id;
}

std::string HivexStoreTest::RefusalOf(const std::string& path) {
    try {
        std::string readOnlyReason;
        CHivexStore::Open(path, EHiveOpen::MustExist, readOnlyReason);
        return "opened";
    } catch (const CHiveError& error) {
        const std::string prefix = "Cannot use registry file '" + path + "': ";
        const std::string text = error.what();
        return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : "unnamed: " + text;
    }
}

std::vector<std::string> HivexStoreTest::Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_folder)) {
        if (entry.path() != m_hive) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

bool HivexStoreTest::MountTmpfs(const std::string& folder, const char* size) {
    fs::create_directories(folder);
    const std::string options = std::string("size=") + size;
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        return false;
    }
    m_mounts.push_back(folder);
    return true;
}

std::string HivexStoreTest::ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> HivexStoreTest::Dword(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::string HivexStoreTest::Export(const std::string& hivePath) const {
    const std::string command = "hivexregedit --export --prefix 'HKEY_LOCAL_MACHINE\\SYSTEM' '" +
                                m_hive + "' '" + hivePath + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        output += buffer.data();
    }
    return output;
}
