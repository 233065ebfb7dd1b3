#include "boardobj.h"
#include "documentfixture.h"
#include "portobj.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {
// The Serial service values the registration writes; no other value of the service key is ours.
const std::set<std::string> kSerialServiceValues = {
    "ErrorControl", "ForceFifoEnable", "Group", "Rxfifo", "Start", "Tag", "Txfifo", "Type"};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsBelow(const std::string& path, const std::string& parent) {
    return Lower(path).starts_with(Lower(parent) + "\\");
}

class OwnershipTest : public DocumentTest {
protected:
    CQSERDoc& Doc() { return m_session.Doc(); }
    CHiveProbe& Probe() { return m_session.Probe(); }

    std::vector<std::string> InstanceKeys(const std::string& instance) {
        if (IsNT()) {
            return {kSerialParameters + "\\" + instance};
        }
        return {kClassPorts + "\\" + instance, kEnumRootPorts + "\\" + instance,
                kEnumRootPorts + "\\" + instance + "\\LogConfig"};
    }
    bool InstanceExists(const std::string& instance) {
        bool all = true;
        for (const std::string& key : InstanceKeys(instance)) {
            all = all && Probe().Exists(key);
        }
        return all;
    }

    // The instance names of the family, written out here: "Serial" and three digits on
    // Windows NT, four digits on Windows 95/98.
    bool IsInstanceOfFamily(const std::string& text) const {
        const std::string prefix = IsNT() ? "Serial" : "";
        const std::size_t digits = IsNT() ? 3 : 4;
        return text.size() == prefix.size() + digits && text.starts_with(prefix) &&
               std::all_of(text.begin() + static_cast<std::ptrdiff_t>(prefix.size()), text.end(),
                           [](char c) { return c >= '0' && c <= '9'; });
    }

    // Makes a port name another port's instance, in its record and its key, as a hand edit or
    // a copied configuration does.
    void Name(const std::string& board, const std::string& port, const std::string& instance) {
        CPortObj* record = m_session.Port(board, port);
        ASSERT_NE(record, nullptr);
        record->SetPortSerialPort(instance);
        Probe().SetText(PortKey(board, port), "PortSerialPort", instance);
    }
    std::string InstanceOf(const std::string& board, const std::string& port) {
        CPortObj* record = m_session.Port(board, port);
        return record == nullptr ? std::string() : record->GetPortSerialPort();
    }

    void Delete(const std::string& path) {
        m_session.Click(path);
        m_session.AnswerYes();
        Doc().OnDelete();
    }
    void Save() {
        Doc().m_bConfigChanged = 1;
        Doc().OnFileSave();
    }

    // A board with two ports added one at a time.
    std::string AddTwoPortBoard() {
        std::string board = m_session.AddBoard("RX-202");
        Doc().OnAddPort();
        Doc().OnAddPort();
        return board;
    }
};
} // namespace

TEST_P(OwnershipTest, InstanceNamedByTwoPortsGoesOnlyWithTheLastOfThem) {
    const std::string first = AddTwoPortBoard();
    const std::string second = AddTwoPortBoard();
    const std::string shared = InstanceOf(first, "Port000");
    const std::string ownOfSecond = InstanceOf(second, "Port001");
    Name(first, "Port001", shared);
    Name(second, "Port000", shared);
    Save();
    ASSERT_TRUE(InstanceExists(shared));

    Delete("QSERDRV/" + first + "/Port001");
    EXPECT_TRUE(InstanceExists(shared));

    Delete("QSERDRV/" + second);
    EXPECT_TRUE(InstanceExists(shared));
    EXPECT_FALSE(Probe().Exists(InstanceKeys(ownOfSecond).front()));

    // Delete of a block model's ports: the instance another board's port names stays.
    const std::string block = m_session.AddBoard("RX-401");
    Doc().OnAddPort();
    const std::string ownOfBlock = InstanceOf(block, "Port000");
    Name(block, "Port003", shared);
    Save();
    Delete("QSERDRV/" + block + "/Port000");
    EXPECT_TRUE(m_session.PortNames(block).empty());
    EXPECT_TRUE(InstanceExists(shared));
    EXPECT_FALSE(Probe().Exists(InstanceKeys(ownOfBlock).front()));

    m_session.AnswerYes();
    Doc().OnFileNew();
    EXPECT_FALSE(Probe().Exists(InstanceKeys(shared).front()));
    if (!IsNT()) {
        EXPECT_FALSE(Probe().Exists(kEnumRootPorts + "\\" + shared));
    }
    EXPECT_TRUE(Probe().Exists(IsNT() ? kSerialParameters : kClassPorts));
}

