#pragma once

#include "hive.h"

#include <memory>
#include <string>

class CTempHive;

// A test hive's file seen through a read-only bind mount of its folder and opened there as a
// second hive: it reads what the test hive holds, and the hive opens it for reading. Making
// the mount needs the right to mount (the tests run as root); without it Hive() is null and
// the test should be skipped.
class CReadOnlyHive {
public:
    explicit CReadOnlyHive(CTempHive& source);
    ~CReadOnlyHive();
    CReadOnlyHive(const CReadOnlyHive&) = delete;
    CReadOnlyHive& operator=(const CReadOnlyHive&) = delete;

    CHive* Hive() const { return m_pHive.get(); }
    std::string FilePath() const { return m_mountPoint + "/registry.db"; }
    // The file's bytes with its write-ahead log, to show that nothing wrote to it.
    std::string Bytes() const;

private:
    bool Mount(const std::string& folder);

    std::string m_mountPoint;
    bool m_bMounted = false;
    std::unique_ptr<CHive> m_pHive;
};
