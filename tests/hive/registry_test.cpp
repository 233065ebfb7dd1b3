#include "hive.h"
#include "hivebatch.h"
#include "rawdatabase.h"
#include "registry.h"
#include "storetest.h"
#include "temphive.h"
#include "testkeypaths.h"
#include "testnames.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<std::uint8_t>;

const std::string kK = TestKey("K");
const std::string kP = TestKey("P");

class RegistryFixture : public ::testing::Test {
protected:
    explicit RegistryFixture(ETestStore store) : m_hive(store) {}

    Win32Status Open(CRegistry& registry, const std::string& path, int flag) {
        return registry.OpenKey(path, "", KEY_ALL_ACCESS, flag);
    }
    // The value as the store holds it.
    SHiveValue Stored(const std::string& path, const std::string& name) {
        HiveKeyId key = 0;
        SHiveValue value;
        EXPECT_EQ(m_hive.Hive().FindKey(path, key), ERROR_SUCCESS);
        EXPECT_EQ(m_hive.Hive().ReadValue(key, name, value), ERROR_SUCCESS);
        return value;
    }
    std::vector<std::string> Enumerate(const std::string& path) {
        CRegistry registry;
        EXPECT_EQ(Open(registry, path, 1), ERROR_SUCCESS);
        std::vector<std::string> names;
        char name[80];
        for (std::uint32_t index = 0;; ++index) {
            std::uint32_t size = sizeof name;
            Win32Status status = registry.EunmKey(index, name, size);
            if (status != ERROR_SUCCESS) {
                EXPECT_EQ(status, ERROR_NO_MORE_ITEMS);
                return names;
            }
            EXPECT_EQ(size, std::strlen(name) + 1);
            names.push_back(name);
        }
    }
    void CreateKeys(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            CRegistry registry;
            ASSERT_EQ(Open(registry, path, 0), ERROR_SUCCESS) << path;
        }
    }

    CTempHive m_hive;
};

using RegistryTest = CStoreTest<RegistryFixture>;

// Hand-edited rows of the SQLite file; the Windows hive file's own damage is tested with its
// store (hivexstore_test.cpp).
class RegistrySqliteTest : public RegistryFixture {
protected:
    RegistrySqliteTest() : RegistryFixture(ETestStore::Sqlite) {}
};
} // namespace

TEST_P(RegistryTest, OpenWithFlagZeroCreatesKeyAndMissingParents) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "SYSTEM\\CurrentControlSet\\Services\\QSERDRV", 0), ERROR_SUCCESS);
    for (const char* path :
         {"SYSTEM", "SYSTEM\\CurrentControlSet", "SYSTEM\\CurrentControlSet\\Services\\QSERDRV"}) {
        CRegistry existing;
        EXPECT_EQ(Open(existing, path, 1), ERROR_SUCCESS) << path;
    }
}

