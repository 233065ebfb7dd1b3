#pragma once

#include "win32status.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CHive;
struct SHiveValue;

inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

// The registry access layer: the only way the system reads or writes the registry. One object
// per operation: open one key, read or write, close, destroy. Paths are relative to
// HKEY_LOCAL_MACHINE with components separated by '\'. Every operation returns a Win32 status
// (0 success) and is atomic; inside a CHiveBatch all operations commit together.
//
// Names compare case-insensitively (ASCII) and keep the case they were created with. An empty
// path component (leading, trailing or doubled '\') or a key name longer than 255 characters
// gives ERROR_INVALID_PARAMETER, so an operation never acts on a parent because a name was empty.
class CRegistry {
public:
    // Resolves paths against the process's current hive (CHive::Current).
    CRegistry();
    explicit CRegistry(CHive& hive);
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // flag 0: create the key and any missing parents; flag 1: the key must exist
    // (ERROR_FILE_NOT_FOUND otherwise). The class text and access mask are accepted and ignored.
    // Opening closes any key this object had open.
    Win32Status OpenKey(const std::string& path, const std::string& className, std::uint32_t access,
                        int flag);
    void CloseKey();

    // Text: size is the buffer's size in characters. Fails with ERROR_MORE_DATA when the text and
    // its terminating zero do not fit (nothing is written past the buffer), with
    // ERROR_INVALID_DATA when the value is not a text value. On success size is the number of
    // characters stored including the zero; on ERROR_MORE_DATA the number needed.
    Win32Status ReadValue(const std::string& name, char* buffer, std::uint32_t& size);
    // Number: ERROR_INVALID_DATA unless the value is a DWORD.
    Win32Status ReadValue(const std::string& name, std::uint32_t& value);

    Win32Status WriteValue(const std::string& name, const std::string& text);
    Win32Status WriteValue(const std::string& name, std::uint32_t value);
    Win32Status WriteValue(const std::string& name, const std::uint8_t* bytes,
                           std::uint32_t length);

    // The name of the sub-key at index (0-based, case-insensitive name order) into a buffer of
    // size characters; ERROR_NO_MORE_ITEMS after the last one, ERROR_MORE_DATA when the name and
    // its zero do not fit. Walking all n sub-keys by increasing index costs O(n) in total.
    // Sub-keys whose names no path can hold (edited by hand: not text, empty, longer than 255
    // characters, holding a backslash) are not enumerated, so every name returned can be opened.
    Win32Status EunmKey(std::uint32_t index, char* name, std::uint32_t& size);

    // Deletes a key that has no sub-keys (ERROR_ACCESS_DENIED otherwise; nothing is deleted).
    // Needs no open key.
    Win32Status DeleteKey(const std::string& path);
    // Deletes a key with its whole subtree. Needs no open key.
    Win32Status DeleteKeyTree(const std::string& path);

private:
    bool IsOpen() const;
    Win32Status Read(const std::string& name, SHiveValue& value);
    Win32Status Write(const std::string& name, std::uint32_t type,
                      const std::vector<std::uint8_t>& data);
    Win32Status ReadAhead(std::uint32_t index, bool continuing);
    static Win32Status CopyOut(std::string_view text, char* buffer, std::uint32_t& size);

    CHive* m_pHive;
    std::int64_t m_openKey = 0;
    std::string m_openPath;
    // A window of sub-key names read ahead, starting at index m_enumFirst; m_bEnumAtEnd when it
    // reaches the last sub-key. Dropped when the hive's generation moves on.
    std::vector<std::string> m_enumNames;
    std::uint32_t m_enumFirst = 0;
    std::uint64_t m_enumGeneration = 0;
    bool m_bEnumValid = false;
    bool m_bEnumAtEnd = false;
};
