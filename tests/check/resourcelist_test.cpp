#include "resourcelist.h"
#include "testnames.h"
#include "testresources.h"

#include <gtest/gtest.h>

namespace {
using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kList = 8;
constexpr std::uint32_t kFull = 9;

struct SDecodeRow {
    const char* name;
    std::uint32_t type;
    Bytes data;
    std::optional<SDeviceResources> expected;
};

void PrintTo(const SDecodeRow& row, std::ostream* os) {
    *os << row.name;
}

const STestResource kMemory{STestResource::EKind::Memory, 0xfebf0000, 0x1000, 0};
const STestResource kDeviceData{STestResource::EKind::DeviceSpecific, 12, 0, 0};
const STestResource kMemoryPort{STestResource::EKind::Port, 0x3f8, 8, 0};
const SDeviceResources kCom1{{{0x3f8, 0x3ff}}, {4}};

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes Appended(Bytes bytes, std::uint8_t extra) {
    bytes.push_back(extra);
    return bytes;
}

Bytes TwoLists(ETestLayout layout) {
    Bytes bytes = ResourceList(layout, {IoPort(0x3f8), Irq(4)});
    bytes[0] = 2;
    const Bytes second = FullDescriptor(layout, {IoPort(0x2e8, 16)});
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

const SDecodeRow kRows[] = {
    {"Bits32PortAndInterrupt", kList, ResourceList(ETestLayout::Bits32, {IoPort(0x3f8), Irq(4)}),
     kCom1},
    {"Bits64PortAndInterrupt", kList, ResourceList(ETestLayout::Bits64, {IoPort(0x3f8), Irq(4)}),
     kCom1},
    {"FullDescriptorValue", kFull, FullDescriptor(ETestLayout::Bits64, {Irq(4), IoPort(0x3f8)}),
     kCom1},
    {"TwoFullDescriptors", kList, TwoLists(ETestLayout::Bits32),
     SDeviceResources{{{0x3f8, 0x3ff}, {0x2e8, 0x2f7}}, {4}}},
    {"DeviceDataSkipped", kList,
     ResourceList(ETestLayout::Bits32, {kDeviceData, IoPort(0x2f8), Irq(3)}),
     SDeviceResources{{{0x2f8, 0x2ff}}, {3}}},
    {"MemoryAndHighInterruptsLeftOut", kList,
     ResourceList(ETestLayout::Bits64, {kMemory, kMemoryPort, Irq(17), Irq(5, 0x0002), Irq(9)}),
     SDeviceResources{{}, {9}}},
    {"PortBeyondTheIoSpaceLeftOut", kList,
     ResourceList(ETestLayout::Bits32, {IoPort(0xfffc), IoPort(0x10000), IoPort(0x300, 0)}),
     SDeviceResources{}},
    {"EmptyListFitsBothAlike", kList, ResourceList(ETestLayout::Bits32, {}), SDeviceResources{}},
    {"BinaryTypeRefused", 3, ResourceList(ETestLayout::Bits32, {IoPort(0x3f8)}), std::nullopt},
    {"CutShortRefused", kList, Cut(ResourceList(ETestLayout::Bits64, {IoPort(0x3f8)}), 30),
     std::nullopt},
    {"TrailingByteRefused", kList, Appended(ResourceList(ETestLayout::Bits32, {Irq(4)}), 0),
     std::nullopt},
    {"HugeCountsRefused", kList, Bytes{0xff, 0xff, 0xff, 0xff, 1, 0, 0, 0}, std::nullopt},
    {"EmptyValueRefused", kList, Bytes{}, std::nullopt},
};

class ResourceListTest : public ::testing::TestWithParam<SDecodeRow> {};

TEST_P(ResourceListTest, Decodes) {
    const SDecodeRow& row = GetParam();
    const std::optional<SDeviceResources> decoded =
        CResourceList::Decode(SHiveValue{"BootConfig", row.type, row.data});
    ASSERT_EQ(decoded.has_value(), row.expected.has_value());
    if (decoded) {
        EXPECT_EQ(decoded->ranges, row.expected->ranges);
        EXPECT_EQ(decoded->irqs, row.expected->irqs);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ResourceListTest, ::testing::ValuesIn(kRows), SRowName());

// Two full descriptors that each layout fills exactly: read with 16-byte descriptors the first
// has four empty ones and the second an interrupt; read with 20-byte ones the second full
// descriptor begins where that interrupt does and holds nothing. The check does not guess.
TEST(ResourceListAmbiguity, ValueThatBothLayoutsFillDifferentlyIsRefused) {
    Bytes bytes(116, 0);
    bytes[0] = 2;   // two full descriptors
    bytes[16] = 4;  // the first one's four partial descriptors
    bytes[96] = 1;  // the second one's partial descriptor, at 16 bytes each
    bytes[100] = 2; // an interrupt
    bytes[104] = 4; // on level 4; at 20 bytes each, bytes 112-115 are the second's count
    EXPECT_FALSE(CResourceList::Decode(SHiveValue{"BootConfig", kList, bytes}).has_value());
}
} // namespace
