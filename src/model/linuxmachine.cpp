#include "linuxmachine.h"

#include "irootfilesystem.h"
#include "linuxlines.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {
std::optional<unsigned long> ParseNumber(const std::string& text, int base) {
    const std::size_t first = text.find_first_not_of(" \t\n");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str() + first, &end, base);
    if (end == text.c_str() + first) {
        return std::nullopt;
    }
    return value;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Whether every driver of a comma-separated list is the serial driver.
bool OnlySerial(const std::string& users) {
    std::istringstream names(users);
    std::string name;
    bool any = false;
    while (std::getline(names, name, ',')) {
        const std::string user = Trimmed(name);
        if (user != "serial" && CLinuxLines::Number(user) < 0) {
            return false;
        }
        any = true;
    }
    return any;
}

std::size_t Indent(const std::string& line) {
    return std::min(line.find_first_not_of(' '), line.size());
}
} // namespace

std::string CLinuxMachine::Text(const std::string& path) const {
    std::string bytes;
    return m_files.Read(path, bytes) == 0 ? bytes : "";
}

std::vector<SMachineLine> CLinuxMachine::Lines() const {
    std::vector<SMachineLine> lines;
    std::vector<std::string> names;
    if (m_files.List("/sys/class/tty", names) != 0) {
        return lines;
    }
    for (const std::string& name : names) {
        const int number = CLinuxLines::Number(name);
        const std::string folder = "/sys/class/tty/" + name;
        const std::optional<unsigned long> port = ParseNumber(Text(folder + "/port"), 16);
        if (number < 0 || !port || *port == 0 || *port > 0xffff) {
            continue;
        }
        SMachineLine line{number, static_cast<unsigned>(*port), std::nullopt};
        if (const auto irq = ParseNumber(Text(folder + "/irq"), 10); irq && *irq < 256) {
            line.irq = static_cast<unsigned>(*irq);
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end(),
              [](const SMachineLine& a, const SMachineLine& b) { return a.number < b.number; });
    return lines;
}

std::optional<int> CLinuxMachine::RegisteredLines() const {
    const auto count = ParseNumber(Text("/sys/module/8250/parameters/nr_uarts"), 10);
    if (!count || *count > 4096) {
        return std::nullopt;
    }
    return static_cast<int>(*count);
}

std::vector<SMachineClaim> CLinuxMachine::IoClaims() const {
    return ParseIoPorts(Text("/proc/ioports"));
}

std::vector<SMachineClaim> CLinuxMachine::InterruptClaims() const {
    return ParseInterrupts(Text("/proc/interrupts"));
}

std::string CLinuxMachine::Lockdown() const {
    return ParseLockdown(Text("/sys/kernel/security/lockdown"));
}

std::vector<SMachineClaim> CLinuxMachine::ParseIoPorts(const std::string& text) {
    // "  0060-0060 : keyboard": an entry indented deeper than the one before it lies inside
    // it, and only the innermost entries are a driver's (the outer ones are bus windows).
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    std::vector<SMachineClaim> claims;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        const bool holdsOthers =
            index + 1 < lines.size() && Indent(lines[index + 1]) > Indent(line);
        const std::size_t dash = line.find('-');
        const std::size_t colon = line.find(" : ");
        if (holdsOthers || dash == std::string::npos || colon == std::string::npos ||
            dash > colon) {
            continue;
        }
        const auto first = ParseNumber(line.substr(0, dash), 16);
        const auto last = ParseNumber(line.substr(dash + 1, colon - dash - 1), 16);
        const std::string users = Trimmed(line.substr(colon + 3));
        if (!first || !last || *first > *last || *last > 0xffff || OnlySerial(users)) {
            continue;
        }
        claims.push_back({static_cast<unsigned>(*first), static_cast<unsigned>(*last), users});
    }
    return claims;
}

std::vector<SMachineClaim> CLinuxMachine::ParseInterrupts(const std::string& text) {
    // "  4:     12   0  IO-APIC   4-edge      ttyS0": the counts, the chip, the pin and
    // trigger, then the drivers.
    std::vector<SMachineClaim> claims;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        std::istringstream words(line);
        std::string label;
        words >> label;
        const auto irq = ParseNumber(label, 10);
        if (!irq || *irq > 15 || label.back() != ':' ||
            label.find_first_not_of("0123456789:") != std::string::npos) {
            continue;
        }
        std::vector<std::string> rest;
        for (std::string word; words >> word;) {
            rest.push_back(word);
        }
        auto trigger = std::find_if(rest.begin(), rest.end(), [](const std::string& word) {
            return word.find("-edge") != std::string::npos ||
                   word.find("-level") != std::string::npos ||
                   word.find("-fasteoi") != std::string::npos;
        });
        std::string users;
        for (auto word = trigger == rest.end() ? rest.end() : trigger + 1; word != rest.end();
             ++word) {
            users += (users.empty() ? "" : " ") + *word;
        }
        if (!users.empty() && !OnlySerial(users)) {
            claims.push_back({static_cast<unsigned>(*irq), static_cast<unsigned>(*irq), users});
        }
    }
    return claims;
}

std::string CLinuxMachine::ParseLockdown(const std::string& text) {
    const std::size_t open = text.find('[');
    const std::size_t close = text.find(']', open);
    if (open == std::string::npos || close == std::string::npos) {
        return "";
    }
    const std::string mode = text.substr(open + 1, close - open - 1);
    return mode == "none" ? "" : mode;
}
