#include "hive.h"
#include "hivebatch.h"
#include "rawdatabase.h"
#include "registry.h"
#include "temphive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
using Bytes = std::vector<std::uint8_t>;

class RegistryTest : public ::testing::Test {
protected:
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
} // namespace

TEST_F(RegistryTest, OpenWithFlagZeroCreatesKeyAndMissingParents) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "SYSTEM\\CurrentControlSet\\Services\\QSERDRV", 0), ERROR_SUCCESS);
    for (const char* path :
         {"SYSTEM", "SYSTEM\\CurrentControlSet", "SYSTEM\\CurrentControlSet\\Services\\QSERDRV"}) {
        CRegistry existing;
        EXPECT_EQ(Open(existing, path, 1), ERROR_SUCCESS) << path;
    }
}

TEST_F(RegistryTest, OpenWithFlagOneOnMissingKeyFailsAndCreatesNothing) {
    CRegistry registry;
    EXPECT_EQ(Open(registry, "SYSTEM\\Missing", 1), ERROR_FILE_NOT_FOUND);
    HiveKeyId key = 0;
    EXPECT_EQ(m_hive.Hive().FindKey("SYSTEM", key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.WriteValue("x", 1u), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, InvalidPathsAreRejectedByEveryOperation) {
    CreateKeys({"A\\B"});
    const std::string longName(256, 'k');
    for (const std::string& path : {std::string(), std::string("\\A"), std::string("A\\"),
                                    std::string("A\\\\B"), std::string("\\"), "A\\" + longName}) {
        CRegistry registry;
        EXPECT_EQ(Open(registry, path, 0), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(Open(registry, path, 1), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(registry.DeleteKey(path), ERROR_INVALID_PARAMETER) << path;
        EXPECT_EQ(registry.DeleteKeyTree(path), ERROR_INVALID_PARAMETER) << path;
    }
    // Nothing acted on the parent because a name was empty.
    EXPECT_EQ(Enumerate("A"), std::vector<std::string>{"B"});
    CRegistry longest;
    EXPECT_EQ(Open(longest, "A\\" + std::string(255, 'k'), 0), ERROR_SUCCESS);
}

TEST_F(RegistryTest, OperationsWithoutAnOpenKeyFailWithInvalidHandle) {
    CreateKeys({"A\\B"});
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
    ASSERT_EQ(Open(registry, "A", 1), ERROR_SUCCESS);
    registry.CloseKey();
    expectInvalidHandle();
    ASSERT_EQ(Open(registry, "A", 1), ERROR_SUCCESS);
    EXPECT_EQ(Open(registry, "A\\Missing", 1), ERROR_FILE_NOT_FOUND);
    expectInvalidHandle(); // a failed open leaves no key open
}

TEST_F(RegistryTest, WithoutCurrentHiveEveryOperationFailsWithInvalidHandle) {
    CProcessScope noHive({.hive = static_cast<CHive*>(nullptr)});
    CRegistry registry;
    EXPECT_EQ(Open(registry, "A", 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.DeleteKey("A"), ERROR_INVALID_HANDLE);
    CRegistry explicitHive(m_hive.Hive());
    EXPECT_EQ(Open(explicitHive, "A", 0), ERROR_SUCCESS);
}

TEST_F(RegistryTest, NamesCompareCaseInsensitivelyAndKeepTheirCase) {
    CreateKeys({"Software\\MixedCase"});
    CRegistry registry;
    ASSERT_EQ(Open(registry, "SOFTWARE\\mixedcase", 0), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("PortName", std::string("COM3")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("PORTNAME", std::string("COM4")), ERROR_SUCCESS);
    EXPECT_EQ(Enumerate("software"), std::vector<std::string>{"MixedCase"});
    std::vector<SHiveValue> values;
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey("Software\\MixedCase", key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().Values(key, values), ERROR_SUCCESS);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "PortName");
    EXPECT_EQ(values[0].data, (Bytes{'C', 'O', 'M', '4', 0}));
}

TEST_F(RegistryTest, ValuesAreStoredWithTheOriginalTypesAndBytes) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "K", 0), ERROR_SUCCESS);
    const std::uint8_t binary[] = {0x00, 0xff, 0x10};
    ASSERT_EQ(registry.WriteValue("Text", std::string("0x2d0")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Latin1", std::string("\xe9t\xe9")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Empty", std::string()), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Number", 0x12345678u), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Binary", binary, 3), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("NoBytes", nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(registry.WriteValue("Bad", nullptr, 4), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(Stored("K", "Text"), (SHiveValue{"Text", REG_SZ, {'0', 'x', '2', 'd', '0', 0}}));
    EXPECT_EQ(Stored("K", "Latin1"), (SHiveValue{"Latin1", REG_SZ, {0xe9, 't', 0xe9, 0}}));
    EXPECT_EQ(Stored("K", "Empty"), (SHiveValue{"Empty", REG_SZ, {0}}));
    EXPECT_EQ(Stored("K", "Number"), (SHiveValue{"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}}));
    EXPECT_EQ(Stored("K", "Binary"), (SHiveValue{"Binary", REG_BINARY, {0x00, 0xff, 0x10}}));
    EXPECT_EQ(Stored("K", "NoBytes"), (SHiveValue{"NoBytes", REG_BINARY, {}}));

    std::uint32_t number = 0;
    EXPECT_EQ(registry.ReadValue("Number", number), ERROR_SUCCESS);
    EXPECT_EQ(number, 0x12345678u);
}

TEST_F(RegistryTest, ReadTextNeverWritesPastTheBuffer) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "K", 0), ERROR_SUCCESS);
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

TEST_F(RegistryTest, ReadFailsOnMissingValueAndOnTypeMismatch) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "K", 0), ERROR_SUCCESS);
    const std::uint8_t bytes[] = {1, 2, 3, 4};
    ASSERT_EQ(registry.WriteValue("Text", std::string("7")), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Number", 7u), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Binary", bytes, 4), ERROR_SUCCESS);
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey("K", key), ERROR_SUCCESS);
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

TEST_F(RegistryTest, TextReadsUpToTheFirstZeroOrTheEnd) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "K", 0), ERROR_SUCCESS);
    ASSERT_EQ(registry.WriteValue("Embedded", std::string("ab\0cd", 5)), ERROR_SUCCESS);
    HiveKeyId key = 0;
    ASSERT_EQ(m_hive.Hive().FindKey("K", key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().WriteValue(key, "Unterminated", REG_SZ, {'x', 'y', 'z'}),
              ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().WriteValue(key, "Expand", REG_EXPAND_SZ, {'%', 'X', '%', 0}),
              ERROR_SUCCESS);
    struct SCase {
        const char* name;
        const char* text;
    };
    for (const SCase& c :
         {SCase{"Embedded", "ab"}, SCase{"Unterminated", "xyz"}, SCase{"Expand", "%X%"}}) {
        char buffer[60];
        std::uint32_t size = sizeof buffer;
        EXPECT_EQ(registry.ReadValue(c.name, buffer, size), ERROR_SUCCESS) << c.name;
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(size, std::strlen(c.text) + 1);
    }
    char small[3];
    std::uint32_t size = sizeof small;
    EXPECT_EQ(registry.ReadValue("Unterminated", small, size), ERROR_MORE_DATA);
}

