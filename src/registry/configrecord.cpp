#include "configrecord.h"

#include "textnumbers.h"

namespace {
struct SRecordFields {
    std::uint16_t priority;
    std::uint16_t ioDescriptorType;
    std::uint16_t allocatedBase;
    std::uint16_t allocatedEnd;
    std::uint16_t alignmentMask;
    std::uint16_t rangeMinimum;
    std::uint16_t rangeMaximum;
    std::uint8_t rangeDecode;
    std::uint16_t allocatedIRQ;
    std::uint16_t irqRequestMask;
};

void PutWord(CConfigRecordBytes& record, std::size_t offset, unsigned value) {
    record[offset] = static_cast<std::uint8_t>(value & 0xFF);
    record[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

CConfigRecordBytes BuildRecord(const SRecordFields& fields) {
    CConfigRecordBytes record{};
    PutWord(record, 0, 0x0400); // version
    PutWord(record, 4, fields.priority);
    record[8] = 32; // length of the I/O resource record
    record[12] = 2; // I/O resource
    PutWord(record, 16, 1);
    PutWord(record, 18, fields.ioDescriptorType);
    PutWord(record, 20, fields.allocatedBase);
    PutWord(record, 22, fields.allocatedEnd);
    PutWord(record, 28, fields.alignmentMask);
    PutWord(record, 30, 8); // number of ports
    PutWord(record, 32, fields.rangeMinimum);
    PutWord(record, 34, fields.rangeMaximum);
    record[39] = fields.rangeDecode;
    record[40] = 16;        // length of the IRQ resource record
    record[44] = 4;         // IRQ resource
    PutWord(record, 48, 1); // shareable
    PutWord(record, 50, fields.allocatedIRQ);
    PutWord(record, 52, fields.irqRequestMask);
    return record;
}

struct SBasicConfiguration {
    std::uint16_t alignmentMask;
    std::uint16_t rangeMinimum;
    std::uint16_t rangeMaximum;
    std::uint16_t irqRequestMask;
};

// IRQ 3, 4, 5, 7, 9, 10, 11, 12, 14 and 15.
constexpr std::uint16_t kAnyIRQ = 0xDEB8;

constexpr SBasicConfiguration kBasicConfigurations[9] = {
    {0xFFFF, 0x03F8, 0x03FF, 0x0010},  {0xFFFF, 0x03F8, 0x03FF, kAnyIRQ},
    {0xFFFF, 0x02F8, 0x02FF, 0x0008},  {0xFFFF, 0x02F8, 0x02FF, kAnyIRQ},
    {0xFFFF, 0x03E8, 0x03EF, 0x0010},  {0xFFFF, 0x03E8, 0x03EF, kAnyIRQ},
    {0xFFFF, 0x02E8, 0x02EF, 0x0028},  {0xFFFF, 0x02E8, 0x02EF, kAnyIRQ},
    {0xFFF8, 0x0100, 0xFFFF, kAnyIRQ},
};
} // namespace

const CDcbBytes& CConfigRecord::DefaultDCB() {
    static const CDcbBytes dcb = {
        0x1C, 0x00, 0x00, 0x00, // structure length 28
        0x80, 0x25, 0x00, 0x00, // 9600 baud
        0x11, 0x33, 0x00, 0x00, // binary, DTR on, XON/XOFF both ways, RTS toggle
        0x00, 0x00,             // reserved
        0x0A, 0x00, 0x0A, 0x00, // XON and XOFF limits
        0x08, 0x00, 0x00,       // 8 data bits, no parity, one stop bit
        0x11, 0x13,             // XON and XOFF characters
        0x00, 0x00, 0x00,       // error, end-of-file and event characters
    };
    return dcb;
}

CConfigRecordBytes CConfigRecord::ForcedConfigTemplate() {
    return BuildRecord({0x0000, 0x0002, 0x03E8, 0x03EF, 0xFFF0, 0x03E8, 0x03E8, 0x00, 7, 0x0000});
}

CConfigRecordBytes CConfigRecord::LogConfig(int number) {
    const SBasicConfiguration& basic = kBasicConfigurations[number];
    return BuildRecord({0xC000, 0x000C, 0, 0, basic.alignmentMask, basic.rangeMinimum,
                        basic.rangeMaximum, 0x03, 0, basic.irqRequestMask});
}

int CConfigRecord::SetForcedConfigRange(const std::string& address, CConfigRecordBytes& record) {
    // Only the address digits are read, so a derived address below 0x100 ("0x8") gives its
    // real value instead of counting the 'x' as a digit.
    auto base = static_cast<unsigned>(ParseDigits(AddressDigits(address), 16));
    PutWord(record, 20, base);
    PutWord(record, 22, base + 7);
    PutWord(record, 32, base);
    PutWord(record, 34, base);
    return 1;
}

int CConfigRecord::SetForcedConfigIRQ(const std::string& irq, CConfigRecordBytes& record) {
    record[50] = static_cast<std::uint8_t>(static_cast<unsigned>(ParseDigits(irq, 10)) & 0xFF);
    return 1;
}