TEST_P(RegistryTest, OpenWithFlagOneOnMissingKeyFailsAndCreatesNothing) {
    CRegistry registry;
    EXPECT_EQ(Open(registry, TestKey("Missing"), 1), ERROR_FILE_NOT_FOUND);
    HiveKeyId key = 0;
    EXPECT_EQ(m_hive.Hive().FindKey(kTestRoot, key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.WriteValue("x", 1u), ERROR_INVALID_HANDLE);
}

TEST_P(RegistryTest, InvalidPathsAreRejectedByEveryOperation) {
    const std::string a = TestKey("A");
    CreateKeys({a + "\\B"});
    const std::string longName(256, 'k');
    for (const std::string& path :
         {std::string(), "\\" + a, a + "\\", a + "\\\\B", std::string("\\"), a + "\\" + longName}) {
        CRegistry registry;
        EXPECT_EQ(Open(registry, path, 0), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(Open(registry, path, 1), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(registry.DeleteKey(path), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(registry.DeleteKeyTree(path), ERROR_INVALID_PARAMETER) << path;
    }
    // Nothing acted on the parent because a name was empty.
    EXPECT_EQ(Enumerate(a), std::vector<std::string>{"B"});
    CRegistry longest;
    EXPECT_EQ(Open(longest, a + "\\" + std::string(255, 'k'), 0), ERROR_SUCCESS);
}

TEST_P(RegistryTest, OperationsWithoutAnOpenKeyFailWithInvalidHandle) {
    const std::string a = TestKey("A");
    CreateKeys({a + "\\B"});
    CRegistry registry;
    char buffer[80];
    std::uint32_t size = sizeof buffer;
    std::uint32_t number = 0;
    const std::uint8_t bytes[] = {1, 2};
    auto expectInvalidHandle = [&] {
        EXPECT_EQ(registry.ReadValue("v", buffer, size), ERROR_INVALID_HANDLE);
        EXPECT_EQ(registry.ReadValue("v", number), ERROR_INVALID_HANDLE);
        EXPECT_EQ(registry.WriteValue("v", std::string("t")), ERROR_INVALID_HANDLE);
        EXPECT_EQ(registry.WriteValue("v", 7u), ERROR_INVALID_HANDLE);
        EXPECT_EQ(registry.WriteValue("v", bytes, 2), ERROR_INVALID_HANDLE);
        EXPECT_EQ(registry.EunmKey(0, buffer, size), ERROR_INVALID_HANDLE);
    };
    expectInvalidHandle();
    ASSERT_EQ(Open(registry, a, 1), ERROR_SUCCESS);
    registry.CloseKey();
    expectInvalidHandle();
    ASSERT_EQ(Open(registry, a, 1), ERROR_SUCCESS);
    EXPECT_EQ(Open(registry, a + "\\Missing", 1), ERROR_FILE_NOT_FOUND);
    expectInvalidHandle(); // a failed open leaves no key open
}

TEST_P(RegistryTest, WithoutCurrentHiveEveryOperationFailsWithInvalidHandle) {
    CProcessScope noHive({.hive = static_cast<CHive*>(nullptr)});
    CRegistry registry;
    EXPECT_EQ(Open(registry, TestKey("A"), 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.DeleteKey(TestKey("A")), ERROR_INVALID_HANDLE);
    CRegistry explicitHive(m_hive.Hive());
    EXPECT_EQ(Open(explicitHive, TestKey("A"), 0), ERROR_SUCCESS);
}

TEST_P(RegistryTest, NamesCompareCaseInsensitivelyAndKeepTheirCase) {
    CreateKeys({TestKey("MixedCase")});
    CRegistry registry;
    ASSERT_EQ(Open(registry, "system\\CURRENTCONTROLSET\\services\\QSERTEST\\mixedcase", 0),
              ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("PortName", std::string("COM3")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("PORTNAME", std::string("COM4")), ERROR_SUCCESS);
    EXPECT_EQ(Enumerate("SYSTEM\\currentcontrolset\\SERVICES\\qsertest"),
              std::vector<std::string>{"MixedCase"});
    std::vector<SHiveValue> values;
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey(TestKey("MixedCase"), key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().Values(key, values), ERROR_SUCCESS);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "PortName");
    EXPECT_EQ(values[0].data, (Bytes{'C', 'O', 'M', '4', 0}));
}

TEST_P(RegistryTest, ValuesAreStoredWithTheOriginalTypesAndBytes) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, kK, 0), ERROR_SUCCESS);
    const std::uint8_t binary[] = {0x00, 0xff, 0x10};
    ASSERT_EQ(registry.WriteValue("Text", std::string("0x2d0")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Latin1", std::string("\xe9t\xe9")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Empty", std::string()), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Number", 0x12345678u), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Binary", binary, 3), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("NoBytes", nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(registry.WriteValue("Bad", nullptr, 4), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(Stored(kK, "Text"), (SHiveValue{"Text", REG_SZ, {'0', 'x', '2', 'd', '0', 0}}));
    EXPECT_EQ(Stored(kK, "Latin1"), (SHiveValue{"Latin1", REG_SZ, {0xe9, 't', 0xe9, 0}}));
    EXPECT_EQ(Stored(kK, "Empty"), (SHiveValue{"Empty", REG_SZ, {0}}));
    EXPECT_EQ(Stored(kK, "Number"), (SHiveValue{"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}}));
    EXPECT_EQ(Stored(kK, "Binary"), (SHiveValue{"Binary", REG_BINARY, {0x00, 0xff, 0x10}}));
    EXPECT_EQ(Stored(kK, "NoBytes"), (SHiveValue{"NoBytes", REG_BINARY, {}}));

    std::uint32_t number = 0;
    EXPECT_EQ(registry.ReadValue("Number", number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0x12345678u);
}

TEST_P(RegistryTest, ReadTextNeverWritesPastTheBuffer) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, kK, 0), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("V", std::string("COM12")), ERROR_SUCCESS);
    struct SCase {
        std::uint32_t size;
        Win32Status status;
        std::uint32_t sizeAfter;
    };
    for (const SCase& c : {SCase{5, ERROR_MORE_DATA, 6}, SCase{0, ERROR_MORE_DATA, 6},
                           SCase{6, ERROR_SUCCESS, 6}, SCase{60, ERROR_SUCCESS, 6}}) {
        std::vector<char> buffer(c.size + 1, '#'); // the last byte guards
        std::uint32_t size = c.size;
        EXPECT_EQ(registry.ReadValue("V", buffer.data(), size), c.status) << c.size;
        EXPECT_EQ(size, c.sizeAfter) << c.size;
        EXPECT_EQ(buffer[c.size], '#') << c.size;
        if (c.status == ERROR_SUCCESS) {
            EXPECT_STREQ(buffer.data(), "COM12");
        }
    }
}

TEST_P(RegistryTest, ReadFailsOnMissingValueAndOnTypeMismatch) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, kK, 0), ERROR_SUCCESS);
    const std::uint8_t bytes[] = {1, 2, 3, 4};
    ASSERT_EQ(registry.WriteValue("Text", std::string("7")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Number", 7u), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Binary", bytes, 4), ERROR_SUCCESS);
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey(kK, key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().WriteValue(key, "ShortDword", REG_DWORD, {1, 2, 3}), ERROR_SUCCESS);

    char buffer[60];
    std::uint32_t size = sizeof buffer;
    std::uint32_t number = 0;
    EXPECT_EQ(registry.ReadValue("Missing", buffer, size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.ReadValue("Missing", number), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.ReadValue("Number", buffer, size), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.ReadValue("Binary", buffer, size), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.ReadValue("Text", number), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.ReadValue("Binary", number), ERROR_INVALID_DATA);
    EXPECT_EQ(registry.ReadValue("ShortDword", number), ERROR_INVALID_DATA);
}

TEST_P(RegistryTest, TextReadsUpToTheFirstZeroOrTheEnd) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, kK, 0), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Embedded", std::string("ab\0cd", 5)), ERROR_SUCCESS);
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey(kK, key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().WriteValue(key, "Unterminated", REG_SZ, {'x', 'y', 'z'}),
              ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().WriteValue(key, "Expand", REG_EXPAND_SZ, {'%', 'X', '%', 0}),
              ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().WriteValue(key, "NoBytes", REG_SZ, {}), ERROR_SUCCESS);
    struct SCase {
        const char* name;
        const char* text;
    };
    for (const SCase& c : {SCase{"Embedded", "ab"}, SCase{"Unterminated", "xyz"},
                           SCase{"Expand", "%X%"}, SCase{"NoBytes", ""}}) {
        char buffer[60];
        std::memset(buffer, 'q', sizeof buffer);
        std::uint32_t size = sizeof buffer;
        EXPECT_EQ(registry.ReadValue(c.name, buffer, size), ERROR_SUCCESS) << c.name;
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(size, std::strlen(c.text) + 1);
    }
    char small[3];
    std::uint32_t size = sizeof small;
    EXPECT_EQ(registry.ReadValue("Unterminated", small, size), ERROR_MORE_DATA);
}

TEST_P(RegistryTest, SubKeysEnumerateInCaseInsensitiveOrder) {
    CreateKeys({kP + "\\port002", kP + "\\Board", kP + "\\PORT001", kP + "\\a",
                kP + "\\Port000\\Child", TestKey("Q\\Other")});
    EXPECT_EQ(Enumerate(kP),
              (std::vector<std::string>{"a", "Board", "Port000", "PORT001", "port002"}));
    EXPECT_EQ(Enumerate(kP + "\\Board"), std::vector<std::string>{});
}

TEST_P(RegistryTest, EnumerationAllowsRandomAccessAndSmallBuffers) {
    CreateKeys({kP + "\\K0", kP + "\\K1", kP + "\\K2", kP + "\\LongerName"});
    CRegistry registry;
    ASSERT_EQ(Open(registry, kP, 1), ERROR_SUCCESS);
    char name[80];
    struct SCase {
        std::uint32_t index;
        Win32Status status;
        const char* name;
    };
    for (const SCase& c :
         {SCase{2, ERROR_SUCCESS, "K2"}, SCase{0, ERROR_SUCCESS, "K0"},
          SCase{1, ERROR_SUCCESS, "K1"}, SCase{1, ERROR_SUCCESS, "K1"},
          SCase{3, ERROR_SUCCESS, "LongerName"}, SCase{4, ERROR_NO_MORE_ITEMS, ""},
          SCase{3, ERROR_SUCCESS, "LongerName"}, SCase{100, ERROR_NO_MORE_ITEMS, ""}}) {
        std::uint32_t size = sizeof name;
        ASSERT_EQ(registry.EunmKey(c.index, name, size), c.status) << c.index;
        if (c.status == ERROR_SUCCESS) {
            EXPECT_STREQ(name, c.name) << c.index;
        }
    }
    std::vector<char> small(5, '#');
    std::uint32_t size = 4;
    EXPECT_EQ(registry.EunmKey(3, small.data(), size), ERROR_MORE_DATA);
    EXPECT_EQ(small[4], '#');
}

TEST_P(RegistryTest, EnumerationFollowsKeysCreatedAndDeletedBetweenCalls) {
    CreateKeys({kP + "\\B", kP + "\\D", kP + "\\F"});
    CRegistry registry;
    ASSERT_EQ(Open(registry, kP, 1), ERROR_SUCCESS);
    char name[80];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(registry.EunmKey(0, name, size), ERROR_SUCCESS);
    ASSERT_STREQ(name, "B");
    CreateKeys({kP + "\\A"}); // now A B D F: index 1 is B again
    size = sizeof name;
    ASSERT_EQ(registry.EunmKey(1, name, size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "B");
    CRegistry deleter;
    ASSERT_EQ(deleter.DeleteKey(kP + "\\D"), ERROR_SUCCESS); // now A B F
    size = sizeof name;
    ASSERT_EQ(registry.EunmKey(2, name, size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "F");
    size = sizeof name;
    EXPECT_EQ(registry.EunmKey(3, name, size), ERROR_NO_MORE_ITEMS);
}

TEST_P(RegistryTest, ValuesKeepCreationOrderAcrossOverwrites) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, kK, 0), ERROR_SUCCESS);
    for (const char* name : {"Zeta", "alpha", "Mid"}) {
        ASSERT_EQ(registry.WriteValue(name, 1u), ERROR_SUCCESS);
    }
    ASSERT_EQ(registry.WriteValue("ALPHA", std::string("again")), ERROR_SUCCESS);
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    ASSERT_EQ(m_hive.Hive().FindKey(kK, key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().Values(key, values), ERROR_SUCCESS);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].name, "Zeta");
    EXPECT_EQ(values[1], (SHiveValue{"alpha", REG_SZ, {'a', 'g', 'a', 'i', 'n', 0}}));
    EXPECT_EQ(values[2].name, "Mid");
}

