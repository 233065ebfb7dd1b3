#pragma once

#include "hivexstore.h"
#include "testhivefile.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A folder of its own per test (tests run in parallel) holding a SYSTEM hive file.
class HivexStoreTest : public ::testing::Test {
protected:
    HivexStoreTest();
    ~HivexStoreTest() override;

    std::string Path(const std::string& name) const { return m_folder + "/" + name; }
    const std::string& Hive() const { return m_hive; }
    void MakeHive(const CTestHiveFile::SOptions& options = {}) {
        CTestHiveFile::WriteSystem(m_hive, options);
    }
    std::unique_ptr<CHivexStore> Open(EHiveOpen mode = EHiveOpen::MustExist);
    std::unique_ptr<CHivexStore> Open(const std::string& path, EHiveOpen mode,
                                      std::string& readOnlyReason);
    // The id of an existing key; fails the test when it is missing.
    static HiveKeyId Find(CHivexStore& store, const std::string& path);
    static HiveKeyId Create(CHivexStore& store, const std::string& path);
    // "Cannot use registry file 'PATH': " cut off: the reason only.
    std::string RefusalOf(const std::string& path);
    // The folder's names other than the hive itself (backups, temporary files).
    std::vector<std::string> Leftovers() const;
    bool MountTmpfs(const std::string& folder, const char* size);

    static std::string ReadAll(const std::string& path);
    static std::vector<std::uint8_t> Bytes(const char* text, std::size_t size) {
        return {text, text + size};
    }
    static std::vector<std::uint8_t> Dword(std::uint32_t value);
    // hivexregedit's export of a key and everything below it.
    std::string Export(const std::string& hivePath) const;

    std::string m_folder;
    std::string m_hive;
    std::vector<std::string> m_mounts;
};