TEST_F(RegistryTest, SubKeysEnumerateInCaseInsensitiveOrder) {
    CreateKeys({"P\\port002", "P\\Board", "P\\PORT001", "P\\a", "P\\Port000\\Child", "Q\\Other"});
    EXPECT_EQ(Enumerate("P"),
              (std::vector<std::string>{"a", "Board", "Port000", "PORT001", "port002"}));
    EXPECT_EQ(Enumerate("P\\Board"), std::vector<std::string>{});
}

TEST_F(RegistryTest, EnumerationAllowsRandomAccessAndSmallBuffers) {
    CreateKeys({"P\\K0", "P\\K1", "P\\K2", "P\\LongerName"});
    CRegistry registry;
    ASSERT_EQ(Open(registry, "P", 1), ERROR_SUCCESS);
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

TEST_F(RegistryTest, EnumerationFollowsKeysCreatedAndDeletedBetweenCalls) {
    CreateKeys({"P\\B", "P\\D", "P\\F"});
    CRegistry registry;
    ASSERT_EQ(Open(registry, "P", 1), ERROR_SUCCESS);
    char name[80];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(registry.EunmKey(0, name, size), ERROR_SUCCESS);
    ASSERT_STREQ(name, "B");
    CreateKeys({"P\\A"}); // now A B D F: index 1 is B again
    size = sizeof name;
    ASSERT_EQ(registry.EunmKey(1, name, size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "B");
    CRegistry deleter;
    ASSERT_EQ(deleter.DeleteKey("P\\D"), ERROR_SUCCESS); // now A B F
    size = sizeof name;
    ASSERT_EQ(registry.EunmKey(2, name, size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "F");
    size = sizeof name;
    EXPECT_EQ(registry.EunmKey(3, name, size), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryTest, ValuesKeepCreationOrderAcrossOverwrites) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "K", 0), ERROR_SUCCESS);
    for (const char* name : {"Zeta", "alpha", "Mid"}) {
        ASSERT_EQ(registry.WriteValue(name, 1u), ERROR_SUCCESS);
    }
    ASSERT_EQ(registry.WriteValue("ALPHA", std::string("again")), ERROR_SUCCESS);
    HiveKeyId key = 0;
    std::vector<SHiveValue> values;
    ASSERT_EQ(m_hive.Hive().FindKey("K", key), ERROR_SUCCESS);
    ASSERT_EQ(m_hive.Hive().Values(key, values), ERROR_SUCCESS);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].name, "Zeta");
    EXPECT_EQ(values[1], (SHiveValue{"alpha", REG_SZ, {'a', 'g', 'a', 'i', 'n', 0}}));
    EXPECT_EQ(values[2].name, "Mid");
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubKeys) {
    CreateKeys({"Root\\Board000\\Port000"});
    CRegistry registry;
    EXPECT_EQ(registry.DeleteKey("Root\\Board000"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Enumerate("Root\\Board000"), std::vector<std::string>{"Port000"});
    EXPECT_EQ(registry.DeleteKey("Root\\Board001"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.DeleteKey("ROOT\\board000\\PORT000"), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteKey("Root\\Board000"), ERROR_SUCCESS);
    EXPECT_EQ(Enumerate("Root"), std::vector<std::string>{});
}

TEST_F(RegistryTest, DeleteKeyTreeRemovesTheSubtreeWithItsValues) {
    CreateKeys({"Enum\\Root\\Ports\\0000\\LogConfig", "Enum\\Root\\Ports\\0001"});
    {
        CRegistry registry;
        ASSERT_EQ(Open(registry, "Enum\\Root\\Ports\\0000\\LogConfig", 1), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("BasicConfig0000", 1u), ERROR_SUCCESS);
        ASSERT_EQ(Open(registry, "Enum\\Root\\Ports\\0000", 1), ERROR_SUCCESS);
        ASSERT_EQ(registry.WriteValue("PortName", std::string("COM3")), ERROR_SUCCESS);
    }
    CRegistry registry;
    EXPECT_EQ(registry.DeleteKeyTree("Enum\\Root\\Ports\\0000"), ERROR_SUCCESS);
    EXPECT_EQ(registry.DeleteKeyTree("Enum\\Root\\Ports\\0000"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Enumerate("Enum\\Root\\Ports"), std::vector<std::string>{"0001"});
    CRawDatabase raw(m_hive.FilePath());
    EXPECT_EQ(raw.Text("SELECT count(*) FROM vals"), "0");
    EXPECT_EQ(raw.Text("SELECT count(*) FROM keys"), "4");
}

TEST_F(RegistryTest, WritingToAKeyDeletedMeanwhileFails) {
    CRegistry writer;
    ASSERT_EQ(Open(writer, "Services\\Gone", 0), ERROR_SUCCESS);
    CRegistry deleter;
    ASSERT_EQ(deleter.DeleteKey("Services\\Gone"), ERROR_SUCCESS);
    EXPECT_EQ(writer.WriteValue("V", 1u), ERROR_KEY_DELETED);
    CreateKeys({"Services\\Gone"}); // a new key of the same name is another key
    EXPECT_EQ(writer.WriteValue("V", 1u), ERROR_KEY_DELETED);
    std::uint32_t number = 0;
    CRegistry reader;
    ASSERT_EQ(Open(reader, "Services\\Gone", 1), ERROR_SUCCESS);
    EXPECT_EQ(reader.ReadValue("V", number), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HandEditedRowsReadAsFailuresWithoutCrashing) {
    CRegistry registry;
    ASSERT_EQ(Open(registry, "K", 0), ERROR_SUCCESS);
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
    ASSERT_EQ(m_hive.Hive().FindKey("K", key), ERROR_SUCCESS);
    EXPECT_EQ(m_hive.Hive().Values(key, values), ERROR_INVALID_DATA);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "Good");
}

TEST_F(RegistryTest, LongEnumerationSeesChangesAheadOfTheWalk) {
    std::vector<std::string> expected;
    {
        CHiveBatch batch;
        for (int i = 0; i < 300; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "Key%03d", (i * 7) % 300); // created out of order
            CreateKeys({std::string("P\\") + name});
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
    ASSERT_EQ(Open(registry, "P", 1), ERROR_SUCCESS);
    std::vector<std::string> walked;
    char name[80];
    std::uint32_t size = sizeof name;
    for (std::uint32_t index = 0; registry.EunmKey(index, name, size) == ERROR_SUCCESS; ++index) {
        walked.push_back(name);
        size = sizeof name;
        if (index == 100) {
            CreateKeys({"P\\zzz"});
            CRegistry deleter;
            ASSERT_EQ(deleter.DeleteKey("P\\Key250"), ERROR_SUCCESS);
        }
    }
    EXPECT_EQ(walked, expected);
}

// Names a key path cannot hold (edited by hand) are not enumerated, so a walk that opens each
// sub-key by path never fails on them, also when it reads ahead in windows and seeks after the
// last name. The typed access still shows them, to name them.
TEST_F(RegistryTest, EnumerationSkipsSubKeysWhoseNamesNoPathCanHold) {
    std::vector<std::string> good;
    for (int i = 0; i < 40; ++i) {
        good.push_back(std::string("K") + static_cast<char>('A' + i / 10) +
                       static_cast<char>('0' + i % 10));
        CreateKeys({"P\\" + good.back()});
    }
    HiveKeyId parent = 0;
    ASSERT_EQ(m_hive.Hive().FindKey("P", parent), ERROR_SUCCESS);
    {
        CRawDatabase raw(m_hive.FilePath());
        const std::string p = std::to_string(parent);
        ASSERT_EQ(raw.Exec("INSERT INTO keys(parent, name) VALUES(" + p + ", X'4b4231'), (" + p +
                           ", 'KA1\\x'), (" + p + ", ''), (" + p + ", X'4b41315c'), (" + p + ", '" +
                           std::string(256, 'K') + "')"),
                  0);
    }
    EXPECT_EQ(Enumerate("P"), good);
    std::vector<std::string> names;
    ASSERT_EQ(m_hive.Hive().SubKeyNames(parent, names), ERROR_SUCCESS);
    EXPECT_EQ(names, good);
    std::vector<SHiveSubKey> all;
    ASSERT_EQ(m_hive.Hive().SubKeys(parent, all), ERROR_SUCCESS);
    EXPECT_EQ(all.size(), good.size() + 5);
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const auto& k) { return !k.bText; }), 2);
    CRegistry registry;
    ASSERT_EQ(Open(registry, "P", 1), ERROR_SUCCESS);
    char name[80];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(registry.EunmKey(39, name, size), ERROR_SUCCESS); // by position
    EXPECT_EQ(std::string(name), good.back());
}