TEST_P(RegistryTest, DeleteKeyRefusesKeysWithSubKeys) {
    CreateKeys({TestKey("Root\\Board000\\Port000")});
    CRegistry registry;
    EXPECT_EQ(registry.DeleteKey(TestKey("Root\\Board000")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Enumerate(TestKey("Root\\Board000")), std::vector<std::string>{"Port000"});
    EXPECT_EQ(registry.DeleteKey(TestKey("Root\\Board001")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.DeleteKey(TestKey("ROOT\\board000\\PORT000")), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteKey(TestKey("Root\\Board000")), ERROR_SUCCESS);
    EXPECT_EQ(Enumerate(TestKey("Root")), std::vector<std::string>{});
}

TEST_P(RegistryTest, DeleteKeyTreeRemovesTheSubtreeWithItsValues) {
    CreateKeys({TestKey("Enum\\Root\\Ports\\0000\\LogConfig"), TestKey("Enum\\Root\\Ports\\0001")});
    {
        CRegistry registry;
        ASSERT_EQ(Open(registry, TestKey("Enum\\Root\\Ports\\0000\\LogConfig"), 1), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("BasicConfig0000", 1u), ERROR_SUCCESS);
        ASSERT_EQ(Open(registry, TestKey("Enum\\Root\\Ports\\0000"), 1), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("PortName", std::string("COM3")), ERROR_SUCCESS);
    }
    CRegistry registry;
    EXPECT_EQ(registry.DeleteKeyTree(TestKey("Enum\\Root\\Ports\\0000")), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteKeyTree(TestKey("Enum\\Root\\Ports\\0000")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Enumerate(TestKey("Enum\\Root\\Ports")), std::vector<std::string>{"0001"});
    // A key made again under the old name is empty: nothing of the subtree is left over.
    CreateKeys({TestKey("Enum\\Root\\Ports\\0000")});
    EXPECT_EQ(Enumerate(TestKey("Enum\\Root\\Ports\\0000")), std::vector<std::string>{});
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    ASSERT_EQ(m_hive.Hive().FindKey(TestKey("Enum\\Root\\Ports\\0000"), key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().Values(key, values), ERROR_SUCCESS);
    EXPECT_TRUE(values.empty());
    if (GetParam() == ETestStore::Sqlite) {
        // Only rows can be orphaned: the hive file's cells go with their key.
        ASSERT_EQ(registry.DeleteKeyTree(TestKey("Enum\\Root\\Ports\\0000")), ERROR_SUCCESS);
        CRawDatabase raw(m_hive.FilePath());
        EXPECT_EQ(raw.Text("SELECT count(*) FROM vals"), "0");
        // SYSTEM, CurrentControlSet, Services, QserTest, Enum, Root, Ports and 0001.
        EXPECT_EQ(raw.Text("SELECT count(*) FROM keys"), "8");
    }
}

TEST_P(RegistryTest, WritingToAKeyDeletedMeanwhileFails) {
    CRegistry writer;
    ASSERT_EQ(Open(writer, TestKey("Services\\Gone"), 0), ERROR_SUCCESS);
    CRegistry deleter;
    ASSERT_EQ(deleter.DeleteKey(TestKey("Services\\Gone")), ERROR_SUCCESS);
    EXPECT_EQ(writer.WriteValue("V", 1u), ERROR_KEY_DELETED);
    CreateKeys({TestKey("Services\\Gone")}); // a new key of the same name is another key
    EXPECT_EQ(writer.WriteValue("V", 1u), ERROR_KEY_DELETED);
    std::uint32_t number = 0;
    CRegistry reader;
    ASSERT_EQ(Open(reader, TestKey("Services\\Gone"), 1), ERROR_SUCCESS);
    EXPECT_EQ(reader.ReadValue("V", number), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistrySqliteTest, HandEditedRowsReadAsFailuresWithoutCrashing) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, kK, 0), ERROR_SUCCESS);
    for (const char* name : {"NullData", "TextData", "TextType", "HugeType", "Good"}) {
        ASSERT_EQ(registry.WriteValue(name, std::string("x")), ERROR_SUCCESS);
    }
    {
        CRawDatabase raw(m_hive.FilePath());
        // Another tool may have rebuilt the table without our constraints.
        ASSERT_EQ(raw.Exec("CREATE TABLE copy AS SELECT * FROM vals; DROP TABLE vals;"
                           "CREATE TABLE vals(key, name COLLATE NOCASE, type, data, seq,"
                           "  PRIMARY KEY(key, name)) WITHOUT ROWID;"
                           "INSERT INTO vals SELECT * FROM copy; DROP TABLE copy;"
                           "UPDATE vals SET data = NULL WHERE name = 'NullData';"
                           "UPDATE vals SET data = 'abc' WHERE name = 'TextData';"
                           "UPDATE vals SET type = 'REG_SZ' WHERE name = 'TextType';"
                           "UPDATE vals SET type = 1 << 40 WHERE name = 'HugeType';"),
                  0);
    }
    for (const char* name : {"NullData", "TextData", "TextType", "HugeType"}) {
        char buffer[60];
        std::uint32_t size = sizeof buffer;
        std::uint32_t number = 0;
        EXPECT_EQ(registry.ReadValue(name, buffer, size), ERROR_INVALID_DATA) << name;
        EXPECT_EQ(registry.ReadValue(name, number), ERROR_INVALID_DATA) << name;
    }
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    ASSERT_EQ(m_hive.Hive().FindKey(kK, key), ERROR_SUCCESS);
    EXPECT_EQ(m_hive.Hive().Values(key, values), ERROR_INVALID_DATA);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "Good");
}

TEST_P(RegistryTest, LongEnumerationSeesChangesAheadOfTheWalk) {
    std::vector<std::string> expected;
    {
        CHiveBatch batch;
        for (int i = 0; i < 300; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "Key%03d", (i * 7) % 300); // created out of order
            CreateKeys({kP + "\\" + name});
        }
        ASSERT_EQ(batch.Commit(), ECommitStatus::Committed);
    }
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Key%03d", i);
        if (i != 250) {
            expected.push_back(name);
        }
    }
    expected.push_back("zzz");
    CRegistry registry;
    ASSERT_EQ(Open(registry, kP, 1), ERROR_SUCCESS);
    std::vector<std::string> walked;
    char name[80];
    std::uint32_t size = sizeof name;
    for (std::uint32_t index = 0; registry.EunmKey(index, name, size) == ERROR_SUCCESS; ++index) {
        walked.push_back(name);
        size = sizeof name;
        if (index == 100) {
            CreateKeys({kP + "\\zzz"});
            CRegistry deleter;
            ASSERT_EQ(deleter.DeleteKey(kP + "\\Key250"), ERROR_SUCCESS);
        }
    }
    EXPECT_EQ(walked, expected);
}

