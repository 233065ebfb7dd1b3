// Hostile bytes in a Windows hive file that a fuzz run found: each must be read or refused with
// its reason, never stop the process, and a refused change leaves the file as it was.
#include "hivexstoretest.h"
#include "testhivex.h"

#include <cstdint>
#include <fstream>
#include <functional>
#include <hivex.h>

namespace {
constexpr const char* kInstance = "ControlSet001\\Services\\Serial\\Parameters\\Serial10000";
constexpr const char* kInstancePath =
    "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Serial10000";
// A vk cell: its size, "vk", the name's length, the data's length, then the data's cell.
constexpr std::size_t kDataCellField = 12;
// Fields of an nk cell, and of an sk cell; the cells they name count from the first bin.
constexpr std::size_t kParentField = 20;
constexpr std::size_t kSubKeyListField = 32;
constexpr std::size_t kSecurityField = 48;
constexpr std::size_t kClassNameField = 52;
constexpr std::size_t kSecurityLinkFields[] = {8, 12};
constexpr std::size_t kSecurityCountField = 16;
constexpr std::size_t kFirstBin = 0x1000;

// The offset of a key's nk cell in the file; path from the hive's root.
std::size_t KeyCell(const std::string& hive, const std::string& path) {
    hive_h* h = hivex_open(hive.c_str(), 0);
    hive_node_h node = hivex_root(h);
    std::size_t from = 0;
    while (node != 0 && from <= path.size()) {
        std::size_t to = path.find('\\', from);
        to = to == std::string::npos ? path.size() : to;
        node = hivex_node_get_child(h, node, path.substr(from, to - from).c_str());
        from = to + 1;
    }
    hivex_close(h);
    return node;
}

// The offset of a value's vk cell in the file, as hivex hands it over.
std::size_t ValueCell(const std::string& hive, const std::string& name,
                      const std::string& key = kInstance) {
    hive_h* h = hivex_open(hive.c_str(), 0);
    const hive_node_h node = KeyCell(hive, key);
    const std::size_t cell = node != 0 ? hivex_node_get_value(h, node, name.c_str()) : 0;
    hivex_close(h);
    return cell;
}

void Patch32(const std::string& path, std::size_t offset, std::uint32_t value) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(offset));
    for (int i = 0; i < 4; ++i) {
        file.put(static_cast<char>(value >> (8 * i)));
    }
}

std::uint32_t Read32(const std::string& path, std::size_t offset) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(offset));
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(file.get())) << (8 * i);
    }
    return value;
}
} // namespace

// A type number no hive_type names reads as it is, and stays so when the key is rewritten.
TEST_F(HivexStoreTest, TypeNumbersBeyondTheKnownOnesAreKept) {
    MakeHive();
    {
        CTestHivex raw(Hive(), true);
        raw.Set(kInstance, "Odd", 0xFFF9, {1, 2, 3, 4, 5, 6});
        raw.Commit();
    }
    {
        auto store = Open();
        const HiveKeyId key = Find(*store, kInstancePath);
        SHiveValue odd;
        ASSERT_EQ(store->ReadValue(key, "Odd", odd), ERROR_SUCCESS);
        EXPECT_EQ(odd.type, 0xFFF9u);
        ASSERT_EQ(store->WriteValue(key, "PortIndex", REG_DWORD, Dword(2)), ERROR_SUCCESS);
    }
    CTestHivex raw(Hive());
    EXPECT_EQ(raw.Get(kInstance, "Odd"), (CTestHivex::SRaw{0xFFF9, {1, 2, 3, 4, 5, 6}}));
}

// hivex frees the old cells of a key's values when it rewrites them or deletes the key, and
// stops the process on a cell that is none or that it has freed already: such changes are
// refused with the reason, and the file stays as it was.
TEST_F(HivexStoreTest, ValuesWithDamagedCellsAreNeitherRewrittenNorDeleted) {
    struct SCase {
        const char* name;
        // Damages the Settings value (6 bytes, so in a cell of its own).
        std::function<void(const std::string& hive)> damage;
    };
    const SCase cases[] = {
        {"data in no cell",
         [](const std::string& hive) {
             Patch32(hive, ValueCell(hive, "Settings") + kDataCellField, 7);
         }},
        {"data in the cell of another value's data",
         [](const std::string& hive) {
             const std::uint32_t other = Read32(hive, ValueCell(hive, "Shared") + kDataCellField);
             Patch32(hive, ValueCell(hive, "Settings") + kDataCellField, other);
         }},
    };
    for (const SCase& c : cases) {
        MakeHive();
        {
            CTestHivex raw(Hive(), true);
            raw.Set(kInstance, "Shared", REG_BINARY, {9, 8, 7, 6, 5, 4, 3, 2});
            raw.Commit();
        }
        c.damage(Hive());
        const std::string before = ReadAll(Hive());
        auto store = Open();
        const HiveKeyId key = Find(*store, kInstancePath);
        EXPECT_THROW(store->WriteValue(key, "Settings", REG_BINARY, {1}), CRegistryStoreError)
            << c.name;
        EXPECT_NE(store->FailureReason().find("damaged"), std::string::npos)
            << c.name << ": " << store->FailureReason();
        EXPECT_THROW(store->DeleteTree(key), CRegistryStoreError) << c.name;
        EXPECT_NE(store->FailureReason().find("cannot be deleted"), std::string::npos)
            << c.name << ": " << store->FailureReason();
        EXPECT_EQ(ReadAll(Hive()), before) << c.name;
    }
}

