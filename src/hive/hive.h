#pragma once

#include "platformfamily.h"
#include "win32status.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Registry value types, with the numbers the original platform uses.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_QWORD = 11;

using HiveKeyId = std::int64_t;

// A value as stored: its name as created, its type and its bytes (a text value holds its Latin-1
// bytes and a terminating zero, as the original stores it).
struct SHiveValue {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const SHiveValue&) const = default;
};

// The operations that fault injection and the write observer can name.
enum class ERegOp { OpenKey, ReadValue, WriteValue, EunmKey, DeleteKey };

// One change as it is made: a value written (op WriteValue) or a key deleted (op DeleteKey, with
// an empty value name). Tests record these to check the exact order of an action's writes.
struct SHiveWrite {
    ERegOp op;
    std::string keyPath;
    std::string valueName;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const SHiveWrite&) const = default;
};

// Raised when a hive file cannot be used; the message names the file and the reason.
class CHiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How a file is opened. ForReading is for commands that only read: the file must exist and
// nothing is written to it at open; a file that holds no registry yet (zero length) reads as an
// empty one and stays as it is, whatever the hive's user then does.
enum class EHiveOpen { CreateIfMissing, MustExist, ForReading };

// A sub-key as stored. A name that is not text (a row edited by hand) reads as its bytes with
// bText false; such a key cannot be reached by path.
struct SHiveSubKey {
    HiveKeyId id = 0;
    std::string name;
    bool bText = true;
};

// The registry emulation: one SQLite database file holding the tree under HKEY_LOCAL_MACHINE
// and the emulated service control manager's state. See hive/DESIGN.md.
//
// Several processes may use one file at once: write transactions begin IMMEDIATE and wait on a
// busy timeout. A file that is not an SQLite database, belongs to another program, is damaged
// (also: a key whose parent is missing or that is its own ancestor) or was written by a newer
// version is refused (CHiveError naming the file and the reason) and never modified, and no
// log files are left beside it.
//
// A file that cannot be written (read-only file, folder or file system, no permission) or whose
// disk is full opens for reading: IsReadOnly(), and every write fails with ERROR_ACCESS_DENIED
// before it touches anything.
class CHive {
public:
    // Throws CHiveError. CreateIfMissing creates a missing file, and its folder when the path is
    // DefaultPath(); a path that names a missing folder is refused.
    static std::unique_ptr<CHive> Open(const std::string& path,
                                       EHiveOpen mode = EHiveOpen::CreateIfMissing);
    // An empty registry that lives in this process's memory only and goes with the object: a
    // scratch registry to read a .reg file into. Its Path() is kInMemoryPath.
    static std::unique_ptr<CHive> OpenInMemory();
    static constexpr const char* kInMemoryPath = "(in memory)";
    // $XDG_DATA_HOME/qser/registry.db, or ~/.local/share/qser/registry.db.
    static std::string DefaultPath();
    // The option wins over QSER_REGISTRY; neither gives DefaultPath().
    static std::string ResolvePath(const std::string& option);

    ~CHive();
    CHive(const CHive&) = delete;
    CHive& operator=(const CHive&) = delete;

    const std::string& Path() const;
    // The SYSTEM hive file of a Windows NT-family installation, rather than our own file.
    bool IsWindowsHiveFile() const;
    // Throws CHiveError naming the file when the family cannot keep its registry in this file:
    // Windows 95/98 keep theirs in another format.
    void CheckFamily(EPlatformFamily family) const;
    bool IsReadOnly() const;
    // Why the file cannot be written ("the file is read-only", "the disk is full", ...); empty
    // when it can.
    const std::string& ReadOnlyReason() const;

    // Whether another connection (another program, or another CHive on the same file) committed
    // a change since the previous call; this connection's own commits do not count, and the
    // first call answers false. Cheap: no table is read. Inside a batch it is one of the
    // batch's operations, so its answer describes the state the rest of the batch sees. A
    // store that cannot be read answers false.
    bool ChangedSinceLastLook();

    // The hive that CRegistry objects built without one resolve against. Not owned; installed
    // by the document layer's process scope, which puts back the previous one.
    static CHive* Current();

    // Fault injection: the next (once) or every matching operation on keyPath (case-insensitive,
    // relative to HKEY_LOCAL_MACHINE) fails with status before it touches the store. An empty
    // valueName matches every value of the key; for OpenKey, EunmKey and DeleteKey it is ignored.
    void InjectFault(ERegOp op, const std::string& keyPath, const std::string& valueName,
                     Win32Status status, bool once = true);
    void ClearFaults();

    // Called for every value write and key deletion as it is made (also ones later rolled back).
    void SetWriteObserver(std::function<void(const SHiveWrite&)> observer);

    // Typed access for the layers that work on whole trees (.reg files, the service manager).
    // Paths as for CRegistry; the empty path is HKEY_LOCAL_MACHINE itself.
    Win32Status FindKey(const std::string& path, HiveKeyId& id);
    // created: how many keys of the path were missing and are now made.
    Win32Status CreateKey(const std::string& path, HiveKeyId& id, std::size_t* created = nullptr);
    Win32Status ReadValue(HiveKeyId key, const std::string& name, SHiveValue& value);
    Win32Status WriteValue(HiveKeyId key, const std::string& name, std::uint32_t type,
                           const std::vector<std::uint8_t>& data);
    Win32Status DeleteValue(HiveKeyId key, const std::string& name);
    // The names a key path can hold (text, 1 to 255 characters, no backslash), in enumeration
    // order; sub-keys with other names are left out, as CRegistry::EunmKey leaves them out.
    Win32Status SubKeyNames(HiveKeyId key, std::vector<std::string>& names);
    // Every sub-key, whatever its name, in enumeration order.
    Win32Status SubKeys(HiveKeyId key, std::vector<SHiveSubKey>& subKeys);
    // In creation order. Rows that hold no registry value (edited by hand) are left out, named
    // in unreadable when it is given, and make the status ERROR_INVALID_DATA.
    Win32Status Values(HiveKeyId key, std::vector<SHiveValue>& values,
                       std::vector<std::string>* unreadable = nullptr);
    Win32Status DeleteKey(const std::string& path, bool recursive);

    // The inside, for the classes of the hive layer (defined in hiveimpl.h).
    struct SImpl;
    SImpl& Impl() { return *m_pImpl; }

private:
    explicit CHive(std::unique_ptr<SImpl> impl);
    std::unique_ptr<SImpl> m_pImpl;
    static void SetCurrent(CHive* hive);
    friend class CRegistry;
    friend class CHiveBatch;
    friend class CProcessScope;
};