// Names a key path cannot hold (edited by hand) are not enumerated, so a walk that opens each
// sub-key by path never fails on them, also when it reads ahead in windows and seeks after the
// last name. The typed access still shows them, to name them.
TEST_F(RegistrySqliteTest, EnumerationSkipsSubKeysWhoseNamesNoPathCanHold) {
    std::vector<std::string> good;
    for (int i = 0; i < 40; ++i) {
        good.push_back(std::string("K") + static_cast<char>('A' + i / 10) +
                       static_cast<char>('0' + i % 10));
        CreateKeys({kP + "\\" + good.back()});
    }
    HiveKeyId parent = 0;
    ASSERT_EQ(m_hive.Hive().FindKey(kP, parent), ERROR_SUCCESS);
    {
        CRawDatabase raw(m_hive.FilePath());
        const std::string p = std::to_string(parent);
        ASSERT_EQ(raw.Exec("INSERT INTO keys(parent, name) VALUES(" + p + ", X'4b4231'), (" + p +
                           ", 'KA1\\x'), (" + p + ", ''), (" + p + ", X'4b41315c'), (" + p + ", '" +
                           std::string(256, 'K') + "')"),
                  0);
    }
    EXPECT_EQ(Enumerate(kP), good);
    std::vector<std::string> names;
    ASSERT_EQ(m_hive.Hive().SubKeyNames(parent, names), ERROR_SUCCESS);
    EXPECT_EQ(names, good);
    std::vector<SHiveSubKey> all;
    ASSERT_EQ(m_hive.Hive().SubKeys(parent, all), ERROR_SUCCESS);
    EXPECT_EQ(all.size(), good.size() + 5);
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const auto& k) { return !k.bText; }), 2);
    CRegistry registry;
    ASSERT_EQ(Open(registry, kP, 1), ERROR_SUCCESS);
    char name[80];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(registry.EunmKey(39, name, size), ERROR_SUCCESS); // by position
    EXPECT_EQ(std::string(name), good.back());
}

