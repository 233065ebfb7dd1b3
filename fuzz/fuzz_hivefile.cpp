// Makes a Windows SYSTEM hive file of arbitrary bytes and lets the Windows NT family work on it:
// the file is read as `show` and the export read it, the configuration loaded, every form picked,
// boards and ports added and deleted, saved and New run, each as the window runs it; then the
// written file is opened and read again. Nothing may crash, hang or raise a sanitizer report; a
// file the store refuses is a fine outcome. Nothing outside what QSER owns may be written
// (CWriteCheck) or differ in the file afterwards (CTreeWalk).
//
// The input: byte 0 holds flags, bytes 1 to 4 a root cell offset, bytes 5 to 15 the choices of
// the picks and answers, and the rest the hive bins. Unless the raw flag is set the file is a
// valid base block (checksum, sequence numbers, version, size) followed by the bins padded to
// whole 4,096-byte blocks, so that most inputs reach the hive parser; with it, the input is the
// whole file, so that the header checks see every kind of damage too.
#include "fuzzactions.h"
#include "harnesssession.h"
#include "regfheader.h"
#include "regfilewriter.h"
#include "treewalk.h"
#include "writecheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::size_t kChoices = 5;
constexpr std::size_t kBins = 16;
constexpr std::size_t kBlock = 4096;
// Set in the "r" of "regf", so that a whole hive file as input is taken as it is.
constexpr std::uint8_t kRaw = 0x40;
constexpr std::uint8_t kRootFromInput = 2;
constexpr std::uint8_t kMinorFive = 4;
constexpr std::uint8_t kAnswerNo = 8;
constexpr std::uint32_t kFirstCell = 0x20;

std::string g_folder;

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

// One folder per process: a commit makes its temporary file and its backup beside the hive.
const std::string& HivePath() {
    static const std::string path = [] {
        g_folder = "/dev/shm/qser-fuzz-hivefile-" + std::to_string(getpid());
        RemoveFolder();
        std::filesystem::create_directory(g_folder);
        std::atexit(RemoveFolder);
        return g_folder + "/SYSTEM";
    }();
    return path;
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::vector<std::uint8_t> MakeFile(const std::uint8_t* input, std::size_t size) {
    if (size <= kBins || (input[0] & kRaw) != 0) {
        return {input, input + size};
    }
    const std::size_t bins = size - kBins;
    const std::size_t dataSize = (bins + kBlock - 1) / kBlock * kBlock;
    std::vector<std::uint8_t> file(CRegfHeader::kSize + dataSize, 0);
    std::copy(input + kBins, input + size, file.begin() + CRegfHeader::kSize);
    const std::uint32_t root =
        (input[0] & kRootFromInput) != 0 ? CRegfHeader::Dword(input, 1) % dataSize : kFirstCell;
    std::copy_n("regf", 4, file.begin());
    Put32(file, CRegfHeader::kPrimarySequence, 1);
    Put32(file, CRegfHeader::kSecondarySequence, 1);
    Put32(file, 0x14, 1);                                    // major version
    Put32(file, 0x18, (input[0] & kMinorFive) != 0 ? 5 : 3); // minor version
    Put32(file, 0x20, 1);                                    // direct memory load
    Put32(file, 0x24, root);
    Put32(file, CRegfHeader::kHiveBinsSize, static_cast<std::uint32_t>(dataSize));
    Put32(file, 0x2C, 1); // clustering factor
    Put32(file, CRegfHeader::kChecksum, CRegfHeader::Checksum(file.data()));
    return file;
}

void WriteFile(const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(HivePath().c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::perror(HivePath().c_str());
        std::abort();
    }
}

// The file as `show` reads it; nullptr when the store refuses it.
std::unique_ptr<CTreeWalk> WalkFile() {
    std::unique_ptr<CHive> hive;
    try {
        hive = CHive::Open(HivePath(), EHiveOpen::ForReading);
    } catch (const CHiveError&) {
        return nullptr;
    }
    if (!hive->IsWindowsHiveFile()) {
        std::fprintf(stderr, "a file that begins with \"regf\" opened as our own registry\n");
        std::abort();
    }
    auto walk = std::make_unique<CTreeWalk>(*hive);
    // The export walks the whole tree on its own, unbounded: a loop in the file must end it.
    std::string text;
    CRegFileWriter(*hive).Write("", text);
    return walk;
}

void Work(FuzzedDataProvider& choices, bool answerNo) {
    CWriteCheck check;
    try {
        CHarnessSession session(HivePath(), EPlatformFamily::WindowsNT);
        session.Hive().SetWriteObserver([&check](const SHiveWrite& write) { check.Record(write); });
        session.Messages().SetDefaultAnswer(answerNo ? EMsgResult::No : EMsgResult::Yes);
        if (session.Start()) {
            CFuzzActions::RunEverything(session, choices, check);
        }
    } catch (const CHiveError&) {
        // Read once, refused now: another reason found on the second look is still a refusal.
    }
    check.Verify();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    const std::vector<std::uint8_t> file = MakeFile(input, size);
    // Other bytes make our own registry file, which fuzz_hive covers.
    if (file.size() < 4 || !std::equal(file.begin(), file.begin() + 4, "regf")) {
        return 0;
    }
    WriteFile(file);
    const std::unique_ptr<CTreeWalk> before = WalkFile();
    if (before) {
        const std::size_t start = std::min<std::size_t>(size, kChoices);
        FuzzedDataProvider choices(input + start, std::min<std::size_t>(size, kBins) - start);
        Work(choices, size > 0 && (input[0] & kAnswerNo) != 0);
        const std::unique_ptr<CTreeWalk> after = WalkFile();
        if (!after) {
            std::fprintf(stderr, "the hive opened before QSER wrote it and is refused after\n");
            std::abort();
        }
        CTreeWalk::CheckForeignUnchanged(*before, *after);
    }
    for (const auto& entry : std::filesystem::directory_iterator(g_folder)) {
        std::filesystem::remove(entry.path());
    }
    return 0;
}
