#pragma once

#include "hive.h"
#include "readonlymount.h"

#include <memory>
#include <string>

class CTempHive;

// A test hive's file seen through a read-only mount of its folder and opened there as a second
// hive: it reads what the test hive holds, and the hive opens it for reading. Without the right
// to mount Hive() is null and the test should be skipped.
class CReadOnlyHive {
public:
    explicit CReadOnlyHive(const CTempHive& source);
    ~CReadOnlyHive();
    CReadOnlyHive(const CReadOnlyHive&) = delete;
    CReadOnlyHive& operator=(const CReadOnlyHive&) = delete;

    CHive* Hive() const { return m_pHive.get(); }
    std::string FilePath() const { return m_mount.Path(m_name); }
    // The file's bytes with its write-ahead log, to show that nothing wrote to it.
    std::string Bytes() const;

private:
    CReadOnlyMount m_mount;
    std::string m_name; // the file's name in its folder
    std::unique_ptr<CHive> m_pHive;
};