// Both orders fold case; SQLite's NOCASE folds to lower case, Windows to upper case (hivex
// inserts as Windows sorts, and a hive file from Windows comes sorted so). They agree on letters
// and digits, which is all the names the system makes hold; the six characters between 'Z' and
// 'a' sort on the other side of the letters.
TEST_P(RegistryTest, SubKeysWithPunctuationEnumerateInTheOrderOfTheirStore) {
    CreateKeys(
        {kP + "\\a", kP + "\\_x", kP + "\\B", kP + "\\[y", kP + "\\ab", kP + "\\a_", kP + "\\~t"});
    const std::vector<std::string> lowerFolded = {"[y", "_x", "a", "a_", "ab", "B", "~t"};
    const std::vector<std::string> upperFolded = {"a", "ab", "a_", "B", "[y", "_x", "~t"};
    EXPECT_EQ(Enumerate(kP), GetParam() == ETestStore::Sqlite ? lowerFolded : upperFolded);
}

// A walk reads names ahead in windows and goes on after the last name of a window; when another
// program deleted that name meanwhile, the walk goes on where it stood, whatever characters the
// names hold: nothing is returned twice or skipped.
TEST_P(RegistryTest, WalkGoesOnWhereANameDeletedByAnotherProgramStood) {
    for (int i = 0; i < 14; ++i) {
        CreateKeys({kP + "\\A" + (i < 10 ? "0" : "") + std::to_string(i)});
    }
    CreateKeys({kP + "\\Ba", kP + "\\B_", kP + "\\C0", kP + "\\C1"});
    const std::vector<std::string> all = Enumerate(kP);
    ASSERT_EQ(all.size(), 18u);
    std::unique_ptr<CHive> other = CHive::Open(m_hive.FilePath(), EHiveOpen::MustExist);
    CRegistry registry;
    ASSERT_EQ(Open(registry, kP, 1), ERROR_SUCCESS);
    std::vector<std::string> walked;
    char name[80];
    std::uint32_t size = sizeof name;
    for (std::uint32_t index = 0; registry.EunmKey(index, name, size) == ERROR_SUCCESS; ++index) {
        walked.push_back(name);
        size = sizeof name;
        if (index == 15) { // the last name of the first window
            ASSERT_EQ(other->DeleteKey(kP + "\\" + name, false), ERROR_SUCCESS);
        }
    }
    EXPECT_EQ(walked, all);
}

QSER_ON_BOTH_STORES(RegistryTest);
