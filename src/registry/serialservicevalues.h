#pragma once

#include "hive.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CRegistry;

// The values of the Windows NT serial service key that the registration writes, into the key
// open in key. In our own registry file all of them are written. On an installation's own hive
// the service is the installation's: its start type and FIFO settings drive the machine's own
// ports too, so only the values it lacks are written, and one notice names those it has with
// other data than the registration's.
class CSerialServiceValues {
public:
    explicit CSerialServiceValues(CRegistry& key);
    void Write();

private:
    // Whether the installation has the value, noting it when it differs from ours (when it
    // cannot be read, too: it counts as one the installation has).
    bool Kept(unsigned id, const std::function<bool(const SHiveValue&)>& ours);
    void Number(unsigned id, std::uint32_t number);
    void Text(unsigned id, const std::string& text);
    void ReportKept() const;

    CRegistry& m_key;
    std::optional<HiveKeyId> m_installed;
    std::vector<std::string> m_kept;
};
