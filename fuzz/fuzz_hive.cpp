// Builds a registry file from arbitrary bytes (keys with any names, values of any type and
// length, deep nesting, the operating-system keys, and with raw SQL parent cycles and dangling
// parents), then loads the configuration on both platform families and runs a pick of every
// setting of every board and port form, every command, the registration and New. Nothing may
// crash or raise a sanitizer report, and nothing outside the driver key and the instance keys
// its ports name may be written or deleted (CWriteCheck). A file the hive refuses must be left
// byte for byte as it was, without log files beside it.
#include "fuzzactions.h"
#include "harnesssession.h"
#include "keypaths.h"
#include "rawtree.h"
#include "stringtable.h"
#include "writecheck.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kMaxOps = 96;
constexpr int kMaxDepth = 160;

std::string g_path;

void RemoveHiveFiles() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        std::remove((g_path + suffix).c_str());
    }
}

const std::string& HivePath() {
    if (g_path.empty()) {
        g_path = "/dev/shm/qser-fuzz-" + std::to_string(getpid()) + ".db";
        std::atexit(RemoveHiveFiles);
    }
    return g_path;
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<char> bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// The skeleton, made through the hive itself once (the schema, the driver key, the folders of
// the instance keys and a bystander): every input starts from a copy of its bytes.
const std::vector<char>& Skeleton() {
    static const std::vector<char> bytes = [] {
        RemoveHiveFiles();
        {
            CHarnessSession session(HivePath(), EPlatformFamily::WindowsNT);
            for (const std::string& path :
                 {DriverKeyPath(), SerialParametersKeyPath(), ClassPortsKeyPath(),
                  EnumRootPortsKeyPath(), std::string("SOFTWARE\\Bystander")}) {
                HiveKeyId id = 0;
                session.Hive().CreateKey(path, id);
            }
        }
        // The last connection has gone: everything is in the database file.
        return FileBytes(HivePath());
    }();
    return bytes;
}

void StartFromSkeleton() {
    const std::vector<char>& bytes = Skeleton();
    RemoveHiveFiles();
    std::ofstream(HivePath(), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

std::string Numbered(const char* prefix, int number, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, digits, number);
    return text;
}

void BuildTree(FuzzedDataProvider& data) {
    CRawTree tree(HivePath(), data);
    const sqlite3_int64 driver = tree.Find(DriverKeyPath());
    const sqlite3_int64 folders[] = {tree.Find(SerialParametersKeyPath()),
                                     tree.Find(ClassPortsKeyPath()),
                                     tree.Find(EnumRootPortsKeyPath())};
    std::vector<sqlite3_int64> boards;
    for (int op = 0; op < kMaxOps && data.remaining_bytes() > 0; ++op) {
        switch (data.ConsumeIntegralInRange(0, 8)) {
        case 0:
            tree.Key(tree.AnyKey(), data.ConsumeRandomLengthString(24));
            break;
        case 1: {
            std::string name = data.ConsumeBool()
                                   ? Numbered("Board", data.ConsumeIntegralInRange(0, 12), 3)
                                   : data.ConsumeRandomLengthString(12);
            boards.push_back(tree.Key(driver, name));
            tree.KnownValues(boards.back());
            break;
        }
        case 2: {
            sqlite3_int64 board = boards.empty() ? tree.AnyKey() : boards.back();
            tree.KnownValues(
                tree.Key(board, Numbered("Port", data.ConsumeIntegralInRange(0, 17), 3)));
            break;
        }
        case 3:
            tree.Value(tree.AnyKey(), data.ConsumeRandomLengthString(20));
            break;
        case 4:
            tree.Reparent(tree.AnyKey(), tree.AnyKey());
            break;
        case 5:
            tree.Drop(tree.AnyKey());
            break;
        case 6: {
            sqlite3_int64 key = tree.AnyKey();
            int depth = data.ConsumeIntegralInRange(1, kMaxDepth);
            for (int level = 0; level < depth; ++level) {
                key = tree.Key(key, "N" + std::to_string(level));
            }
            break;
        }
        case 7: {
            int folder = data.ConsumeIntegralInRange(0, 2);
            std::string name = folder == 0
                                   ? Numbered("Serial", data.ConsumeIntegralInRange(0, 999), 3)
                                   : Numbered("", data.ConsumeIntegralInRange(0, 999), 4);
            tree.KnownValues(tree.Key(folders[folder], name));
            break;
        }
        default:
            tree.KnownValues(driver);
            break;
        }
    }
}

// A refused file is left as it was, byte for byte and without log files beside it.
void CheckRefusal(const CHiveError& error, const std::vector<char>& before) {
    if (FileBytes(HivePath()) != before || Exists(HivePath() + "-wal") ||
        Exists(HivePath() + "-shm")) {
        Fail(std::string("a refused file was changed: ") + error.what());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    StartFromSkeleton();
    BuildTree(data);
    const std::vector<char> built = FileBytes(HivePath());
    std::unique_ptr<CHive> hive;
    try {
        hive = CHive::Open(HivePath());
    } catch (const CHiveError& error) {
        CheckRefusal(error, built);
        return 0;
    }
    // Both families on the one connection, one run of the utility after the other: opening
    // the file again would only repeat the checks on a file the system wrote itself.
    for (EPlatformFamily family : {EPlatformFamily::WindowsNT, EPlatformFamily::Windows9x}) {
        CWriteCheck check;
        hive->SetWriteObserver([&check](const SHiveWrite& write) { check.Record(write); });
        {
            CHarnessSession session(*hive, family);
            session.Messages().SetDefaultAnswer(data.ConsumeBool() ? EMsgResult::Yes
                                                                   : EMsgResult::No);
            if (session.Start()) {
                CFuzzActions::RunEverything(session, data, check);
            }
        }
        hive->SetWriteObserver(nullptr);
        check.Verify();
    }
    return 0;
}
