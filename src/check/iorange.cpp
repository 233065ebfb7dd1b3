#include "iorange.h"

#include "valueformats.h"

namespace {
constexpr unsigned kDecodedSpan = 0x400;
} // namespace

std::string SIoRange::Text() const {
    const std::string start = CValueFormats::Hex(first);
    return first == last ? start : start + "-" + CValueFormats::Hex(last);
}

std::vector<SIoRange> SIoRange::Decoded() const {
    if (last - first + 1 >= kDecodedSpan) {
        return {{0, kDecodedSpan - 1}};
    }
    const unsigned start = first % kDecodedSpan;
    const unsigned end = start + (last - first);
    if (end < kDecodedSpan) {
        return {{start, end}};
    }
    return {{start, kDecodedSpan - 1}, {0, end - kDecodedSpan}};
}

bool SIoRange::Aliases(const SIoRange& other) const {
    for (const SIoRange& mine : Decoded()) {
        for (const SIoRange& theirs : other.Decoded()) {
            if (mine.Overlaps(theirs)) {
                return true;
            }
        }
    }
    return false;
}
