#include "recordfields.h"
#include "stringtable.h"
#include "temphive.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// One row of a record's table as the registry and the reports expect it, with the record's
// own accessor for the value, so a row wired to the wrong member shows.
template <typename Record> struct SExpectedField {
    const char* name;
    unsigned valueNameId;
    EFieldKind kind;
    const char* missingText;
    int shownAt;
    std::function<std::string(const Record&)> named;
};

template <typename Record> void PrintTo(const SExpectedField<Record>& row, std::ostream* out) {
    *out << row.name;
}

std::string Flag(int value) {
    return std::to_string(value);
}

// Write order; the shown order moves the sharing flag after the base COM port.
const std::vector<SExpectedField<CBoardObj>> kBoardRows = {
    {"BoardName", IDS_BOARD_NAME, EFieldKind::Text, "Board000", 0, &CBoardObj::GetBoardName},
    {"BoardType", IDS_BOARD_TYPE, EFieldKind::Text, "RX-401", 1, &CBoardObj::GetBoardType},
    {"BoardBaseAddress", IDS_BOARD_BASE_ADDRESS, EFieldKind::Text, "190", 2,
     &CBoardObj::GetBaseAddress},
    {"BoardShareIRQEnabled", IDS_BOARD_SHARE_IRQ_ENABLED, EFieldKind::DWord, "", 4,
     [](const CBoardObj& b) { return Flag(b.GetShareIRQEnabled()); }},
    {"BoardBaseCOMPort", IDS_BOARD_BASE_COM_PORT, EFieldKind::Text, "COM3", 3,
     &CBoardObj::GetBaseCOMPort},
    {"BoardShareIRQ", IDS_BOARD_SHARE_IRQ, EFieldKind::Text, "7", 5, &CBoardObj::GetShareIRQ},
    {"BoardVectorAddress", IDS_BOARD_VECTOR_ADDRESS, EFieldKind::Text, "2d0", 6,
     &CBoardObj::GetVectorAddress},
    {"BoardStandardModeEnabled", IDS_BOARD_STANDARD_MODE_ENABLED, EFieldKind::DWord, "", 7,
     [](const CBoardObj& b) { return Flag(b.GetStandardModeEnabled()); }},
};

const std::vector<SExpectedField<CPortObj>> kPortRows = {
    {"PortName", IDS_PORT_NAME, EFieldKind::Text, "Port000", 0, &CPortObj::GetPortName},
    {"PortCOMPort", IDS_PORT_COM_PORT, EFieldKind::Text, "COM3", 1, &CPortObj::GetPortCOMPort},
    {"PortIRQ", IDS_PORT_IRQ, EFieldKind::Text, "7", 2, &CPortObj::GetPortIRQ},
    {"PortAddress", IDS_PORT_ADDRESS, EFieldKind::Text, "190", 3, &CPortObj::GetPortAddress},
    {"PortIndex", IDS_PORT_INDEX, EFieldKind::Text, "1", 4, &CPortObj::GetPortIndex},
    {"PortSerialPort", IDS_PORT_SERIAL_PORT, EFieldKind::Text, "", 5, &CPortObj::GetPortSerialPort},
};

template <typename Record>
void ExpectRowAt(const std::vector<SRecordField<Record>>& fields,
                 const std::vector<SExpectedField<Record>>& rows, std::size_t at) {
    ASSERT_EQ(fields.size(), rows.size());
    const SRecordField<Record>& field = fields[at];
    const SExpectedField<Record>& row = rows[at];
    EXPECT_EQ(LoadString(field.valueNameId), row.name);
    EXPECT_EQ(field.kind, row.kind);
    EXPECT_EQ(field.shownAt, row.shownAt);
    if (row.kind == EFieldKind::Text) {
        EXPECT_STREQ(field.missingText, row.missingText);
    } else {
        EXPECT_EQ(field.missingNumber, 0u);
    }
}

