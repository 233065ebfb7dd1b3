#include "driverkeystore.h"
#include "hiveprobe.h"
#include "storetest.h"
#include "temphive.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

const std::string kBoard = "SYSTEM\\CurrentControlSet\\Services\\QSERDRV\\Board002";
const std::string kPort = kBoard + "\\Port005";

struct SFault {
    ERegOp op;
    Win32Status status;
};

// One value written as a form writes a choice, into a key that exists unless keyMissing says.
struct SWriteRow {
    const char* name;
    std::string key;
    std::function<int()> write;
    bool keyMissing;
    std::optional<SFault> fault;
    int result;
    std::vector<std::string> messages;
};

void PrintTo(const SWriteRow& row, std::ostream* out) {
    *out << row.name;
}

int BoardText() {
    return CDriverKeyStore::WriteBoardValue("Board002", "BoardBaseAddress", "0x3e0");
}

int BoardNumber() {
    return CDriverKeyStore::WriteBoardValue("Board002", "BoardShareIRQEnabled", 1u);
}

int PortText() {
    return CDriverKeyStore::WritePortValue("Board002", "Port005", "PortIRQ", "12");
}

const std::vector<std::string> kOpenFailed = {"Open registry failed"};
const std::vector<std::string> kWriteFailed = {"Unable to write to registry"};

const SWriteRow kRows[] = {
    {"BoardText", kBoard, BoardText, false, std::nullopt, 1, {}},
    {"BoardNumber", kBoard, BoardNumber, false, std::nullopt, 1, {}},
    {"PortText", kPort, PortText, false, std::nullopt, 1, {}},
    {"BoardKeyMissingIsReported", kBoard, BoardText, true, std::nullopt, 0, kOpenFailed},
    {"BoardKeyDenied", kBoard, BoardNumber, false, SFault{ERegOp::OpenKey, 5}, 0, kOpenFailed},
    {"BoardValueDenied", kBoard, BoardText, false, SFault{ERegOp::WriteValue, 5}, 0, kWriteFailed},
    {"PortKeyMissingIsSilent", kPort, PortText, true, std::nullopt, 0, {}},
    {"PortKeyNotFoundIsSilent", kPort, PortText, false, SFault{ERegOp::OpenKey, 2}, 0, {}},
    {"PortKeyDenied", kPort, PortText, false, SFault{ERegOp::OpenKey, 5}, 0, kOpenFailed},
    {"PortValueDenied", kPort, PortText, false, SFault{ERegOp::WriteValue, 5}, 0, kWriteFailed},
};

class SingleValueWriteFixture : public testing::Test {
protected:
    explicit SingleValueWriteFixture(ETestStore store) : m_hive(store) {}

    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& record : m_hive.Messages().Records()) {
            EXPECT_EQ(record.icon, EMsgIcon::None);
            texts.push_back(record.text);
        }
        return texts;
    }

    CTempHive m_hive;
    CHiveProbe m_probe{m_hive.Hive()};
};

using SingleValueWriteTest = CStoreRowTest<SingleValueWriteFixture, SWriteRow>;
using SingleValueKindTest = CStoreTest<SingleValueWriteFixture>;

TEST_P(SingleValueWriteTest, WritesIntoAnExistingKeyOnlyAndReportsAsAFormDoes) {
    const SWriteRow& row = Row();
    if (!row.keyMissing) {
        m_probe.CreateKey(row.key);
    }
    if (row.fault) {
        m_hive.Hive().InjectFault(row.fault->op, row.key, "", row.fault->status);
    }
    EXPECT_EQ(row.write(), row.result);
    EXPECT_EQ(MessageTexts(), row.messages);
    EXPECT_EQ(m_probe.Exists(row.key), !row.keyMissing);
    if (!row.keyMissing) {
        EXPECT_EQ(m_probe.ValueNames(row.key).size(), row.result == 1 ? 1u : 0u);
    }
}

QSER_ON_BOTH_STORES_WITH(SingleValueWriteTest, testing::ValuesIn(kRows));

TEST_P(SingleValueKindTest, EachValueKindIsStoredAsItsOwnType) {
    m_probe.CreateKey(kPort);
    ASSERT_EQ(BoardText(), 1);
    ASSERT_EQ(BoardNumber(), 1);
    ASSERT_EQ(PortText(), 1);
    EXPECT_EQ(m_probe.Text(kBoard, "BoardBaseAddress"), "0x3e0");
    EXPECT_EQ(m_probe.Dword(kBoard, "BoardShareIRQEnabled"), 1u);
    EXPECT_EQ(m_probe.Text(kPort, "PortIRQ"), "12");
}

QSER_ON_BOTH_STORES(SingleValueKindTest);

} // namespace
