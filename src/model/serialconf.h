#pragma once

#include <set>
#include <string>
#include <vector>

// /etc/serial.conf, which Debian's etc-setserial.service applies at boot: every line that is not
// blank and whose first word does not begin with '#' is "DEVICE ARGS", run as
// setserial -z DEVICE ARGS. QSER owns the lines from a line "# BEGIN QSER" to a line
// "# END QSER"; every other byte of the file belongs to the administrator and is kept.
class CSerialConf {
public:
    static constexpr const char* kPath = "/etc/serial.conf";
    static constexpr const char* kBegin = "# BEGIN QSER";
    static constexpr const char* kEnd = "# END QSER";

    explicit CSerialConf(const std::string& bytes);

    // Empty when the file can be rewritten; else why not (a begin without its end, an end
    // without its begin, two blocks).
    const std::string& Damage() const { return m_damage; }
    // The serial line numbers (n of /dev/ttySn) that the lines outside QSER's block set up.
    std::set<int> ForeignLines() const;
    // The file with QSER's block holding exactly blockLines (each without its line end), in the
    // place of the old block or, when there was none, at the end; with no lines, without the
    // block. Only valid when Damage() is empty.
    std::string WithBlock(const std::vector<std::string>& blockLines) const;

private:
    struct SLine {
        std::string bytes;
        std::string text;
    };

    std::vector<SLine> m_lines;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_hasBlock = false;
    std::string m_damage;
};
