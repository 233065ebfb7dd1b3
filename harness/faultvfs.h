#pragma once

#include <array>
#include <cstdint>
#include <string>

// The file operations the shim can fail or crash at.
enum class EFaultOp { Write, Sync, Truncate, Lock, Delete };
inline constexpr std::size_t kFaultOpCount = 5;

const char* FaultOpName(EFaultOp op);

// An SQLite VFS over the default unix VFS, installed as the process's default so that every
// connection the hive opens goes through it without the hive knowing. It counts the operations
// that can fail on a disk and can
// - fail the Nth one of a kind (once, or that one and every later one of the kind), as a full
//   disk, a dying device or a lost lock does;
// - lose power at the Nth operation of any kind: every write and truncation not yet synced is
//   dropped, applied or torn, one 512-byte sector at a time (the file's size goes back to its
//   size before the write or truncation, or not), and the process ends at once (_exit) as if
//   the machine had stopped.
// Meant for a harness's child process: the state is process-wide. The power loss models the
// contents and sizes of files that are open, through SQLite's read and write calls; it does
// not model the directory: a file created or deleted (the write-ahead log made at the first
// write and deleted at the last close, with no sync of the folder after the deletion) stays
// created or deleted, and no rename is modelled. Nor does it touch the shared-memory file
// (written through a memory map, and rebuilt from the log after a crash) or writes to a file
// closed without a sync (SQLite syncs before it closes).
class CFaultVfs {
public:
    using Counts = std::array<std::uint64_t, kFaultOpCount>;

    // Registers the shim as the default VFS; idempotent.
    static void Install();

    // Zeroes the counters and clears the armed fault and crash.
    static void Reset();
    static const Counts& Operations();
    static std::uint64_t TotalOperations();

    // The nth (1-based) operation of kind op from now fails; with persistent, every later one
    // of that kind fails too.
    static void ArmFault(EFaultOp op, std::uint64_t nth, bool persistent);
    // At the nth (1-based) operation of any kind from now, before it is carried out, power is
    // lost; seed chooses what happens to each unsynced sector. The process exits with
    // kCrashExitStatus.
    static void ArmCrash(std::uint64_t nth, std::uint32_t seed);
    // Keeps the contents that writes overwrite, so that a crash can drop them; needed before
    // the files are opened for ArmCrash to see their writes.
    static void KeepUnsynced(bool keep);

    static constexpr int kCrashExitStatus = 86;
};