// hivex frees every cell of a deleted key and of the keys below it, stops the process on a cell
// that is none or that it has freed already, writes into the neighbours of a security cell it
// frees, and unlinks the key from the key its record names as parent. A file that would make it
// do any of that harm is refused, and stays as it was.
TEST_F(HivexStoreTest, KeysWithDamagedCellsAreNotDeleted) {
    const std::string sub = std::string(kInstance) + "\\Sub";
    struct SCase {
        const char* name;
        std::function<void(const std::string& hive, const std::string& sub)> damage;
    };
    const SCase cases[] = {
        {"class name in no cell",
         [](const std::string& hive, const std::string&) {
             Patch32(hive, KeyCell(hive, kInstance) + kClassNameField, 7);
         }},
        {"class name in the cell of the key's own value data",
         [](const std::string& hive, const std::string&) {
             const std::uint32_t data = Read32(hive, ValueCell(hive, "Shared") + kDataCellField);
             Patch32(hive, KeyCell(hive, kInstance) + kClassNameField, data);
         }},
        {"class name of the key below in the cell of the key's value data",
         [](const std::string& hive, const std::string& below) {
             const std::uint32_t data = Read32(hive, ValueCell(hive, "Shared") + kDataCellField);
             Patch32(hive, KeyCell(hive, below) + kClassNameField, data);
         }},
        {"security cell freed with neighbours outside the file",
         [](const std::string& hive, const std::string&) {
             const std::size_t security =
                 Read32(hive, KeyCell(hive, kInstance) + kSecurityField) + kFirstBin;
             // The key and the one below it are the last to refer to it.
             Patch32(hive, security + kSecurityCountField, 2);
             for (const std::size_t link : kSecurityLinkFields) {
                 Patch32(hive, security + link, 0x7FFFFFF0);
             }
         }},
        {"security cell counted fewer times than keys refer to it",
         [](const std::string& hive, const std::string&) {
             const std::size_t security =
                 Read32(hive, KeyCell(hive, kInstance) + kSecurityField) + kFirstBin;
             Patch32(hive, security + kSecurityCountField, 1);
         }},
        {"key listed by a foreign key too, which its record names as parent",
         [](const std::string& hive, const std::string&) {
             const std::size_t instance = KeyCell(hive, kInstance);
             const std::size_t foreign = KeyCell(hive, "ControlSet001\\Services\\Foreign");
             const std::size_t list = Read32(hive, foreign + kSubKeyListField) + kFirstBin;
             Patch32(hive, list + 8, static_cast<std::uint32_t>(instance - kFirstBin));
             Patch32(hive, instance + kParentField,
                     static_cast<std::uint32_t>(foreign - kFirstBin));
         }},
    };
    for (const SCase& c : cases) {
        MakeHive();
        {
            CTestHivex raw(Hive(), true);
            raw.Set(kInstance, "Shared", REG_BINARY, {9, 8, 7, 6, 5, 4, 3, 2});
            raw.Set(sub, "Inner", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8});
            raw.Key("ControlSet001\\Services\\Foreign\\Only");
            raw.Commit();
        }
        c.damage(Hive(), sub);
        const std::string before = ReadAll(Hive());
        auto store = Open();
        const HiveKeyId key = Find(*store, kInstancePath);
        EXPECT_THROW(store->DeleteTree(key), CRegistryStoreError) << c.name;
        EXPECT_NE(store->FailureReason().find("cannot be deleted"), std::string::npos)
            << c.name << ": " << store->FailureReason();
        EXPECT_EQ(ReadAll(Hive()), before) << c.name;
        // What the file holds elsewhere can still be changed.
        const HiveKeyId other = Create(*store, "SYSTEM\\CurrentControlSet\\Services\\QserTest");
        EXPECT_EQ(store->WriteValue(other, "Count", REG_DWORD, Dword(1)), ERROR_SUCCESS) << c.name;
    }
}

// The second change of a transaction sees what the first one freed: a cell another key's
// deletion freed a moment ago is one hivex would free again.
TEST_F(HivexStoreTest, CellsFreedEarlierInTheTransactionAreSeen) {
    constexpr const char* kOther = "ControlSet001\\Services\\Serial\\Parameters\\Serial10001";
    MakeHive();
    {
        CTestHivex raw(Hive(), true);
        raw.Set(kInstance, "Shared", REG_BINARY, {9, 8, 7, 6, 5, 4, 3, 2});
        raw.Key(kOther);
        raw.Commit();
    }
    const std::uint32_t shared = Read32(Hive(), ValueCell(Hive(), "Shared") + kDataCellField);
    Patch32(Hive(), KeyCell(Hive(), kOther) + kClassNameField, shared);
    const std::string before = ReadAll(Hive());
    auto store = Open();
    const HiveKeyId instance = Find(*store, kInstancePath);
    const HiveKeyId other =
        Find(*store, "SYSTEM\\CurrentControlSet\\Services\\Serial\\Parameters\\Serial10001");
    ASSERT_TRUE(store->Begin(true));
    store->DeleteTree(instance);
    EXPECT_THROW(store->DeleteTree(other), CRegistryStoreError);
    EXPECT_NE(store->FailureReason().find("cannot be deleted"), std::string::npos)
        << store->FailureReason();
    store->Rollback();
    EXPECT_EQ(ReadAll(Hive()), before);
}
