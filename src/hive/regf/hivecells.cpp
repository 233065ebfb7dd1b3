#include "hivecells.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

namespace {
// Fields count from the first bin, which follows the 4,096-byte base block.
constexpr std::size_t kFirstBin = 0x1000;
constexpr std::size_t kHeaderBinsSize = 0x28;
constexpr std::size_t kBinHeader = 0x20;
constexpr std::size_t kBinSizeField = 8;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// The key record (nk) and the fields hivex follows when it frees one.
constexpr std::size_t kKeySize = 80;
constexpr std::size_t kKeyParent = 20;
constexpr std::size_t kKeySubKeyCount = 24;
constexpr std::size_t kKeySubKeyList = 32;
constexpr std::size_t kKeyValueCount = 40;
constexpr std::size_t kKeyValueList = 44;
constexpr std::size_t kKeySecurity = 48;
constexpr std::size_t kKeyClassName = 52;
// A value record (vk): the data's length (its top bit: the data is kept in the record) and
// the data's cell.
constexpr std::size_t kValueSize = 24;
constexpr std::size_t kValueDataLength = 8;
constexpr std::size_t kValueData = 12;
constexpr std::uint32_t kDataInRecord = 0x80000000;
// A security record (sk): its two links to its neighbours and its reference count.
constexpr std::size_t kSecuritySize = 24;
constexpr std::size_t kSecurityLinks[] = {8, 12};
constexpr std::size_t kSecurityReferences = 16;
// A list of sub-keys (lf, lh, li) or of such lists (ri): its count and its entries.
constexpr std::size_t kListCount = 6;
constexpr std::size_t kListEntries = 8;
constexpr std::size_t kValueListEntries = 4;
} // namespace

CHiveCells::CHiveCells(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {
    m_used.assign(m_bytes.size() / 4 + 1, false);
    ScanBins();
}

// The cells hivex accepts are the ones in use that its own walk over the bins finds when it
// opens the file (or that it made since, which the bins it writes hold alike).
void CHiveCells::ScanBins() {
    const std::size_t size = m_bytes.size();
    if (size < kFirstBin) {
        return;
    }
    const std::size_t end = std::size_t{Dword(kHeaderBinsSize)} + kFirstBin;
    std::size_t bin = kFirstBin;
    while (bin < size && bin < end && bin + kBinHeader <= size &&
           std::memcmp(&m_bytes[bin], "hbin", 4) == 0) {
        const std::size_t binSize = Dword(bin + kBinSizeField);
        if (binSize <= kBinHeader || (binSize & 0xFFF) != 0) {
            return;
        }
        for (std::size_t cell = bin + kBinHeader; cell < bin + binSize;) {
            if (cell + 4 > size) {
                return;
            }
            const std::size_t length = Length(cell);
            if (length <= 4 || (length & 3) != 0) {
                return;
            }
            if (static_cast<std::int32_t>(Dword(cell)) < 0) {
                m_used[cell / 4] = true;
            }
            cell += length;
        }
        bin += binSize;
    }
}

bool CHiveCells::IsCell(std::size_t offset, std::size_t size) const {
    if (offset % 4 != 0 || offset < kFirstBin || offset + 4 > m_bytes.size() ||
        !m_used[offset / 4]) {
        return false;
    }
    return Length(offset) >= size && offset + size <= m_bytes.size();
}

bool CHiveCells::IsCell(std::size_t offset, std::size_t size, const char id[2]) const {
    return IsCell(offset, size) && m_bytes[offset + 4] == id[0] && m_bytes[offset + 5] == id[1];
}

// A cell's size field: negative while the cell is in use.
std::size_t CHiveCells::Length(std::size_t cell) const {
    return static_cast<std::size_t>(
        std::llabs(std::int64_t{static_cast<std::int32_t>(Dword(cell))}));
}

std::uint32_t CHiveCells::Dword(std::size_t offset) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && offset + i < m_bytes.size(); ++i) {
        value |= std::uint32_t{m_bytes[offset + i]} << (8 * i);
    }
    return value;
}

std::uint16_t CHiveCells::Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(Dword(offset) & 0xFFFF);
}

std::size_t CHiveCells::Cell(std::uint32_t field) {
    return std::size_t{field} + kFirstBin;
}

bool CHiveCells::IsKey(std::size_t node) const {
    return IsCell(node, kKeySize, "nk");
}

