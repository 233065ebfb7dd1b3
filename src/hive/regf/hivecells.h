#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

// The cells of a Windows hive file as hivex holds it in memory, and what hivex would free when
// it deletes a key or replaces a key's values. hivex stops the process when it is asked to free
// a cell that is not one in use, or one it has freed already, and writes through the links of a
// security cell it frees without looking where they point: hostile files can arrange all of
// that. The store asks here first and refuses such a change.
//
// Offsets are hivex's handles: from the start of the file, each the start of a cell (its size
// field). The bytes are the whole hive as hivex would write it now.
class CHiveCells {
public:
    explicit CHiveCells(std::vector<std::uint8_t> bytes);

    // Whether hivex can delete the key at node (listed by parent) with everything below it.
    bool TreeFreeable(std::size_t node, std::size_t parent) const;
    // Whether hivex can drop all values of the key at node to write new ones.
    bool ValuesFreeable(std::size_t node) const;

private:
    // Cells one change frees, and how often it drops each security cell.
    struct SFrees {
        std::vector<std::size_t> cells;
        std::map<std::size_t, std::uint32_t> securityDrops;
    };

    void ScanBins();
    // Whether offset starts a cell in use of at least size bytes (its size field included).
    bool IsCell(std::size_t offset, std::size_t size) const;
    bool IsCell(std::size_t offset, std::size_t size, const char id[2]) const;
    std::size_t Length(std::size_t cell) const;
    std::uint32_t Dword(std::size_t offset) const;
    std::uint16_t Word(std::size_t offset) const;
    // The cell a field of the file names: fields count from the first bin.
    static std::size_t Cell(std::uint32_t field);

    bool IsKey(std::size_t node) const;
    bool KeyFrees(std::size_t node, SFrees& frees, std::vector<std::size_t>& children) const;
    bool ListFrees(std::size_t list, bool nested, SFrees& frees,
                   std::vector<std::size_t>& children) const;
    bool ValueFrees(std::size_t node, SFrees& frees) const;
    bool SecurityFrees(SFrees& frees) const;
    static bool Distinct(std::vector<std::size_t> cells);

    std::vector<std::uint8_t> m_bytes;
    // One bit for each 4-byte offset: a cell in use starts there.
    std::vector<bool> m_used;
};
