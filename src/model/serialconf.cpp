#include "serialconf.h"

#include "linuxlines.h"

#include <sstream>

namespace {
// The device word of a line as the unit's "read device args" finds it; empty for a blank line.
std::string DeviceWord(const std::string& text) {
    std::istringstream words(text);
    std::string device;
    words >> device;
    return device;
}
} // namespace

CSerialConf::CSerialConf(const std::string& bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        SLine line{bytes.substr(start, end - start), {}};
        line.text = line.bytes;
        while (!line.text.empty() && (line.text.back() == '\n' || line.text.back() == '\r')) {
            line.text.pop_back();
        }
        m_lines.push_back(std::move(line));
        start = end;
    }
    bool open = false;
    for (std::size_t index = 0; index < m_lines.size() && m_damage.empty(); ++index) {
        const std::string& text = m_lines[index].text;
        if (text == kBegin) {
            if (open || m_hasBlock) {
                m_damage = std::string("it holds a second line \"") + kBegin + "\"";
            }
            open = true;
            m_begin = index;
        } else if (text == kEnd) {
            if (!open) {
                m_damage = std::string("it holds a line \"") + kEnd + "\" without \"" + kBegin +
                           "\" before it";
            }
            open = false;
            m_hasBlock = true;
            m_end = index;
        }
    }
    if (open && m_damage.empty()) {
        m_damage = std::string("it holds a line \"") + kBegin + "\" without \"" + kEnd + "\"";
    }
}

std::set<int> CSerialConf::ForeignLines() const {
    std::set<int> lines;
    for (std::size_t index = 0; index < m_lines.size(); ++index) {
        if (m_hasBlock && index >= m_begin && index <= m_end) {
            continue;
        }
        const std::string device = DeviceWord(m_lines[index].text);
        if (device.starts_with("/dev/")) {
            if (const int number = CLinuxLines::Number(device.substr(5)); number >= 0) {
                lines.insert(number);
            }
        }
    }
    return lines;
}

std::string CSerialConf::WithBlock(const std::vector<std::string>& blockLines) const {
    std::string block;
    if (!blockLines.empty()) {
        block = std::string(kBegin) + "\n";
        for (const std::string& line : blockLines) {
            block += line + "\n";
        }
        block += std::string(kEnd) + "\n";
    }
    std::string result;
    for (std::size_t index = 0; index < m_lines.size(); ++index) {
        if (m_hasBlock && index == m_begin) {
            result += block;
        }
        if (!m_hasBlock || index < m_begin || index > m_end) {
            result += m_lines[index].bytes;
        }
    }
    if (!m_hasBlock && !block.empty()) {
        // The administrator's last line needs its end, or the block would continue it.
        if (!result.empty() && result.back() != '\n') {
            result += '\n';
        }
        result += block;
    }
    return result;
}