// Every write and delete of a whole session, recorded by the hive as it is made, is of a key the
// system owns: the driver key's values and sub-keys, the Serial service values, and the instance
// keys that its ports name. Foreign keys beside them, and those a port without a valid instance
// name points at, stay exactly as they were.
TEST_P(OwnershipTest, ASessionWritesAndDeletesOnlyOwnedKeys) {
    // A name one digit too long, under the family's parent of instance keys.
    const std::string overlong = IsNT() ? "Serial0001" : "00001";
    const std::vector<std::string> foreignKeys = {kSerialParameters + "\\Serial000",
                                                  kSerialParameters + "\\Serial999",
                                                  kClassPorts + "\\0000",
                                                  kEnumRootPorts + "\\0000",
                                                  kSerialKey + "\\Enum",
                                                  InstanceKeys(overlong).front()};
    for (const std::string& key : foreignKeys) {
        Probe().SetText(key, "Owner", "another driver");
    }
    Probe().SetText(kSerialKey, "DisplayName", "Serial port driver");
    // The COM name database marks COM1, COM2, COM200 and COM256, which no port of ours takes.
    std::vector<std::uint8_t> comDB(32, 0);
    comDB[0] = 0x03;
    comDB[24] = 0x80;
    comDB[31] = 0x80;
    HiveKeyId arbiter = 0;
    ASSERT_EQ(m_session.Hive().CreateKey(kComNameArbiter, arbiter), ERROR_SUCCESS);
    ASSERT_EQ(m_session.Hive().WriteValue(arbiter, "ComDB", REG_BINARY, comDB), ERROR_SUCCESS);
    // A configuration brought in by hand whose port names no instance of its own.
    Probe().SetText(BoardKey("Board004"), "BoardType", "RX-202");
    Probe().SetText(PortKey("Board004", "Port000"), "PortSerialPort", "");
    Probe().SetText(PortKey("Board004", "Port001"), "PortSerialPort", "Parameters");
    Probe().SetText(PortKey("Board004", "Port002"), "PortSerialPort", "..\\Ports");
    Probe().SetText(PortKey("Board004", "Port003"), "PortSerialPort", overlong);
    Probe().SetText(PortKey("Board004", "Port004"), "PortSerialPort",
                    IsNT() ? "0000" : "Serial000");
    Probe().SetDword(PortKey("Board004", "Port005"), "PortSerialPort", 7);
    ASSERT_TRUE(m_session.Open(GetParam()));

    std::vector<SHiveWrite> writes;
    m_session.Hive().SetWriteObserver([&](const SHiveWrite& write) { writes.push_back(write); });
    std::set<std::string> named;
    std::set<unsigned> comNumbers;
    const auto noteNamed = [&] {
        for (const std::string& board : Probe().SubKeys(kDriverKey)) {
            for (const std::string& port : Probe().SubKeys(BoardKey(board))) {
                const SHiveValue com = Probe().HasValue(PortKey(board, port), "PortCOMPort")
                                           ? Probe().Value(PortKey(board, port), "PortCOMPort")
                                           : SHiveValue{};
                const std::string name(com.data.begin(), com.data.end());
                if (com.type == REG_SZ && name.starts_with("COM")) {
                    comNumbers.insert(static_cast<unsigned>(std::atoi(name.c_str() + 3)));
                }
                const SHiveValue value = Probe().Value(PortKey(board, port), "PortSerialPort");
                const std::string text =
                    value.data.empty() ? "" : std::string(value.data.begin(), value.data.end() - 1);
                if (value.type == REG_SZ && IsInstanceOfFamily(text)) {
                    named.insert(text);
                }
            }
        }
    };
    const std::vector<std::function<void()>> session = {
        [&] { AddTwoPortBoard(); },
        [&] {
            m_session.AddBoard("RX-401");
            Doc().OnAddPort();
        },
        [&] { Name("Board000", "Port001", InstanceOf("Board000", "Port000")); },
        [&] { Save(); },
        [&] { Delete("QSERDRV/Board000/Port000"); },
        [&] { Delete("QSERDRV/Board001/Port002"); },
        [&] { Save(); },
        [&] { Delete("QSERDRV/Board004/Port003"); },
        [&] { Delete("QSERDRV/Board004"); },
        [&] { Delete("QSERDRV/Board000"); },
        [&] {
            m_session.AnswerYes();
            Doc().OnFileNew();
        },
        [&] {
            AddTwoPortBoard();
            Save();
        },
    };
    for (const auto& command : session) {
        noteNamed();
        command();
        noteNamed();
    }
    m_session.Hive().SetWriteObserver(nullptr);

    int instanceWrites = 0;
    for (const SHiveWrite& write : writes) {
        SCOPED_TRACE(write.keyPath + " : " + write.valueName);
        const std::string path = Lower(write.keyPath);
        const bool driverValue = path == Lower(kDriverKey) && !write.valueName.empty();
        const bool serviceValue = path == Lower(kSerialKey) && write.op == ERegOp::WriteValue &&
                                  kSerialServiceValues.contains(write.valueName);
        const bool comDBValue = IsNT() && path == Lower(kComNameArbiter) &&
                                write.op == ERegOp::WriteValue && write.valueName == "ComDB";
        bool instanceKey = false;
        for (const std::string& instance : named) {
            for (const std::string& key : InstanceKeys(instance)) {
                instanceKey = instanceKey || path == Lower(key);
            }
        }
        instanceWrites += instanceKey ? 1 : 0;
        EXPECT_TRUE(IsBelow(path, kDriverKey) || driverValue || serviceValue || comDBValue ||
                    instanceKey);
    }
    EXPECT_GT(instanceWrites, 0);
    for (const std::string& key : foreignKeys) {
        EXPECT_EQ(Probe().ValueNames(key), std::vector<std::string>{"Owner"}) << key;
        EXPECT_EQ(Probe().Text(key, "Owner"), "another driver") << key;
        EXPECT_TRUE(Probe().SubKeys(key).empty()) << key;
    }
    EXPECT_EQ(Probe().Text(kSerialKey, "DisplayName"), "Serial port driver");
    // Only bits of numbers our ports had may have moved, and the last Save left its ports' bits.
    const std::vector<std::uint8_t> after = Probe().Binary(kComNameArbiter, "ComDB");
    ASSERT_EQ(after.size(), comDB.size());
    for (unsigned number = 1; number <= 256; ++number) {
        const bool was = (comDB[(number - 1) / 8] >> ((number - 1) % 8) & 1) != 0;
        const bool is = (after[(number - 1) / 8] >> ((number - 1) % 8) & 1) != 0;
        EXPECT_TRUE(was == is || comNumbers.contains(number)) << "COM" << number;
    }
    if (IsNT()) {
        for (const std::string& port : Probe().SubKeys(BoardKey("Board000"))) {
            const std::string name = Probe().Text(PortKey("Board000", port), "PortCOMPort");
            const unsigned number = static_cast<unsigned>(std::atoi(name.c_str() + 3));
            EXPECT_NE(after[(number - 1) / 8] >> ((number - 1) % 8) & 1, 0) << name;
        }
    } else {
        EXPECT_EQ(after, comDB);
    }
}

QSER_ON_BOTH_FAMILIES(OwnershipTest);
