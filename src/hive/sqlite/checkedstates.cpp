#include "checkedstates.h"

#include "atomicfile.h"
#include "iregistrystore.h"
#include "userfolders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// Names the check as well as the schema: a program that checks more must not trust the states
// that a program checking less has kept.
constexpr const char* kFormat = "QSER registry states checked: 1, schema 1";
constexpr std::size_t kDatabaseHeader = 100;
constexpr std::size_t kLogHeader = 32;
// A record larger than kMaxStates lines of states can be is not one of ours.
constexpr std::uintmax_t kMaxRecordSize = 64 * 1024;
constexpr std::int64_t kNsPerSecond = 1'000'000'000;

std::int64_t Nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNsPerSecond + time.tv_nsec;
}

std::string Hex(const unsigned char* bytes, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& states) {
    std::ofstream record(path, std::ios::trunc);
    record << kFormat << '\n';
    for (const std::string& state : states) {
        record << state << '\n';
    }
    record.close();
    return !record.fail();
}
} // namespace

CCheckedStates CCheckedStates::ForUser() {
    return CCheckedStates(CUserFolders::Cache() + "/qser/checked-registries");
}

CCheckedStates::CCheckedStates(std::string recordPath) : m_recordPath(std::move(recordPath)) {}

std::int64_t CCheckedStates::NowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

std::optional<CCheckedStates::SState> CCheckedStates::Of(const std::string& path) {
    SState state;
    std::int64_t logChangedNs = 0;
    const std::optional<std::string> file = PartOf(path, kDatabaseHeader, false, state.changedNs);
    // An empty log holds nothing: readers make one and may leave it.
    const std::optional<std::string> log = PartOf(path + "-wal", kLogHeader, true, logChangedNs);
    if (!file || !log) {
        return std::nullopt;
    }
    state.text = *file + " " + *log;
    state.changedNs = std::max(state.changedNs, logChangedNs);
    return state;
}

// One descriptor for both looks, so that they see the same file.
std::optional<std::string> CCheckedStates::PartOf(const std::string& path, std::size_t headSize,
                                                  bool emptyIsNone, std::int64_t& changedNs) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return emptyIsNone && errno == ENOENT ? std::optional<std::string>("none") : std::nullopt;
    }
    struct stat info {};
    std::vector<unsigned char> head(headSize);
    ssize_t read = -1;
    if (fstat(fd, &info) == 0) {
        read = pread(fd, head.data(), head.size(), 0);
    }
    close(fd);
    if (read < 0) {
        return std::nullopt;
    }
    if (emptyIsNone && info.st_size == 0) {
        return "none";
    }
    changedNs = Nanoseconds(info.st_ctim);
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) + ":" +
           std::to_string(info.st_size) + ":" + std::to_string(Nanoseconds(info.st_mtim)) + ":" +
           std::to_string(changedNs) + ":" + Hex(head.data(), static_cast<std::size_t>(read));
}

bool CCheckedStates::Holds(const SState& state) const {
    const std::vector<std::string> states = Read();
    return std::find(states.begin(), states.end(), state.text) != states.end();
}

void CCheckedStates::Remember(const SState& state, std::int64_t checkStartNs) const {
    // A file system that keeps no change times cannot show a change by them.
    if (state.changedNs <= 0 || state.changedNs >= checkStartNs - kRestNs) {
        return;
    }
    std::vector<std::string> states = Read();
    states.erase(std::remove(states.begin(), states.end(), state.text), states.end());
    states.push_back(state.text);
    if (states.size() > kMaxStates) {
        states.erase(states.begin(), states.end() - kMaxStates);
    }
    Write(states);
}

std::vector<std::string> CCheckedStates::Read() const {
    struct stat info {};
    if (stat(m_recordPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != geteuid() || (info.st_mode & 022) != 0 ||
        static_cast<std::uintmax_t>(info.st_size) > kMaxRecordSize) {
        return {};
    }
    std::ifstream record(m_recordPath);
    std::string line;
    if (!std::getline(record, line) || line != kFormat) {
        return {};
    }
    std::vector<std::string> states;
    while (std::getline(record, line)) {
        states.push_back(line);
    }
    return states;
}

void CCheckedStates::Write(const std::vector<std::string>& states) const {
    std::error_code error;
    const fs::path folder = fs::path(m_recordPath).parent_path();
    if (fs::create_directories(folder, error); error) {
        return;
    }
    std::string temporary;
    try {
        temporary = CAtomicFile::MakeTemporary(m_recordPath);
    } catch (const CRegistryStoreError&) {
        return;
    }
    // Another process may rename its own record over this one meanwhile: then a state is
    // checked once more, nothing worse.
    if (WriteLines(temporary, states) &&
        std::rename(temporary.c_str(), m_recordPath.c_str()) == 0) {
        return;
    }
    unlink(temporary.c_str());
}
