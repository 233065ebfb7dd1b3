// The Windows hive file store through its own interface: the path mapping, the bytes it leaves
// in the file (checked with hivex itself), what it refuses, and what survives a failure.
#include "hivepath.h"
#include "hivexstoretest.h"
#include "readonlymount.h"
#include "testhivex.h"

#include <filesystem>
#include <fstream>

namespace {
namespace fs = std::filesystem;

constexpr const char* kSerial = "SYSTEM\\CurrentControlSet\\Services\\Serial";
constexpr const char* kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr const char* kBoard = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Parameters\\Board000";

std::string Text(const SHiveValue& value) {
    return {value.data.begin(), value.data.end()};
}

std::vector<std::string> Names(CHivexStore& store, HiveKeyId key) {
    std::vector<std::string> names;
    store.SubKeyNames(key, names);
    return names;
}

std::vector<std::string>
ValueNames(const std::vector<std::pair<std::string, CTestHivex::SRaw>>& v) {
    std::vector<std::string> names;
    for (const auto& [name, raw] : v) {
        names.push_back(name);
    }
    return names;
}
} // namespace

// SYSTEM is the root, CurrentControlSet the set that Select\Current names; key paths name that
// set through CurrentControlSet, enumeration shows the real keys.
TEST_F(HivexStoreTest, CurrentControlSetIsTheSetThatSelectNames) {
    struct SCase {
        unsigned current;
        const char* hostname;
        const char* other;
    };
    for (const SCase& c :
         {SCase{1, "WORKSTATION", "ControlSet002"}, SCase{2, "SECOND", "ControlSet001"}}) {
        MakeHive({c.current, true});
        auto store = Open();
        const HiveKeyId key = Find(*store, kTcpip);
        SHiveValue value;
        ASSERT_EQ(store->ReadValue(key, "HOSTNAME", value), ERROR_SUCCESS);
        EXPECT_EQ(Text(value), std::string(c.hostname) + '\0');
        EXPECT_EQ(value.name, "Hostname");
        EXPECT_EQ(store->KeyPath(key), kTcpip);
        const std::string other = std::string("SYSTEM\\") + c.other + "\\Services\\Tcpip";
        EXPECT_EQ(store->KeyPath(Find(*store, other)), other);
        EXPECT_EQ(Names(*store, Find(*store, "system")),
                  (std::vector<std::string>{"ControlSet001", "ControlSet002", "MountedDevices",
                                            "Select"}));
        EXPECT_EQ(Names(*store, 0), std::vector<std::string>{"SYSTEM"});
    }
}