// hivex unlinks a deleted key from the key its record names as parent: when that is not the
// key that lists it, the deletion would change a key that is not the one asked for.
bool CHiveCells::TreeFreeable(std::size_t node, std::size_t parent) const {
    if (!IsKey(node) || Cell(Dword(node + kKeyParent)) != parent) {
        return false;
    }
    SFrees frees;
    std::vector<std::size_t> pending = {node};
    std::set<std::size_t> seen = {node};
    while (!pending.empty()) {
        const std::size_t key = pending.back();
        pending.pop_back();
        std::vector<std::size_t> children;
        if (!KeyFrees(key, frees, children)) {
            return false;
        }
        for (const std::size_t child : children) {
            // A key listed twice, or below itself: hivex stops its walk half done.
            if (!seen.insert(child).second) {
                return false;
            }
            pending.push_back(child);
        }
    }
    return SecurityFrees(frees) && Distinct(std::move(frees.cells));
}

bool CHiveCells::ValuesFreeable(std::size_t node) const {
    SFrees frees;
    return IsKey(node) && ValueFrees(node, frees) && Distinct(std::move(frees.cells));
}

bool CHiveCells::KeyFrees(std::size_t node, SFrees& frees,
                          std::vector<std::size_t>& children) const {
    if (!IsKey(node)) {
        return false;
    }
    const std::uint32_t subKeys = Dword(node + kKeySubKeyCount);
    if (subKeys != 0 && (!ListFrees(Cell(Dword(node + kKeySubKeyList)), false, frees, children) ||
                         children.size() != subKeys)) {
        return false;
    }
    if (!ValueFrees(node, frees)) {
        return false;
    }
    const std::uint32_t security = Dword(node + kKeySecurity);
    if (security != kNone) {
        if (!IsCell(Cell(security), kSecuritySize, "sk")) {
            return false;
        }
        ++frees.securityDrops[Cell(security)];
    }
    const std::uint32_t className = Dword(node + kKeyClassName);
    if (className != kNone) {
        if (!IsCell(Cell(className), 4)) {
            return false;
        }
        frees.cells.push_back(Cell(className));
    }
    frees.cells.push_back(node);
    return true;
}

bool CHiveCells::ListFrees(std::size_t list, bool nested, SFrees& frees,
                           std::vector<std::size_t>& children) const {
    if (!IsCell(list, kListEntries)) {
        return false;
    }
    const std::size_t count = Word(list + kListCount);
    const char first = static_cast<char>(m_bytes[list + 4]);
    const char second = static_cast<char>(m_bytes[list + 5]);
    const bool hashed = first == 'l' && (second == 'f' || second == 'h');
    const bool plain = first == 'l' && second == 'i';
    const bool lists = first == 'r' && second == 'i' && !nested;
    const std::size_t stride = hashed ? 8 : 4;
    if ((!hashed && !plain && !lists) || !IsCell(list, kListEntries + count * stride)) {
        return false;
    }
    frees.cells.push_back(list);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = Cell(Dword(list + kListEntries + i * stride));
        if (lists) {
            if (!ListFrees(entry, true, frees, children)) {
                return false;
            }
        } else {
            children.push_back(entry);
        }
    }
    return true;
}

bool CHiveCells::ValueFrees(std::size_t node, SFrees& frees) const {
    const std::size_t count = Dword(node + kKeyValueCount);
    if (count == 0) {
        return true;
    }
    const std::size_t list = Cell(Dword(node + kKeyValueList));
    if (!IsCell(list, kValueListEntries + count * 4)) {
        return false;
    }
    frees.cells.push_back(list);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t value = Cell(Dword(list + kValueListEntries + i * 4));
        if (!IsCell(value, kValueSize, "vk")) {
            return false;
        }
        frees.cells.push_back(value);
        if ((Dword(value + kValueDataLength) & kDataInRecord) == 0) {
            const std::size_t data = Cell(Dword(value + kValueData));
            if (!IsCell(data, 4)) {
                return false;
            }
            frees.cells.push_back(data);
        }
    }
    return true;
}

// hivex counts a security record down once for each key it deletes and frees it at zero,
// writing into the records its links name; a count it would take below zero stops it half done.
bool CHiveCells::SecurityFrees(SFrees& frees) const {
    for (const auto& [security, drops] : frees.securityDrops) {
        const std::uint32_t references = Dword(security + kSecurityReferences);
        if (references == 0 || drops > references) {
            return false;
        }
        if (drops < references) {
            continue;
        }
        frees.cells.push_back(security);
        const std::size_t a = Cell(Dword(security + kSecurityLinks[0]));
        const std::size_t b = Cell(Dword(security + kSecurityLinks[1]));
        if (a != security && b != security &&
            (!IsCell(a, kSecuritySize, "sk") || !IsCell(b, kSecuritySize, "sk"))) {
            return false;
        }
    }
    return true;
}

bool CHiveCells::Distinct(std::vector<std::size_t> cells) {
    std::sort(cells.begin(), cells.end());
    return std::adjacent_find(cells.begin(), cells.end()) == cells.end();
}