// A value through the field reaches the record's own member and reads back through the field.
template <typename Record>
void ExpectRoundTrip(const SRecordField<Record>& field, const SExpectedField<Record>& row,
                     Record& record) {
    if (field.kind == EFieldKind::Text) {
        const std::string text = std::string("set-") + row.name;
        field.SetText(record, text);
        EXPECT_EQ(row.named(record), text);
        EXPECT_EQ(field.Text(record), text);
    } else {
        field.SetNumber(record, 1);
        EXPECT_EQ(row.named(record), "1");
        EXPECT_EQ(field.Number(record), 1);
        field.SetNumber(record, 0);
        EXPECT_EQ(row.named(record), "0");
    }
}

class BoardFieldsTest : public testing::TestWithParam<std::size_t> {
protected:
    CTempHive m_hive;
};

TEST_P(BoardFieldsTest, RowInWriteOrderReachesItsOwnMember) {
    ExpectRowAt(BoardFields(), kBoardRows, GetParam());
    CBoardObj board;
    ExpectRoundTrip(BoardFields()[GetParam()], kBoardRows[GetParam()], board);
}

INSTANTIATE_TEST_SUITE_P(Rows, BoardFieldsTest, testing::Range<std::size_t>(0, kBoardRows.size()),
                         [](const testing::TestParamInfo<std::size_t>& row) {
                             return std::string(kBoardRows[row.param].name);
                         });

class PortFieldsTest : public testing::TestWithParam<std::size_t> {};

TEST_P(PortFieldsTest, RowInWriteOrderReachesItsOwnMember) {
    ExpectRowAt(PortFields(), kPortRows, GetParam());
    CPortObj port;
    ExpectRoundTrip(PortFields()[GetParam()], kPortRows[GetParam()], port);
}

INSTANTIATE_TEST_SUITE_P(Rows, PortFieldsTest, testing::Range<std::size_t>(0, kPortRows.size()),
                         [](const testing::TestParamInfo<std::size_t>& row) {
                             return std::string(kPortRows[row.param].name);
                         });

template <typename Record>
std::vector<std::string> ShownNames(const std::vector<SRecordField<Record>>& fields) {
    std::vector<std::string> names;
    for (const SRecordField<Record>* field : FieldsAsShown(fields)) {
        names.push_back(LoadString(field->valueNameId));
    }
    return names;
}

TEST(RecordFields, ShownOrderIsTheReportsOrder) {
    EXPECT_EQ(ShownNames(BoardFields()),
              (std::vector<std::string>{"BoardName", "BoardType", "BoardBaseAddress",
                                        "BoardBaseCOMPort", "BoardShareIRQEnabled", "BoardShareIRQ",
                                        "BoardVectorAddress", "BoardStandardModeEnabled"}));
    EXPECT_EQ(ShownNames(PortFields()),
              (std::vector<std::string>{"PortName", "PortCOMPort", "PortIRQ", "PortAddress",
                                        "PortIndex", "PortSerialPort"}));
}

TEST(RecordFields, WholeRecordCopiesThroughTheTable) {
    CTempHive hive;
    CBoardObj from;
    for (const SBoardField& field : BoardFields()) {
        if (field.kind == EFieldKind::Text) {
            field.SetText(from, "text of " + LoadString(field.valueNameId));
        } else {
            field.SetNumber(from, 1);
        }
    }
    CBoardObj to;
    for (const SBoardField& field : BoardFields()) {
        if (field.kind == EFieldKind::Text) {
            field.SetText(to, field.Text(from));
        } else {
            field.SetNumber(to, field.Number(from));
        }
    }
    for (const auto& row : kBoardRows) {
        EXPECT_EQ(row.named(to), row.named(from)) << row.name;
    }
    EXPECT_EQ(to.GetBaseCOMPort(), "text of BoardBaseCOMPort");
    EXPECT_EQ(to.GetStandardModeEnabled(), 1);
}

TEST(RecordFields, LookupByValueName) {
    EXPECT_EQ(&BoardField(IDS_BOARD_SHARE_IRQ), &BoardFields()[5]);
    EXPECT_EQ(&PortField(IDS_PORT_ADDRESS), &PortFields()[3]);
    EXPECT_EQ(FindField(PortFields(), IDS_BOARD_NAME), nullptr);
    EXPECT_THROW(PortField(IDS_BOARD_TYPE), std::out_of_range);
}

} // namespace