// HKEY_LOCAL_MACHINE holds SYSTEM only: the other keys of a running system are not in the file.
TEST_F(HivexStoreTest, MachineKeyHoldsOnlySystem) {
    MakeHive();
    auto store = Open();
    HiveKeyId id = 0;
    for (const char* path : {"Enum\\Root\\Ports", "HARDWARE\\DEVICEMAP", "SOFTWARE"}) {
        std::vector<std::string> names;
        CHivePath::Split(path, names);
        EXPECT_EQ(store->FindPath(0, names, id), ERROR_FILE_NOT_FOUND) << path;
        EXPECT_THROW(store->CreatePath(0, names, id), CRegistryStoreError) << path;
    }
    std::vector<SHiveValue> values;
    EXPECT_EQ(store->Values(0, values, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(values.empty());
    EXPECT_THROW(store->WriteValue(0, "x", REG_DWORD, Dword(1)), CRegistryStoreError);
    EXPECT_THROW(store->DeleteTree(Find(*store, "SYSTEM")), CRegistryStoreError);
    EXPECT_TRUE(Leftovers().empty()) << "nothing was written";
}

// The system's Latin-1 text reaches the file as UTF-16LE, every byte one code unit, and reads
// back as it was; DWORDs and binary go as they are.
TEST_F(HivexStoreTest, TextIsUtf16InTheFileAndLatin1ToTheSystem) {
    MakeHive();
    const std::vector<std::uint8_t> text = {'C', 'a', 'f', 0xE9, ' ', 0x80, 0xA0, 0xFF, 0};
    const std::vector<std::uint8_t> multi = {'A', 0, 0xFC, 'b', 0, 0};
    const std::vector<std::uint8_t> binary = {0, 1, 0xFE, 0xFF, 0x80};
    {
        auto store = Open();
        ASSERT_TRUE(store->Begin(true));
        const HiveKeyId board = Create(*store, kBoard);
        ASSERT_EQ(store->WriteValue(board, "Name", REG_SZ, text), ERROR_SUCCESS);
        ASSERT_EQ(store->WriteValue(board, "Path", REG_EXPAND_SZ, text), ERROR_SUCCESS);
        ASSERT_EQ(store->WriteValue(board, "List", REG_MULTI_SZ, multi), ERROR_SUCCESS);
        ASSERT_EQ(store->WriteValue(board, "Irq", REG_DWORD, Dword(0x12345678)), ERROR_SUCCESS);
        ASSERT_EQ(store->WriteValue(board, "Blob", REG_BINARY, binary), ERROR_SUCCESS);
        ASSERT_TRUE(store->Commit()) << store->FailureReason();
    }
    CTestHivex raw(Hive());
    const std::string key = "ControlSet001\\Services\\QSERDRV\\Parameters\\Board000";
    const std::vector<std::uint8_t> utf16 = {'C', 0,    'a', 0,    'f', 0,    0xE9, 0, ' ',
                                             0,   0x80, 0,   0xA0, 0,   0xFF, 0,    0, 0};
    EXPECT_EQ(raw.Get(key, "Name"), (CTestHivex::SRaw{REG_SZ, utf16}));
    EXPECT_EQ(raw.Get(key, "Path"), (CTestHivex::SRaw{REG_EXPAND_SZ, utf16}));
    const std::vector<std::uint8_t> multiUtf16 = {'A', 0, 0, 0, 0xFC, 0, 'b', 0, 0, 0, 0, 0};
    EXPECT_EQ(raw.Get(key, "List"), (CTestHivex::SRaw{REG_MULTI_SZ, multiUtf16}));
    EXPECT_EQ(raw.Get(key, "Irq"), (CTestHivex::SRaw{REG_DWORD, Dword(0x12345678)}));
    EXPECT_EQ(raw.Get(key, "Blob"), (CTestHivex::SRaw{REG_BINARY, binary}));

    auto store = Open();
    std::vector<SHiveValue> values;
    ASSERT_EQ(store->Values(Find(*store, kBoard), values, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(values, (std::vector<SHiveValue>{{"Name", REG_SZ, text},
                                               {"Path", REG_EXPAND_SZ, text},
                                               {"List", REG_MULTI_SZ, multi},
                                               {"Irq", REG_DWORD, Dword(0x12345678)},
                                               {"Blob", REG_BINARY, binary}}));
}

// Text that Latin-1 cannot hold is invalid data to the system; names that no path can hold are
// left out of the walks but listed as entries.
TEST_F(HivexStoreTest, TextOutsideLatin1IsInvalidData) {
    MakeHive();
    const std::string key = "ControlSet001\\Services\\Serial";
    {
        CTestHivex raw(Hive(), true);
        raw.SetText(key, "Greek", REG_SZ, u"\u03A9");
        raw.SetText(key, "Surrogates", REG_MULTI_SZ, u"\xD83D\xDE00");
        raw.Set(key, "Odd", REG_SZ, {'a', 0, 'b'});
        raw.Key(key + "\\\u00C4rger"); // Latin-1 beyond ASCII: a usable name
        raw.Key(key + "\\\u0416uk");   // beyond Latin-1
        raw.Commit();
    }
    auto store = Open();
    const HiveKeyId serial = Find(*store, kSerial);
    SHiveValue value;
    for (const char* name : {"Greek", "Surrogates", "Odd"}) {
        EXPECT_EQ(store->ReadValue(serial, name, value), ERROR_INVALID_DATA) << name;
    }
    std::vector<SHiveValue> values;
    std::vector<std::string> unreadable;
    EXPECT_EQ(store->Values(serial, values, &unreadable), ERROR_INVALID_DATA);
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(unreadable, (std::vector<std::string>{"Greek", "Surrogates", "Odd"}));

    EXPECT_EQ(Names(*store, serial), (std::vector<std::string>{"Parameters", "\xC4rger"}));
    std::vector<SHiveSubKey> entries;
    store->SubKeyEntries(serial, entries);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_FALSE(entries[2].bText);
    EXPECT_EQ(entries[2].name, "\u0416uk");
    EXPECT_EQ(store->KeyPath(Find(*store, std::string(kSerial) + "\\\xC4RGER")),
              std::string(kSerial) + "\\\xC4rger");
}

// Our writes replace one value of a key: the others keep place, name, type and bytes, and keys
// we do not write are left exactly as they were.
TEST_F(HivexStoreTest, ForeignValuesAndKeysStayAsTheyWere) {
    MakeHive();
    const std::string serial = "ControlSet001\\Services\\Serial";
    std::vector<std::pair<std::string, CTestHivex::SRaw>> before;
    {
        CTestHivex raw(Hive());
        before = raw.Values(serial);
    }
    const std::string tcpip = Export("\\ControlSet001\\Services\\Tcpip");
    const std::string instances = Export("\\ControlSet001\\Services\\Serial\\Parameters");
    ASSERT_NE(tcpip.find("SearchList"), std::string::npos) << tcpip;
    {
        auto store = Open();
        ASSERT_TRUE(store->Begin(true));
        const HiveKeyId key = Find(*store, kSerial);
        ASSERT_EQ(store->WriteValue(key, "start", REG_DWORD, Dword(4)), ERROR_SUCCESS);
        ASSERT_EQ(store->WriteValue(key, "ForwardFifo", REG_DWORD, Dword(2)), ERROR_SUCCESS);
        ASSERT_EQ(store->DeleteValue(key, "GROUP"), ERROR_SUCCESS);
        Create(*store, std::string(kSerial) + "\\Parameters\\Serial10002");
        ASSERT_TRUE(store->Commit()) << store->FailureReason();
    }
    CTestHivex raw(Hive());
    std::vector<std::pair<std::string, CTestHivex::SRaw>> expected = before;
    expected[1].second.data = Dword(4);   // Start: its place and the case of its name kept
    expected.erase(expected.begin() + 3); // Group
    expected.push_back({"ForwardFifo", {REG_DWORD, Dword(2)}});
    EXPECT_EQ(raw.Values(serial), expected);
    EXPECT_EQ(
        ValueNames(raw.Values(serial)),
        (std::vector<std::string>{"Type", "Start", "ImagePath", "DependOnService", "ForwardFifo"}));
    EXPECT_EQ(Export("\\ControlSet001\\Services\\Tcpip"), tcpip);
    const std::string after = Export("\\ControlSet001\\Services\\Serial\\Parameters");
    EXPECT_EQ(after.substr(0, instances.size() - 1), instances.substr(0, instances.size() - 1));
}

// Files that must not be used are refused with the reason, and left byte for byte as they were.
TEST_F(HivexStoreTest, RefusedFilesAreLeftUntouched) {
    struct SCase {
        const char* name;
        std::function<void(const std::string&)> damage;
        const char* reason;
    };
    const std::vector<SCase> cases = {
        {"not SYSTEM",
         [](const std::string& path) {
             CTestHiveFile::WriteSystem(path, {1, false, false});
         },
         "it is not the SYSTEM hive of a Windows installation (Select\\Current names no control "
         "set that it holds)"},
        {"Current names a missing set",
         [](const std::string& path) {
             CTestHiveFile::WriteSystem(path, {3, false, true});
         },
         "it is not the SYSTEM hive of a Windows installation (Select\\Current names no control "
         "set that it holds)"},
        {"dirty", CTestHiveFile::MakeDirty,
         "it was not shut down cleanly: its changes are still in the transaction logs. Start "
         "that Windows once and shut it down cleanly, then try again"},
        {"checksum", CTestHiveFile::BreakChecksum,
         "its header is damaged (the checksum does not match)"},
        {"truncated", [](const std::string& path) { CTestHiveFile::Truncate(path, 8192); },
         "it is truncated (its header announces 16384 bytes, the file holds 8192)"},
        {"header cut", [](const std::string& path) { CTestHiveFile::Truncate(path, 512); },
         "it is truncated (it ends inside its 4096-byte header)"},
        {"no hive", [](const std::string& path) { std::ofstream(path) << "SQLite format 3"; },
         "it is not a Windows registry hive"},
    };
    for (const SCase& c : cases) {
        MakeHive();
        c.damage(Hive());
        const std::string before = ReadAll(Hive());
        EXPECT_EQ(RefusalOf(Hive()), c.reason) << c.name;
        EXPECT_EQ(ReadAll(Hive()), before) << c.name;
        EXPECT_TRUE(Leftovers().empty()) << c.name;
    }
}

// Hostile bytes inside the bins: refused or read as damage, never a crash.
TEST_F(HivexStoreTest, DamagedCellsAreRefusedOrReported) {
    for (std::size_t offset = 0x1000; offset < 0x1400; offset += 8) {
        MakeHive();
        std::string bytes = ReadAll(Hive());
        for (std::size_t i = offset; i < offset + 8; ++i) {
            bytes[i] = static_cast<char>(bytes[i] ^ 0xA5);
        }
        std::ofstream(Hive(), std::ios::binary | std::ios::trunc) << bytes;
        try {
            std::string readOnlyReason;
            auto store = Open(Hive(), EHiveOpen::MustExist, readOnlyReason);
            HiveKeyId id = 0;
            std::vector<SHiveSubKey> entries;
            store->SubKeyEntries(Find(*store, "SYSTEM"), entries);
            std::vector<std::string> names = {"SYSTEM", "CurrentControlSet", "Services", "Serial"};
            if (store->FindPath(0, names, id) == ERROR_SUCCESS) {
                std::vector<SHiveValue> values;
                store->Values(id, values, nullptr);
            }
        } catch (const CHiveError& error) {
            EXPECT_NE(std::string(error.what()).find(Hive()), std::string::npos);
        } catch (const CRegistryStoreError& error) {
            EXPECT_NE(std::string(error.what()).find("damaged"), std::string::npos) << error.what();
        }
    }
}

// The first change copies the original aside; that copy is never replaced. Reading never writes.
TEST_F(HivexStoreTest, BackupIsMadeOnceBeforeTheFirstChange) {
    MakeHive();
    const std::string original = ReadAll(Hive());
    const std::string backup = Hive() + ".qser-backup";
    {
        auto store = Open(EHiveOpen::ForReading);
        ASSERT_TRUE(store->Begin(true));
        ASSERT_EQ(store->WriteValue(Find(*store, kSerial), "Start", REG_DWORD, Dword(3)), 0u);
        EXPECT_FALSE(store->Commit());
        EXPECT_EQ(store->FailureReason(), "it was opened for reading only");
        SHiveValue value;
        ASSERT_EQ(store->ReadValue(Find(*store, kSerial), "Start", value), ERROR_SUCCESS);
        EXPECT_EQ(value.data, Dword(1)) << "the change is gone";
    }
    EXPECT_EQ(ReadAll(Hive()), original);
    EXPECT_TRUE(Leftovers().empty());

    auto store = Open();
    for (std::uint32_t start : {3u, 4u}) {
        ASSERT_TRUE(store->Begin(true));
        ASSERT_EQ(store->WriteValue(Find(*store, kSerial), "Start", REG_DWORD, Dword(start)), 0u);
        ASSERT_TRUE(store->Commit()) << store->FailureReason();
        EXPECT_EQ(ReadAll(backup), original);
        EXPECT_NE(ReadAll(Hive()), original);
    }
    EXPECT_EQ(Leftovers(), std::vector<std::string>{"SYSTEM.qser-backup"});
}

TEST_F(HivexStoreTest, ReadOnlyFileSystemOpensForReading) {
    MakeHive();
    CReadOnlyMount readOnly(m_folder);
    if (!readOnly.Mounted()) {
        GTEST_SKIP() << "cannot make a read-only bind mount";
    }
    std::string reason;
    auto store = Open(readOnly.Path("SYSTEM"), EHiveOpen::MustExist, reason);
    EXPECT_EQ(reason, "the file system is read-only");
    SHiveValue value;
    EXPECT_EQ(store->ReadValue(Find(*store, kSerial), "Type", value), ERROR_SUCCESS);
    EXPECT_FALSE(store->Begin(true));
    EXPECT_EQ(store->FailureReason(), "the file system is read-only");
    EXPECT_THROW(store->WriteValue(Find(*store, kSerial), "Type", REG_DWORD, Dword(2)),
                 CRegistryStoreError);
}

// A full disk: the commit fails and says so, the original is whole and nothing is left over,
// whether the backup or the new file could not be written.
TEST_F(HivexStoreTest, FullDiskLeavesTheOriginal) {
    for (const bool backupExists : {false, true}) {
        const std::string disk = Path(backupExists ? "disk2" : "disk1");
        if (!MountTmpfs(disk, "256k")) {
            GTEST_SKIP() << "cannot mount a small tmpfs";
        }
        const std::string hive = disk + "/SYSTEM";
        CTestHiveFile::WriteSystem(hive, {1, false, true, 30});
        if (backupExists) {
            fs::copy_file(hive, hive + ".qser-backup");
        }
        const std::string before = ReadAll(hive);
        std::string reason;
        auto store = Open(hive, EHiveOpen::MustExist, reason);
        {
            std::ofstream filler(disk + "/filler", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), block.size()) && filler.flush()) {
            }
        }
        ASSERT_TRUE(store->Begin(true));
        ASSERT_EQ(store->WriteValue(Find(*store, kSerial), "Start", REG_DWORD, Dword(4)), 0u);
        EXPECT_FALSE(store->Commit());
        EXPECT_EQ(store->FailureReason(), "the disk is full");
        EXPECT_FALSE(store->InTransaction());
        EXPECT_EQ(ReadAll(hive), before);
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(disk)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, backupExists
                             ? (std::vector<std::string>{"SYSTEM", "SYSTEM.qser-backup", "filler"})
                             : (std::vector<std::string>{"SYSTEM", "filler"}));
        SHiveValue value;
        ASSERT_EQ(store->ReadValue(Find(*store, kSerial), "Start", value), ERROR_SUCCESS);
        EXPECT_EQ(value.data, Dword(1)) << "the failed change is gone from memory too";
    }
}

// Another store object on the file commits: this one loads the file again, its ids still name
// the same keys, and DataVersion moves for that commit but never for its own.
TEST_F(HivexStoreTest, OtherCommitsAreSeenAndIdsStayValid) {
    MakeHive();
    auto mine = Open();
    auto other = Open();
    const HiveKeyId serial = Find(*mine, kSerial);
    const HiveKeyId tcpip = Find(*mine, kTcpip);
    const std::int64_t start = mine->DataVersion();

    ASSERT_TRUE(other->Begin(true));
    Create(*other, "SYSTEM\\CurrentControlSet\\Services\\AAA");
    ASSERT_EQ(other->WriteValue(Find(*other, kSerial), "Start", REG_DWORD, Dword(7)), 0u);
    ASSERT_TRUE(other->Commit());
    EXPECT_EQ(other->DataVersion(), 0);

    EXPECT_GT(mine->DataVersion(), start);
    const std::int64_t seen = mine->DataVersion();
    EXPECT_EQ(mine->DataVersion(), seen) << "moves once per change";
    SHiveValue value;
    ASSERT_EQ(mine->ReadValue(serial, "Start", value), ERROR_SUCCESS);
    EXPECT_EQ(value.data, Dword(7));
    EXPECT_EQ(mine->KeyPath(tcpip), kTcpip);

    ASSERT_TRUE(mine->Begin(true));
    ASSERT_EQ(mine->WriteValue(tcpip, "Hostname", REG_SZ, Bytes("MINE", 5)), 0u);
    ASSERT_TRUE(mine->Commit());
    EXPECT_EQ(mine->DataVersion(), seen);
    ASSERT_EQ(other->ReadValue(Find(*other, kTcpip), "Hostname", value), ERROR_SUCCESS);
    EXPECT_EQ(Text(value), std::string("MINE", 5));
}

// A deleted key's id is dead for good: a key made again under its name gets a new id. A rolled
// back deletion brings the key and its id back; a rolled back creation forgets the key.
TEST_F(HivexStoreTest, DeletedKeysKeepTheirIdsDead) {
    MakeHive();
    auto store = Open();
    const std::string path = std::string(kBoard);
    ASSERT_TRUE(store->Begin(true));
    const HiveKeyId board = Create(*store, path);
    ASSERT_TRUE(store->Commit());

    ASSERT_TRUE(store->Begin(true));
    store->DeleteTree(Find(*store, "SYSTEM\\CurrentControlSet\\Services\\QSERDRV"));
    EXPECT_EQ(store->WriteValue(board, "x", REG_DWORD, Dword(1)), ERROR_KEY_DELETED);
    store->Rollback();
    EXPECT_EQ(store->WriteValue(board, "x", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    EXPECT_EQ(store->KeyPath(board), path);

    ASSERT_TRUE(store->Begin(true));
    store->DeleteKey(board);
    const HiveKeyId again = Create(*store, path);
    EXPECT_NE(again, board);
    ASSERT_TRUE(store->Commit());
    EXPECT_EQ(store->WriteValue(board, "x", REG_DWORD, Dword(1)), ERROR_KEY_DELETED);
    SHiveValue value;
    EXPECT_EQ(store->ReadValue(board, "x", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store->KeyPath(board), "");

    ASSERT_TRUE(store->Begin(true));
    const HiveKeyId fresh = Create(*store, path + "\\Port0");
    store->Rollback();
    EXPECT_EQ(store->WriteValue(fresh, "x", REG_DWORD, Dword(1)), ERROR_KEY_DELETED);
    std::vector<std::string> names;
    CHivePath::Split(path + "\\Port0", names);
    HiveKeyId id = 0;
    EXPECT_EQ(store->FindPath(0, names, id), ERROR_FILE_NOT_FOUND);
}

// Walks by position and by name see the hive's order and skip names no path can hold.
TEST_F(HivexStoreTest, WalksFollowTheHiveOrder) {
    MakeHive();
    auto store = Open();
    const HiveKeyId set = Find(*store, "SYSTEM\\CurrentControlSet");
    std::vector<std::string> names;
    store->SubKeysAt(set, 1, 10, names);
    EXPECT_EQ(names, std::vector<std::string>{"Services"});
    store->SubKeysAfter(set, "CONTROL", 10, names);
    EXPECT_EQ(names, std::vector<std::string>{"Services"});
    store->SubKeysAfter(set, "Missing", 10, names);
    EXPECT_EQ(names, std::vector<std::string>{"Services"}) << "goes on where it would stand";
    EXPECT_TRUE(store->HasSubKeys(set));
    EXPECT_FALSE(store->HasSubKeys(Find(*store, "SYSTEM\\MountedDevices")));
}
